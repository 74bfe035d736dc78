// New, open, save, save as and quit: the commands on the table document as a whole. Open also
// imports delimited text as an untitled table; save as also exports the table as CSV.

#include "mainwindow/_Tablor.h"

#include "card/_Fiche.h"
#include "platform/StringGridView.h"
#include "table/DelimitedFile.h"
#include "table/StartTable.h"
#include "table/TableFile.h"

#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace tablor {

namespace {
// The open dialog takes delimited text too; the save dialog can export the table as CSV.
constexpr int ExportFilter = 1;

FileDialogRequest fileDialog(const QString& initialName, const QString& otherFilter,
                             const QString& otherSuffix) {
    FileDialogRequest r;
    r.filters << otherFilter;
    r.defaultSuffixes << otherSuffix;
    r.initialName = initialName;
    return r;
}
} // namespace

void TForm1::Nouveau1Click() {
    if (!ConfirmSave()) return;
    resetToStartTable(doc_);
    setTitleFor({});
    UpdateStatus();
    FillCard();
    Fiche->ResetCardLayout();
    panel(1)->setText(QStringLiteral("Table : SANS NOM"));
}

void TForm1::loadTable(const std::string& path) {
    BusyCursor busy(platform_);
    if (readAhead_ && readAhead_->path() == path)
        std::exchange(readAhead_, nullptr)->load(doc_);
    else
        LoadTable(doc_, path);
    setTitleFor(path);
    UpdateStatus();
}

std::string TForm1::importDelimited(const std::string& path) {
    BusyCursor busy(platform_);
    std::string notice = ImportDelimited(doc_, path);
    setTitleFor({});
    UpdateStatus();
    return notice;
}

void TForm1::openFile(const std::string& path) {
    std::string notice;
    if (isDelimitedFileName(path))
        notice = importDelimited(path);
    else
        loadTable(path);
    Fiche->ApplyCardLayout();
    FillCard();
    if (!notice.empty()) platform_.informationBox(QString::fromStdString(notice));
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    // One local file that is a table or delimited text; anything else is refused quietly.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return;
    const QString name = urls.first().toLocalFile();
    if (name.endsWith(QStringLiteral(".tbr"), Qt::CaseInsensitive) ||
        isDelimitedFileName(QFile::encodeName(name).toStdString()))
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1) return;
    droppedPath_ = QFile::encodeName(urls.first().toLocalFile()).toStdString();
    event->acceptProposedAction();
    // The save question and the open run once the drop is over, so the program the file came
    // from is not kept waiting on them.
    QTimer::singleShot(0, this, [this] { run(&TForm1::openDropped); });
}

void TForm1::openDropped() {
    if (!ConfirmSave()) return;
    openFile(droppedPath_);
}

void TForm1::Ouvrir1Click() {
    if (!ConfirmSave()) return;
    const std::optional<FileChoice> chosen = platform_.openFileName(
        fileDialog(lastOpenName_, QStringLiteral("Texte délimité (*.csv *.tsv *.txt)"),
                   QStringLiteral("csv")));
    if (!chosen) return;
    lastOpenName_ = chosen->path;
    openFile(QFile::encodeName(chosen->path).toStdString());
}

void TForm1::Enregistrer1Click() {
    if (doc_.FileName.empty()) {
        Enregistrersous1Click();
        return;
    }
    BusyCursor busy(platform_);
    SaveTable(doc_, *Fiche, doc_.FileName);
    doc_.Modified = false;
}

void TForm1::Enregistrersous1Click() {
    const std::optional<FileChoice> chosen = platform_.saveFileName(
        fileDialog(lastSaveName_, QStringLiteral("Texte CSV (*.csv)"), QStringLiteral("csv")));
    if (!chosen) return;
    lastSaveName_ = chosen->path;
    if (chosen->filter == ExportFilter) {
        // An export: the table's own file and its modified mark stay as they were.
        {
            BusyCursor busy(platform_);
            ExportDelimited(doc_, DelimitedFormat{}, QFile::encodeName(chosen->path).toStdString());
        }
        setPanel(0, QStringLiteral("Exporté : ") + QFileInfo(chosen->path).fileName());
        return;
    }
    doc_.FileName = QFile::encodeName(chosen->path).toStdString();
    setTitleFor(doc_.FileName);
    UpdateStatus();
    Enregistrer1Click();
}

void TForm1::Quitter1Click() {
    close();
}

} // namespace tablor
