#include "platform/QtPlatform.h"

#include "platform/AnsiValidator.h"
#include "platform/Errors.h"
#include "platform/OnDemandText.h"
#include "platform/PainterCanvas.h"
#include "platform/PrinterSetupDialog.h"
#include "platform/ProgramName.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTime>

#include <algorithm>

namespace tablor {

QWidget* QtPlatform::messageOwner() const {
    return owner_ && owner_->isVisible() ? owner_.data() : window_.data();
}

void QtPlatform::errorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(ProgramName), text, QMessageBox::Ok,
                    messageOwner());
    box.exec();
}

void QtPlatform::informationBox(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text,
                    QMessageBox::NoButton, messageOwner());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

Answer QtPlatform::questionBox(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, messageOwner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPlatform::inputQuery(const QString& caption, const QString& prompt,
                                              const QString& value, int maxLength) {
    QInputDialog dialog(messageOwner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(maxLength);
        AnsiValidator::applyTo(edit);
        edit->selectAll();
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<FileChoice> QtPlatform::fileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(window_);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffixes.value(0));
    // The extension added to a bare name follows the file type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(
            request.defaultSuffixes.value(std::max<qsizetype>(request.filters.indexOf(filter), 0)));
    });
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileChoice(
        dialog.selectedFiles().first(),
        int(std::max<qsizetype>(request.filters.indexOf(dialog.selectedNameFilter()), 0)));
}

std::optional<FileChoice> QtPlatform::openFileName(const FileDialogRequest& request) {
    return fileDialog(request, false);
}

std::optional<FileChoice> QtPlatform::saveFileName(const FileDialogRequest& request) {
    return fileDialog(request, true);
}

int QtPlatform::execDialog(QDialog& dialog) {
    return dialog.exec();
}

namespace {
// Empties the clipboard and puts the data made by `make` on it, once it is known to be there.
template <class Make> void replaceClipboard(Make make) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw TablorError("Impossible d'ouvrir le Presse-papiers");
    clipboard->clear();
    clipboard->setMimeData(make());
}
} // namespace

void QtPlatform::setClipboardText(const QByteArray& utf8) {
    replaceClipboard([&utf8] {
        // Plain text is UTF-8 to Qt and to the other programs alike: both names share the one
        // array, which is turned into anything else only when a program asks for it.
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/plain"), utf8);
        data->setData(QStringLiteral("text/plain;charset=utf-8"), utf8);
        return data;
    });
}

void QtPlatform::setClipboardTextOnDemand(std::function<QByteArray()> utf8) {
    replaceClipboard([&utf8] { return new OnDemandText(std::move(utf8)); });
}

void QtPlatform::dropOwnClipboardText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && clipboard->ownsClipboard()) clipboard->clear();
}

std::optional<PrintChoice> QtPlatform::printDialog(QPrinter& printer, const PrintChoice& last) {
    QPrintDialog dialog(&printer, window_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Printing to a PDF file stays offered: without a printer at hand it is how one prints.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setPrintRange(last.selection ? QAbstractPrintDialog::Selection
                                        : QAbstractPrintDialog::AllPages);
    printer.setCopyCount(last.copies);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    PrintChoice choice{dialog.printRange() == QAbstractPrintDialog::Selection,
                       std::max(1, printer.copyCount())};
    // The copies are printed one after another in one job; the printer must not repeat them.
    printer.setCopyCount(1);
    if (!confirmed) return std::nullopt;
    return choice;
}

std::optional<QFont> QtPlatform::fontDialog(const QFont& initial) {
    QFontDialog dialog(initial, window_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
}

bool QtPlatform::printerSetupDialog(QPrinter& printer) {
    PrinterSetupDialog dialog(printer, window_);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<PrintJob> QtPlatform::startPrintJob(QPrinter& printer, const QString& title,
                                                    const QFont& font) {
    printer.setDocName(title);
    return std::make_unique<PainterCanvas>(printer, font);
}

void QtPlatform::printImage(QPrinter& printer, const QString& title, const QImage& image,
                            double dotsPerInch) {
    printer.setDocName(title);
    QPainter painter;
    beginPrinting(painter, printer);
    const double scale = printer.resolution() / dotsPerInch;
    const QSizeF size = image.deviceIndependentSize() * scale;
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
    if (!painter.end()) throw TablorError("L'impression a été interrompue");
}

void QtPlatform::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtPlatform::beep() {
    QApplication::beep();
}

MemoryStatus QtPlatform::memoryStatus() {
    return readMemoryStatus();
}

QSize QtPlatform::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

QString QtPlatform::executablePath() {
    return QCoreApplication::applicationFilePath();
}

namespace {
// The user's locale; French where none is set (C or POSIX), since the program speaks French.
QLocale userLocale() {
    const QLocale system = QLocale::system();
    return system.language() == QLocale::C ? QLocale(QLocale::French, QLocale::France) : system;
}
} // namespace

QString QtPlatform::shortDate() {
    return userLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString QtPlatform::longTime() {
    // The locale's long time format, without the time zone Qt adds to it.
    QString format = userLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QTime::currentTime().toString(format.trimmed());
}

} // namespace tablor
