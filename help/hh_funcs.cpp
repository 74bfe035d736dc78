#include "help/hh_funcs.h"

#include "help/PathParts.h"
#include "help/hh.h"
#include "platform/UserFolders.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tablor {

namespace {

HelpDiagnostics& diagnostics() {
    static HelpDiagnostics d;
    return d;
}

QString withoutTrailingSlashes(QString path) {
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// A file of any kind but a directory, as the platform's "file exists" sees it.
bool isFile(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// Whether a new file can be made in dir, tried with the probe file "$_Temp_$.$$$", which is
// never left behind. The probe is made afresh, never opened through a link someone left there.
bool acceptsNewFile(const QString& dir) {
    const QByteArray probe = QFile::encodeName(dir + QStringLiteral("/$_Temp_$.$$$"));
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(probe.constData(), flags, 0600);
    if (fd < 0 && errno == EEXIST) {
        ::unlink(probe.constData()); // an old probe
        fd = ::open(probe.constData(), flags, 0600);
    }
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

QString hex4(std::uint32_t value) {
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString yesNo(bool value) {
    return value ? QStringLiteral("YES") : QStringLiteral("NO");
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

} // namespace

bool IsDebugSwitch(const QString& argument) {
    static const QString word = QStringLiteral("debug");
    if (argument.size() != 6 ||
        (argument[0] != QLatin1Char('/') && argument[0] != QLatin1Char('-')))
        return false;
    for (qsizetype i = 1; i < 6; ++i) {
        char16_t c = argument[i].unicode();
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        if (c != word[i - 1].unicode()) return false;
    }
    return true;
}

void InitHelpDiagnostics(const QStringList& arguments, const QString& executablePath) {
    InitHelpDiagnostics(arguments, executablePath, ReadMachineFacts());
}

void InitHelpDiagnostics(const QStringList& arguments, const QString& executablePath,
                         const MachineFacts& facts) {
    HelpDiagnostics d;
    d.arguments = arguments;
    d.facts = facts;
    d.modulePath = executablePath.isEmpty() ? RunningExecutablePath() : executablePath;
    d.moduleDir = withoutTrailingSlashes(directoryPart(d.modulePath));
    d.moduleName = fileNamePart(d.modulePath);
    d.runDir = withoutTrailingSlashes(directoryPart(arguments.value(0)));

    if (acceptsNewFile(d.moduleDir)) {
        d.debugDir = d.moduleDir;
    } else if (!facts.privateDir.isEmpty() &&
               makeUserFolder(QFile::encodeName(facts.privateDir).toStdString())) {
        d.debugDir = withoutTrailingSlashes(facts.privateDir);
    }
    // No folder of the user's own: no report.
    if (!d.debugDir.isEmpty()) d.reportPath = d.debugDir + QStringLiteral("/HHDebug.txt");

    d.debugMode = isFile(d.moduleDir + QStringLiteral("/debug.debug"));
    for (qsizetype i = 1; !d.debugMode && i < arguments.size(); ++i)
        d.debugMode = IsDebugSwitch(arguments[i]);

    d.hhVersion = facts.viewer;
    d.hhInstalled = !d.hhVersion.text.isEmpty();
    d.hhFriendlyVerStr = HelpControlFriendlyName(d.hhVersion);
    d.ieVersion = facts.browser;
    d.ieInstalled = !d.ieVersion.text.isEmpty();
    d.ieFriendlyVerStr = BrowserFriendlyName(d.ieVersion);

    diagnostics() = d;
    WriteDebugReport();
}

const HelpDiagnostics& CurrentHelpDiagnostics() {
    return diagnostics();
}

void WriteDebugReport() {
    const HelpDiagnostics& d = diagnostics();
    if (d.reportPath.isEmpty()) return;
    const QByteArray report = QFile::encodeName(d.reportPath);
    struct stat st {};
    if (::lstat(report.constData(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(report.constData());
    if (!d.debugMode) return;

    const QString tab = QStringLiteral("\t");
    const MachineFacts& f = d.facts;
    WriteReportLine("!Filename:             %s", {tab + d.reportPath});
    WriteReportLine("!Date:                 %s", {tab + f.dateTime});
    WriteReportLine("!Operating System:      %s %d.%d.%d",
                    {tab + f.osName, f.osMajor, f.osMinor, f.osBuild});
    WriteReportLine("!SysLocale.DefaultLCID: %s", {tab + hex4(f.localeId)});
    WriteReportLine("!SysLocale.PriLangID:   %s", {tab + hex4(f.localeId & 0x3FF)});
    WriteReportLine("!SysLocale.SubLangID:   %s", {tab + hex4((f.localeId & 0xFFFF) >> 10)});
    WriteReportLine("!DecimalSeparator:      %s", {tab + f.decimalSeparator});
    WriteReportLine("-", {});
    WriteReportLine("!EXE Path =          %s", {tab + d.arguments.value(0)});
    WriteReportLine("!Cmdline Param(s) =  %s",
                    {tab + d.arguments.mid(1).join(QStringLiteral(" | "))});
    WriteReportLine("!_RunDir =           %s", {tab + d.runDir});
    WriteReportLine("!_ModuleName =       %s", {tab + d.moduleName});
    WriteReportLine("!_ModuleDir =        %s", {tab + d.moduleDir});
    WriteReportLine("-", {});
    WriteReportLine("!_hhInstalled =      %s", {tab + yesNo(d.hhInstalled)});
    WriteReportLine("!_hhVerStr =         %s", {tab + d.hhVersion.text});
    WriteReportLine("!_hhFriendlyVerStr = %s", {tab + d.hhFriendlyVerStr});
    WriteReportLine("-", {});
    WriteReportLine("!_ieInstalled =      %s", {tab + yesNo(d.ieInstalled)});
    WriteReportLine("!_ieVerStr =         %s", {tab + d.ieVersion.text});
    WriteReportLine("!_ieFriendlyVerStr = %s", {tab + d.ieFriendlyVerStr});
    WriteReportLine("=", {});
}

QByteArray FormatReportLine(const char* format, std::initializer_list<ReportArg> args) {
    QByteArray line;
    auto arg = args.begin();
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || !p[1]) {
            line += *p;
            continue;
        }
        const char kind = *++p;
        if (kind == '%') {
            line += '%';
        } else if ((kind == 's' || kind == 'd') && arg != args.end()) {
            if (const QString* text = std::get_if<QString>(&*arg))
                line += text->toLocal8Bit();
            else
                line += QByteArray::number(std::get<int>(*arg));
            ++arg;
        } else {
            line += '%'; // not a placeholder of ours: kept as written
            line += kind;
        }
    }
    if (line == "-")
        line = QByteArray(80, '-');
    else if (line == "=")
        line = QByteArray(80, '=');
    if (line.startsWith('!') || line.startsWith('-') || line.startsWith('=')) line.remove(0, 1);
    return line;
}

void WriteReportLine(const char* format, std::initializer_list<ReportArg> args) {
    const QByteArray path = QFile::encodeName(diagnostics().reportPath);
    if (path.isEmpty()) return;
    // Appended, never through a link planted where the report goes, never waiting on a pipe,
    // and only to a regular file of the user's own.
    const int fd =
        ::open(path.constData(),
               O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
        writeAll(fd, FormatReportLine(format, args) + "\r\n");
    ::close(fd);
}

} // namespace tablor
