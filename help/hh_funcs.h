#pragma once
// The help diagnostics: at start-up, before any window exists, they work out where the program
// runs, whether debug mode is on ("-debug" or "/debug" in any case among the arguments, or a
// file "debug.debug" beside the executable) and which versions of the help viewer and of its
// page-drawing library are installed. In debug mode they write the 22-line report HHDebug.txt
// (CR LF lines) beside the executable, or in the user's own runtime or cache folder when the
// executable's directory refuses a new file; every start deletes the previous report first.

#include "help/FileVersion.h"
#include "help/MachineFacts.h"
#include "help/VersionNames.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <variant>

namespace tablor {

struct HelpDiagnostics {
    QStringList arguments; // the command line, the program's own name first
    QString modulePath;    // the executable's full path
    QString moduleName;    // _ModuleName
    QString moduleDir;     // _ModuleDir, without a final "/"
    QString runDir;        // _RunDir: the directory of argument 0, without a final "/"
    QString debugDir;      // where the report goes
    QString reportPath;    // debugDir + "/HHDebug.txt"
    bool debugMode = false;
    FileVersion hhVersion; // _hhVerStr and its numbers
    bool hhInstalled = false;
    QString hhFriendlyVerStr;
    FileVersion ieVersion; // _ieVerStr and its numbers
    bool ieInstalled = false;
    QString ieFriendlyVerStr;
    MachineFacts facts;
};

// The start-up step, with this machine's facts. executablePath is the running program's full
// path (read from the system when empty); arguments are the command line, argument 0 first.
void InitHelpDiagnostics(const QStringList& arguments, const QString& executablePath);
// The same with the facts given, so that a report can be checked byte for byte.
void InitHelpDiagnostics(const QStringList& arguments, const QString& executablePath,
                         const MachineFacts& facts);
// What the last InitHelpDiagnostics found.
const HelpDiagnostics& CurrentHelpDiagnostics();

// "-debug" or "/debug", letters A to Z in any case.
bool IsDebugSwitch(const QString& argument);

// Deletes the old report and, in debug mode, writes the new one.
void WriteDebugReport();

// A value for a report line's placeholder: text for %s, a number for %d.
using ReportArg = std::variant<QString, int>;
// A report line without its line end: the format filled in; "-" and "=" alone become rules of
// 79 characters; a leading "!", "-" or "=" is dropped. Text is written in the file system's
// encoding, so paths read back exactly.
QByteArray FormatReportLine(const char* format, std::initializer_list<ReportArg> args);
// Appends one line (CR LF) to the report; a report that can't be opened, or is not a regular
// file of the user's own, loses the line quietly.
void WriteReportLine(const char* format, std::initializer_list<ReportArg> args);

} // namespace tablor
