#pragma once
// The real platform: Qt's message boxes and dialogs (in French through Qt's own translation,
// loaded at start-up), the system clipboard, the override cursor, the memory status.

#include "platform/Platform.h"

#include <QPointer>
#include <QWidget>

namespace tablor {

class QtPlatform : public Platform {
public:
    void setMainWindow(QWidget* window) override { window_ = window; }
    void setDialogOwner(QWidget* window) override { owner_ = window; }
    void errorBox(const QString& text) override;
    void informationBox(const QString& text) override;
    Answer questionBox(const QString& caption, const QString& text) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& value, int maxLength) override;
    std::optional<FileChoice> openFileName(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFileName(const FileDialogRequest& request) override;
    int execDialog(QDialog& dialog) override;
    void setClipboardText(const QByteArray& utf8) override;
    void setClipboardTextOnDemand(std::function<QByteArray()> utf8) override;
    void dropOwnClipboardText() override;
    std::optional<PrintChoice> printDialog(QPrinter& printer, const PrintChoice& last) override;
    std::optional<QFont> fontDialog(const QFont& initial) override;
    bool printerSetupDialog(QPrinter& printer) override;
    std::unique_ptr<PrintJob> startPrintJob(QPrinter& printer, const QString& title,
                                            const QFont& font) override;
    void printImage(QPrinter& printer, const QString& title, const QImage& image,
                    double dotsPerInch) override;
    void setBusy(bool busy) override;
    void beep() override;
    MemoryStatus memoryStatus() override;
    QSize screenSize() override;
    QString executablePath() override;
    QString shortDate() override;
    QString longTime() override;

private:
    std::optional<FileChoice> fileDialog(const FileDialogRequest& request, bool save);
    QWidget* messageOwner() const;
    QPointer<QWidget> window_;
    QPointer<QWidget> owner_;
};

} // namespace tablor
