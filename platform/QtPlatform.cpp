#include "platform/QtPlatform.h"

#include "platform/Errors.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTime>

namespace tablor {

void QtPlatform::errorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablor 1.0"), text, QMessageBox::Ok,
                    window_);
    box.exec();
}

void QtPlatform::informationBox(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text,
                    QMessageBox::NoButton, window_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

Answer QtPlatform::questionBox(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window_);
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
    QInputDialog dialog(window_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(maxLength);
        edit->selectAll();
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPlatform::fileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(window_);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtPlatform::openFileName(const FileDialogRequest& request) {
    return fileDialog(request, false);
}

std::optional<QString> QtPlatform::saveFileName(const FileDialogRequest& request) {
    return fileDialog(request, true);
}

int QtPlatform::execDialog(QDialog& dialog) {
    return dialog.exec();
}

void QtPlatform::setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) throw TablorError("Impossible d'ouvrir le Presse-papiers");
    clipboard->clear();
    clipboard->setText(text);
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

MemoryStatus parseMeminfo(const QByteArray& text) {
    MemoryStatus m;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() < 2) continue;
        const std::uint64_t kb = parts[1].toULongLong();
        if (parts[0] == "MemTotal:") m.totalBytes = kb * 1024;
        if (parts[0] == "MemAvailable:") m.availableBytes = kb * 1024;
    }
    if (m.totalBytes > 0) m.loadPercent = int(100 - (m.availableBytes * 100) / m.totalBytes);
    return m;
}

MemoryStatus QtPlatform::memoryStatus() {
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return parseMeminfo(f.readAll());
}

QSize QtPlatform::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

QString QtPlatform::executablePath() {
    return QCoreApplication::applicationFilePath();
}

QString QtPlatform::shortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString QtPlatform::longTime() {
    // The locale's long time format, without the time zone Qt adds to it.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QTime::currentTime().toString(format.trimmed());
}

} // namespace tablor
