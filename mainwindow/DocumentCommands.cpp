// New, open, save, save as and quit: the commands on the table document as a whole.

#include "mainwindow/_Tablor.h"

#include "card/_Fiche.h"
#include "platform/StringGridView.h"
#include "table/StartTable.h"
#include "table/TableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace tablor {

namespace {
FileDialogRequest tableDialog(const QString& initialName) {
    FileDialogRequest r;
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
    LoadTable(doc_, path);
    setTitleFor(path);
    UpdateStatus();
}

void TForm1::Ouvrir1Click() {
    if (!ConfirmSave()) return;
    const std::optional<QString> chosen = platform_.openFileName(tableDialog(lastOpenName_));
    if (!chosen) return;
    lastOpenName_ = *chosen;
    loadTable(QFile::encodeName(*chosen).toStdString());
    Fiche->ApplyCardLayout();
    FillCard();
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
    const std::optional<QString> chosen = platform_.saveFileName(tableDialog(lastSaveName_));
    if (!chosen) return;
    lastSaveName_ = *chosen;
    doc_.FileName = QFile::encodeName(*chosen).toStdString();
    setTitleFor(doc_.FileName);
    UpdateStatus();
    Enregistrer1Click();
}

void TForm1::Quitter1Click() {
    close();
}

} // namespace tablor
