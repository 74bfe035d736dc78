// The help diagnostics at start-up: the debug switches, the report's exact bytes for known
// facts, its deletion on a plain start, the writability probe and the fallback directory.
#include "help/hh_funcs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tablor;

namespace {

const QByteArray Dashes(79, '-');
const QByteArray Equals(79, '=');

MachineFacts knownFacts(const QString& privateDir) {
    MachineFacts f;
    f.dateTime = QStringLiteral("05/03/2024 14:03:22");
    f.osName = QStringLiteral("Linux");
    f.osMajor = 6;
    f.osMinor = 1;
    f.osBuild = 0;
    f.localeId = 0x040C;
    f.decimalSeparator = QStringLiteral(",");
    f.privateDir = privateDir;
    f.viewer = MakeFileVersion(4, 74, 9273, 0);
    f.browser = AdjustBrowserVersion(MakeFileVersion(4, 70, 0, 1158));
    return f;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class Diagnostics : public ::testing::Test {
protected:
    QTemporaryDir programDir; // where the program "runs" from
    QTemporaryDir userDir;    // the user's own folder
    QString exe() const { return programDir.filePath(QStringLiteral("tablor")); }
    QString report() const { return programDir.filePath(QStringLiteral("HHDebug.txt")); }
    void start(const QStringList& arguments) {
        InitHelpDiagnostics(arguments, exe(), knownFacts(userDir.path()));
    }
};

} // namespace

TEST(IsDebugSwitch, DashOrSlashDebugInAnyCaseOfAToZ) {
    for (const char* yes : {"-debug", "/debug", "-DEBUG", "/Debug", "-dEbUg"})
        EXPECT_TRUE(IsDebugSwitch(QString::fromLatin1(yes))) << yes;
    for (const char* no :
         {"debug", "--debug", "-debugx", "/debug ", " -debug", "-debu", "\\debug", ""})
        EXPECT_FALSE(IsDebugSwitch(QString::fromLatin1(no))) << no;
    // Only A to Z fold: any other letter must be exactly that of "debug".
    EXPECT_FALSE(IsDebugSwitch(QStringLiteral("-DEBUĞ")));
    EXPECT_FALSE(IsDebugSwitch(QStringLiteral("/débug")));
}

TEST(FormatReportLine, RulesPlaceholdersAndTheLeadingMark) {
    EXPECT_EQ(FormatReportLine("-", {}), Dashes);
    EXPECT_EQ(FormatReportLine("=", {}), Equals);
    EXPECT_EQ(FormatReportLine("!a %s b %d.%d", {QStringLiteral("\tx"), 6, -1}),
              QByteArray("a \tx b 6.-1"));
    EXPECT_EQ(FormatReportLine("-lead", {}), QByteArray("lead"));
    EXPECT_EQ(FormatReportLine("100%% %s", {QStringLiteral("é")}), QByteArray("100% \xc3\xa9"));
    EXPECT_EQ(FormatReportLine("", {}), QByteArray());
}

TEST_F(Diagnostics, ReportIsTwentyTwoLinesByteForByte) {
    start({exe(), QStringLiteral("liste.tbr"), QStringLiteral("-DEBUG")});
    const QByteArray dir = QFile::encodeName(programDir.path());
    const QByteArray expected = "Filename:             \t" + dir +
                                "/HHDebug.txt\r\n"
                                "Date:                 \t05/03/2024 14:03:22\r\n"
                                "Operating System:      \tLinux 6.1.0\r\n"
                                "SysLocale.DefaultLCID: \t0x040C\r\n"
                                "SysLocale.PriLangID:   \t0x000C\r\n"
                                "SysLocale.SubLangID:   \t0x0001\r\n"
                                "DecimalSeparator:      \t,\r\n" +
                                Dashes +
                                "\r\n"
                                "EXE Path =          \t" +
                                dir +
                                "/tablor\r\n"
                                "Cmdline Param(s) =  \tliste.tbr | -DEBUG\r\n"
                                "_RunDir =           \t" +
                                dir +
                                "\r\n"
                                "_ModuleName =       \ttablor\r\n"
                                "_ModuleDir =        \t" +
                                dir + "\r\n" + Dashes +
                                "\r\n"
                                "_hhInstalled =      \tYES\r\n"
                                "_hhVerStr =         \t4.74.9273.0\r\n"
                                "_hhFriendlyVerStr = \t1.33\r\n" +
                                Dashes +
                                "\r\n"
                                "_ieInstalled =      \tYES\r\n"
                                "_ieVerStr =         \t4.70.1158.0\r\n"
                                "_ieFriendlyVerStr = \tInternet Explorer 3.0 (OSR2)\r\n" +
                                Equals + "\r\n";
    EXPECT_EQ(readAll(report()), expected);
    EXPECT_EQ(readAll(report()).count("\r\n"), 22);
}

TEST_F(Diagnostics, WithoutViewerOrArgumentsTheValuesAfterTheTabAreEmpty) {
    QFile marker(programDir.filePath(QStringLiteral("debug.debug")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    MachineFacts facts = knownFacts(userDir.path());
    facts.viewer = FileVersion{};
    InitHelpDiagnostics({QStringLiteral("tablor")}, exe(), facts);

    const QList<QByteArray> lines = readAll(report()).split('\n');
    ASSERT_EQ(lines.size(), 23); // 22 lines and what follows the last line end
    EXPECT_EQ(lines[9], QByteArray("Cmdline Param(s) =  \t\r"));
    EXPECT_EQ(lines[10], QByteArray("_RunDir =           \t\r")); // argument 0 without a folder
    EXPECT_EQ(lines[14], QByteArray("_hhInstalled =      \tNO\r"));
    EXPECT_EQ(lines[15], QByteArray("_hhVerStr =         \t\r"));
    EXPECT_EQ(lines[16], QByteArray("_hhFriendlyVerStr = \t\r"));
    EXPECT_EQ(lines[18], QByteArray("_ieInstalled =      \tYES\r"));
}

TEST_F(Diagnostics, DebugModeComesFromSwitchesOrMarkerButNotFromArgumentZero) {
    start({exe()});
    EXPECT_FALSE(CurrentHelpDiagnostics().debugMode);
    start({QStringLiteral("-debug")}); // the program's own name
    EXPECT_FALSE(CurrentHelpDiagnostics().debugMode);
    start({exe(), QStringLiteral("table.tbr"), QStringLiteral("/Debug")});
    EXPECT_TRUE(CurrentHelpDiagnostics().debugMode);

    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("debug.debug")));
    start({exe()});
    EXPECT_FALSE(CurrentHelpDiagnostics().debugMode) << "a folder is not the marker file";
}

TEST_F(Diagnostics, PlainStartDeletesTheReport) {
    start({exe(), QStringLiteral("-debug")});
    ASSERT_TRUE(QFile::exists(report()));
    start({exe()});
    EXPECT_FALSE(QFile::exists(report()));
}

TEST_F(Diagnostics, EachDebugStartWritesAFreshReport) {
    start({exe(), QStringLiteral("-debug")});
    start({exe(), QStringLiteral("-debug")});
    EXPECT_EQ(readAll(report()).count("\r\n"), 22);
}

TEST_F(Diagnostics, ProbeIsNeverLeftBehindAndNeverFollowsALink) {
    const QString probe = programDir.filePath(QStringLiteral("$_Temp_$.$$$"));
    start({exe()});
    EXPECT_FALSE(QFile::exists(probe));
    EXPECT_EQ(CurrentHelpDiagnostics().debugDir, programDir.path());

    // An old probe is replaced and removed; a link there is removed without touching its target.
    QFile victim(userDir.filePath(QStringLiteral("precious.txt")));
    ASSERT_TRUE(victim.open(QIODevice::WriteOnly));
    victim.write("keep me");
    victim.close();
    ASSERT_TRUE(QFile::link(victim.fileName(), probe));
    start({exe()});
    EXPECT_FALSE(QFileInfo(probe).isSymLink());
    EXPECT_FALSE(QFile::exists(probe));
    EXPECT_EQ(readAll(victim.fileName()), QByteArray("keep me"));
    EXPECT_EQ(CurrentHelpDiagnostics().debugDir, programDir.path());
}

TEST_F(Diagnostics, UnwritableProgramFolderSendsTheReportToTheUsersOwnFolder) {
    const QString missingDir = programDir.filePath(QStringLiteral("gone"));
    InitHelpDiagnostics({missingDir + QStringLiteral("/tablor/"), QStringLiteral("-debug")},
                        missingDir + QStringLiteral("/tablor"),
                        knownFacts(userDir.path() + QStringLiteral("//")));
    const HelpDiagnostics& d = CurrentHelpDiagnostics();
    EXPECT_EQ(d.debugDir, userDir.path());
    EXPECT_EQ(d.reportPath, userDir.filePath(QStringLiteral("HHDebug.txt")));
    EXPECT_EQ(d.moduleDir, missingDir);
    EXPECT_EQ(d.runDir, missingDir + QStringLiteral("/tablor"));
    EXPECT_EQ(readAll(d.reportPath).count("\r\n"), 22);
}

TEST_F(Diagnostics, TheReportIsWrittenOnlyToARegularFileOfTheUsersOwn) {
    start({exe(), QStringLiteral("-debug")});
    const QByteArray path = QFile::encodeName(report());
    // A pipe nobody reads from is left alone at once, not waited on.
    ASSERT_EQ(::unlink(path.constData()), 0);
    ASSERT_EQ(::mkfifo(path.constData(), 0666), 0);
    WriteReportLine("!pipe", {});
    EXPECT_TRUE(QFileInfo(report()).exists());
    ::unlink(path.constData());

    // Another user's file receives nothing (the owner can only be changed as root).
    QFile other(report());
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    if (::chown(path.constData(), 65534, 65534) == 0) {
        WriteReportLine("!secret", {});
        EXPECT_EQ(readAll(report()), QByteArray());
    }
}
