#pragma once
// A Platform for tests: dialogs are answered from queues that the test fills beforehand, and
// everything shown, copied or asked is recorded for the test to check. An unexpected dialog
// (empty queue) fails the test and answers "cancel".

#include "platform/Platform.h"
#include "platform_core/FakeCanvas.h"

#include <QDialog>
#include <QImage>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace tablor::test {

// A print job as the scripted platform received it; its canvas has the FakeCanvas metrics.
struct PrintedJob {
    QString title;
    QFont font;
    FakeCanvas canvas;
    bool finished = false;
};

struct PrintedImage {
    QString title;
    QImage image;
    double dotsPerInch = 0;
};

class ScriptedPlatform : public Platform {
public:
    // Scripts.
    std::deque<Answer> questionAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    std::deque<std::optional<FileChoice>> openAnswers;
    std::deque<std::optional<FileChoice>> saveAnswers;
    // Each runs against the dialog and returns its result (QDialog::Accepted or Rejected).
    std::deque<std::function<int(QDialog&)>> dialogScripts;
    bool clipboardFails = false;
    std::deque<std::optional<PrintChoice>> printAnswers;
    std::deque<std::optional<QFont>> fontAnswers;
    std::deque<bool> printerSetupAnswers;
    FakeCanvas pageMetrics; // the metrics every job's canvas starts from

    // Records.
    QStringList errors;
    QStringList informations;
    QStringList questions;    // "caption|text"
    QStringList inputQueries; // "caption|prompt|value|maxLength"
    QList<FileDialogRequest> openRequests, saveRequests;
    QStringList clipboard; // every text put on the clipboard
    // Every text put on the clipboard to be written when asked for: call one to read it.
    std::vector<std::function<QByteArray()>> clipboardOnDemand;
    QList<PrintChoice> printDialogs; // the choice each print dialog started from
    QList<QFont> fontDialogs;        // the font each font dialog started from
    int printerSetups = 0;
    std::deque<PrintedJob> printed; // deque: a job stays where it is while later ones arrive
    QList<PrintedImage> printedImages;
    int busyDepth = 0;
    int busyCount = 0; // how many times the hourglass was shown
    int beeps = 0;
    QWidget* dialogOwner = nullptr; // the window messages belong to; null: the main window

    MemoryStatus memory{64ull << 30, 48ull << 30, 25};
    QSize screen{1280, 1024};
    QString executable = QStringLiteral("/tmp/tablor-test/tablor");
    QString date = QStringLiteral("08/12/2026");
    QString time = QStringLiteral("12:34:56");

    void setMainWindow(QWidget*) override {}
    void setDialogOwner(QWidget* window) override { dialogOwner = window; }
    void errorBox(const QString& text) override { errors << text; }
    void informationBox(const QString& text) override { informations << text; }
    Answer questionBox(const QString& caption, const QString& text) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& value, int maxLength) override;
    std::optional<FileChoice> openFileName(const FileDialogRequest& request) override;
    std::optional<FileChoice> saveFileName(const FileDialogRequest& request) override;
    int execDialog(QDialog& dialog) override;
    void setClipboardText(const QByteArray& utf8) override;
    void setClipboardTextOnDemand(std::function<QByteArray()> utf8) override;
    void dropOwnClipboardText() override {}
    std::optional<PrintChoice> printDialog(QPrinter& printer, const PrintChoice& last) override;
    std::optional<QFont> fontDialog(const QFont& initial) override;
    bool printerSetupDialog(QPrinter& printer) override;
    std::unique_ptr<PrintJob> startPrintJob(QPrinter& printer, const QString& title,
                                            const QFont& font) override;
    void printImage(QPrinter& printer, const QString& title, const QImage& image,
                    double dotsPerInch) override;
    void setBusy(bool busy) override;
    void beep() override { ++beeps; }
    MemoryStatus memoryStatus() override { return memory; }
    QSize screenSize() override { return screen; }
    QString executablePath() override { return executable; }
    QString shortDate() override { return date; }
    QString longTime() override { return time; }
};

} // namespace tablor::test
