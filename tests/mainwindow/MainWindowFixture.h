#pragma once
// A main window on the offscreen platform, with a scripted platform and its own folder for the
// settings file and the table files of the test.

#include "mainwindow/_Tablor.h"
#include "support/ScriptedPlatform.h"
#include "table/TableFile.h"

#include <QAction>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace tablor::test {

// A menu entry or toolbar button of the window, by its object name.
inline QAction* action(TForm1& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}

class MainWindowFixture {
public:
    MainWindowFixture() { platform.executable = dir.filePath(QStringLiteral("tablor")); }

    // Creates the window as start-up does, with these command-line arguments.
    TForm1& start(const QStringList& arguments = {}) {
        form = std::make_unique<TForm1>(platform, arguments, TForm1::readAheadFor(arguments));
        return *form;
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    std::string nativePath(const QString& name) const { return path(name).toStdString(); }
    // Writes a file in the test folder.
    void write(const QString& name, const std::string& bytes) const;
    std::string read(const QString& name) const;

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};

} // namespace tablor::test
