// Tablor's start-up and shut-down, in their order: the help viewer is bound and the help
// diagnostics run before anything is shown; the main window is created with its side windows;
// the event loop runs until the main window closes; the main window is destroyed
// (closing the help windows) before the help viewer is released.

#include "help/hh.h"
#include "help/hh_funcs.h"
#include "mainwindow/_Tablor.h"
#include "platform/CommandLine.h"
#include "platform/InterfaceFont.h"
#include "platform/ProgramName.h"
#include "platform/QtPlatform.h"
#include "resources/Resources.h"
#include "table/TableFile.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <utility>

namespace {

// Qt's own dialogs and buttons in French: the toolkit's catalogue, then ours for the texts it
// lacks (a translator installed later is asked first).
void loadFrenchTranslation(QApplication& app) {
    const auto install = [&app](const QString& name, const QString& folder) {
        auto* translator = new QTranslator(&app);
        if (translator->load(name, folder)) QApplication::installTranslator(translator);
    };
    install(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(QStringLiteral("toolkit_fr"), QStringLiteral(":/translations"));
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version answer on the terminal, before any window or module is touched.
    if (const auto answer = tablor::commandLineAnswer({argv + 1, argv + argc})) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    QStringList commandLine; // the program's own name first
    for (int i = 0; i < argc; ++i)
        commandLine << QString::fromLocal8Bit(argv[i]);
    const QStringList arguments = commandLine.mid(1);
    // The command line's table is read while the help viewer, Qt and the window start.
    std::unique_ptr<tablor::TableReadAhead> readAhead = tablor::TForm1::readAheadFor(arguments);

    tablor::LoadHelpControl();
    tablor::InitHelpDiagnostics(commandLine, tablor::RunningExecutablePath());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tablor::ProgramName));
    tablor::initResources();
    loadFrenchTranslation(app);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tablor.svg")));
    // Ties the windows to the installed desktop entry (its name, icon and menu place).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tablor.Tablor"));
    // The program's windows are laid out for an 8-point sans-serif.
    QApplication::setFont(tablor::interfaceFont());

    int result = 0;
    {
        tablor::QtPlatform platform;
        tablor::TForm1 Form1(platform, arguments, std::move(readAhead));
        Form1.show();
        result = app.exec();
    }
    tablor::UnloadHelpControl();
    return result;
}
