#include "support/ScriptedPlatform.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace tablor::test {

namespace {
// Takes the next scripted answer into `out`; false (and a test failure) when none is left.
template <typename T> bool pop(std::deque<T>& queue, const char* what, T& out) {
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected " << what;
        return false;
    }
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}
// The next scripted answer, or an empty one (and a test failure) when none is left.
template <typename T> T next(std::deque<T>& queue, const char* what) {
    T out{};
    pop(queue, what, out);
    return out;
}
} // namespace

Answer ScriptedPlatform::questionBox(const QString& caption, const QString& text) {
    questions << caption + "|" + text;
    Answer a = Answer::Cancel;
    pop(questionAnswers, "question box", a);
    return a;
}

std::optional<QString> ScriptedPlatform::inputQuery(const QString& caption, const QString& prompt,
                                                    const QString& value, int maxLength) {
    inputQueries << caption + "|" + prompt + "|" + value + "|" + QString::number(maxLength);
    std::optional<QString> answer;
    if (!pop(inputAnswers, "input query", answer) || !answer) return std::nullopt;
    return answer->left(maxLength);
}

std::optional<FileChoice> ScriptedPlatform::openFileName(const FileDialogRequest& request) {
    openRequests << request;
    return next(openAnswers, "open dialog");
}

std::optional<FileChoice> ScriptedPlatform::saveFileName(const FileDialogRequest& request) {
    saveRequests << request;
    return next(saveAnswers, "save dialog");
}

int ScriptedPlatform::execDialog(QDialog& dialog) {
    std::function<int(QDialog&)> script;
    if (!pop(dialogScripts, "dialog", script)) return QDialog::Rejected;
    return script(dialog);
}

void ScriptedPlatform::setClipboardText(const QByteArray& utf8) {
    if (clipboardFails) throw TablorError("Impossible d'ouvrir le Presse-papiers");
    clipboard << QString::fromUtf8(utf8);
}

void ScriptedPlatform::setClipboardTextOnDemand(std::function<QByteArray()> utf8) {
    if (clipboardFails) throw TablorError("Impossible d'ouvrir le Presse-papiers");
    clipboardOnDemand.push_back(std::move(utf8));
}

std::optional<PrintChoice> ScriptedPlatform::printDialog(QPrinter&, const PrintChoice& last) {
    printDialogs << last;
    return next(printAnswers, "print dialog");
}

std::optional<QFont> ScriptedPlatform::fontDialog(const QFont& initial) {
    fontDialogs << initial;
    return next(fontAnswers, "font dialog");
}

bool ScriptedPlatform::printerSetupDialog(QPrinter&) {
    ++printerSetups;
    bool answer = false;
    pop(printerSetupAnswers, "printer setup dialog", answer);
    return answer;
}

namespace {
// Draws on the recorded job's canvas.
class ScriptedJob : public PrintJob {
public:
    explicit ScriptedJob(PrintedJob& job) : job_(job) {}
    int pageWidth() override { return job_.canvas.pageWidth(); }
    int pageHeight() override { return job_.canvas.pageHeight(); }
    int textWidth(std::string_view t) override { return job_.canvas.textWidth(t); }
    int textHeight(std::string_view t) override { return job_.canvas.textHeight(t); }
    int fontHeight() override { return job_.canvas.fontHeight(); }
    int averageCharWidth() override { return job_.canvas.averageCharWidth(); }
    void drawText(int x, int y, std::string_view t) override { job_.canvas.drawText(x, y, t); }
    void newPage() override { job_.canvas.newPage(); }
    void finish() override { job_.finished = true; }

private:
    PrintedJob& job_;
};
} // namespace

std::unique_ptr<PrintJob> ScriptedPlatform::startPrintJob(QPrinter&, const QString& title,
                                                          const QFont& font) {
    printed.push_back({title, font, pageMetrics, false});
    return std::make_unique<ScriptedJob>(printed.back());
}

void ScriptedPlatform::printImage(QPrinter&, const QString& title, const QImage& image,
                                  double dotsPerInch) {
    printedImages << PrintedImage{title, image, dotsPerInch};
}

void ScriptedPlatform::setBusy(bool busy) {
    busyDepth += busy ? 1 : -1;
    if (busy) ++busyCount;
    EXPECT_GE(busyDepth, 0);
}

} // namespace tablor::test
