#include "help/hh.h"

#include "help/PathParts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace tablor {

namespace {

struct Binding {
    void* handle = nullptr;
    HtmlHelpAFunc htmlHelpA = nullptr;
    HtmlHelpWFunc htmlHelpW = nullptr;
};

Binding& binding() {
    static Binding b;
    return b;
}

} // namespace

QString RunningExecutablePath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QStringList HelpControlCandidates(const QString& executablePath) {
    const QString dir = directoryPart(executablePath);
    if (dir.isEmpty()) return {};
    return {dir + QStringLiteral("libhhctrl.so"),
            QDir::cleanPath(dir + QStringLiteral("../lib/tablor/libhhctrl.so"))};
}

QString HelpFilePath(const QString& executablePath) {
    const QString beside = directoryPart(executablePath) + QStringLiteral("Tablor.chm");
    if (QFileInfo(beside).isFile()) return beside;
    const QString installed = QDir::cleanPath(directoryPart(executablePath) +
                                              QStringLiteral("../share/tablor/Tablor.chm"));
    return QFileInfo(installed).isFile() ? installed : beside;
}

QString GetHelpControlPath() {
    for (const QString& candidate : HelpControlCandidates(RunningExecutablePath()))
        if (QFileInfo(candidate).isFile()) return candidate;
    return {};
}

void LoadHelpControl() {
    Binding& b = binding();
    if (b.handle) return;
    const QString path = GetHelpControlPath();
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    // The module stays mapped after its release: the windows it made may still have events on
    // their way when the program ends, and their code must still be there.
    void* handle =
        dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) return;
    b.handle = handle;
    b.htmlHelpA = reinterpret_cast<HtmlHelpAFunc>(dlsym(handle, "HtmlHelpA"));
    b.htmlHelpW = reinterpret_cast<HtmlHelpWFunc>(dlsym(handle, "HtmlHelpW"));
}

void UnloadHelpControl() {
    Binding& b = binding();
    if (!b.handle) return;
    dlclose(b.handle);
    b = Binding{};
}

HtmlHelpAFunc HtmlHelp() {
    return binding().htmlHelpA;
}
HtmlHelpAFunc BoundHtmlHelpA() {
    return binding().htmlHelpA;
}
HtmlHelpWFunc BoundHtmlHelpW() {
    return binding().htmlHelpW;
}

bool ShowHelpFile(const QString& executablePath) {
    const HtmlHelpAFunc help = HtmlHelp();
    if (!help) return false;
    const QByteArray file = QFile::encodeName(HelpFilePath(executablePath));
    help(nullptr, file.constData(), HH_DISPLAY_TOPIC, 0);
    return true;
}

void CloseAllHelp() {
    if (const HtmlHelpAFunc help = HtmlHelp()) help(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

} // namespace tablor
