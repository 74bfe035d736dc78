// The module's two entry points and the list of its open windows.

#include "hhctrl/HtmlHelpApi.h"
#include "hhctrl/ViewerWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>

#include <utility>
#include <vector>

namespace hhctrl {

namespace {

std::vector<QPointer<ViewerWindow>>& openWindows() {
    static std::vector<QPointer<ViewerWindow>> windows;
    return windows;
}

// Widgets exist only on the thread of a running QApplication.
bool canShowWindows() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}

void* displayTopic(const QString& request) {
    if (request.isEmpty()) return nullptr;
    // "file.chm::/page.html" names a page of the file.
    const qsizetype separator = request.indexOf(QLatin1String("::"));
    const QString file = QDir::cleanPath(
        QFileInfo(separator < 0 ? request : request.left(separator)).absoluteFilePath());
    const QString topic = separator < 0 ? QString() : request.mid(separator + 2);

    auto& windows = openWindows();
    std::erase_if(windows, [](const QPointer<ViewerWindow>& w) { return w.isNull(); });
    ViewerWindow* window = nullptr;
    for (const auto& open : windows)
        if (open->helpFile() == file) window = open;
    if (!window) {
        window = new ViewerWindow(file);
        windows.emplace_back(window);
    }
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void closeAll() {
    // Deleted at once rather than later, so that no window outlives the program's end.
    for (const auto& window : std::exchange(openWindows(), {}))
        delete window.data();
}

void* htmlHelp(const QString& file, bool hasFile, unsigned command) {
    if (!canShowWindows()) return nullptr;
    switch (command) {
    case HH_DISPLAY_TOPIC:
        return hasFile ? displayTopic(file) : nullptr;
    case HH_CLOSE_ALL:
        closeAll();
        return nullptr;
    default:
        return nullptr;
    }
}

} // namespace

} // namespace hhctrl

// The owner window and the data word are not used: viewer windows stand on their own, and the
// topic comes with the file name.
extern "C" __attribute__((visibility("default"))) void*
HtmlHelpA(void* /*owner*/, const char* file, unsigned command, std::uintptr_t /*data*/) {
    try {
        return hhctrl::htmlHelp(file ? QFile::decodeName(file) : QString(), file != nullptr,
                                command);
    } catch (...) {
        return nullptr; // nothing may escape into the caller
    }
}

extern "C" __attribute__((visibility("default"))) void*
HtmlHelpW(void* /*owner*/, const wchar_t* file, unsigned command, std::uintptr_t /*data*/) {
    try {
        return hhctrl::htmlHelp(file ? QString::fromWCharArray(file) : QString(), file != nullptr,
                                command);
    } catch (...) {
        return nullptr;
    }
}

static_assert(std::is_same_v<decltype(&HtmlHelpA), HtmlHelpAFunc>);
static_assert(std::is_same_v<decltype(&HtmlHelpW), HtmlHelpWFunc>);
