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

std::optional<QString> ScriptedPlatform::openFileName(const FileDialogRequest& request) {
    openRequests << request;
    std::optional<QString> answer;
    pop(openAnswers, "open dialog", answer);
    return answer;
}

std::optional<QString> ScriptedPlatform::saveFileName(const FileDialogRequest& request) {
    saveRequests << request;
    std::optional<QString> answer;
    pop(saveAnswers, "save dialog", answer);
    return answer;
}

int ScriptedPlatform::execDialog(QDialog& dialog) {
    std::function<int(QDialog&)> script;
    if (!pop(dialogScripts, "dialog", script)) return QDialog::Rejected;
    return script(dialog);
}

void ScriptedPlatform::setClipboardText(const QString& text) {
    if (clipboardFails) throw TablorError("Impossible d'ouvrir le Presse-papiers");
    clipboard << text;
}

void ScriptedPlatform::setBusy(bool busy) {
    busyDepth += busy ? 1 : -1;
    if (busy) ++busyCount;
    EXPECT_GE(busyDepth, 0);
}

} // namespace tablor::test
