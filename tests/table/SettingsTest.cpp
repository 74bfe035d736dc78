#include "table/Settings.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform_core/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tablor;
using tablor::testing::readBytes;
using tablor::testing::TempDir;
using tablor::testing::writeBytes;

namespace {

SettingsAtClose sample() {
    SettingsAtClose s;
    s.lastFile = "/home/andré/Données.tbr"; // UTF-8, as Linux paths are
    s.x = 10, s.y = -20, s.w = 800, s.h = 600;
    s.maximised = false;
    s.cardX = 250, s.cardY = 31;
    return s;
}

} // namespace

TEST(Settings, LivesBesideTheExecutable) {
    EXPECT_EQ(settingsPathFor("/opt/tablor/bin/tablor"), "/opt/tablor/bin/tablor.ini");
    EXPECT_EQ(settingsPathFor("/outils/tables.exe"), "/outils/tables.ini");
    EXPECT_EQ(settingsPathFor("/v1.2/tablor"), "/v1.2/tablor.ini");
    EXPECT_EQ(settingsPathFor("/opt/.tablor"), "/opt/.tablor.ini");
    EXPECT_EQ(settingsPathFor("tablor.bin"), "tablor.ini");
}

// Beside the executable when its folder can be written; otherwise the user's own file, whose
// folder the first close creates; without a configuration folder, beside the executable again.
TEST(Settings, PlaceBesideTheExecutableOrPerUser) {
    EXPECT_EQ(settingsPlace("/opt/t/tablor", true, "/home/a/.config"), "/opt/t/tablor.ini");
    EXPECT_EQ(settingsPlace("/usr/bin/tablor", false, "/home/a/.config"),
              "/home/a/.config/tablor/tablor.ini");
    EXPECT_EQ(settingsPlace("/usr/bin/tablor", false, ""), "/usr/bin/tablor.ini");

    TempDir dir;
    const std::string config = dir.path();
    const auto env = [&](const char* name) -> const char* {
        return std::string(name) == "XDG_CONFIG_HOME" ? config.c_str() : nullptr;
    };
    EXPECT_EQ(settingsPathForUser(dir.file("tablor"), env), dir.file("tablor.ini"));
    const std::string perUser = settingsPathForUser(dir.file("absent/tablor"), env);
    EXPECT_EQ(perUser, dir.file("tablor/tablor.ini"));
    writeSettingsAtClose(perUser, sample());
    EXPECT_EQ(readMainWindowSettings(perUser, 1, 1).lastFile, sample().lastFile);
}

TEST(Settings, FirstRunGivesTheDefaults) {
    TempDir dir;
    const std::string ini = dir.file("tablor.ini");
    const MainWindowSettings w = readMainWindowSettings(ini, 1920, 1080);
    EXPECT_EQ(w.lastFile, "");
    EXPECT_FALSE(w.maximised);
    EXPECT_EQ(w.x, 0);
    EXPECT_EQ(w.y, 0);
    EXPECT_EQ(w.w, 1920);
    EXPECT_EQ(w.h, 1080);
    const CardPosition c = readCardPosition(ini);
    EXPECT_EQ(c.x, 100);
    EXPECT_EQ(c.y, 30);
    EXPECT_EQ(dir.entryCount(), 0u); // reading creates nothing
}

TEST(Settings, ReadsWhatTheFileHolds) {
    TempDir dir;
    const std::string ini = dir.file("tablor.ini");
    writeBytes(ini, "[fen\xCAtre]\r\nMaxi=1\r\n");
    EXPECT_TRUE(readMainWindowSettings(ini, 1024, 768).maximised);

    // Values that are not numbers take their defaults one by one.
    writeBytes(ini, "[Fen\xEAtre]\r\nx=5\r\nY=beaucoup\r\nW=0x200\r\nH=$100\r\nMaxi=non\r\n"
                    "[FICHE]\r\nX=250\r\nY=99999999999\r\n"
                    "[DernierFichier]\r\nFichier=/tmp/Caf\xE9.tbr\r\n");
    const MainWindowSettings w = readMainWindowSettings(ini, 1024, 768);
    EXPECT_FALSE(w.maximised);
    EXPECT_EQ(w.x, 5);
    EXPECT_EQ(w.y, 0);
    EXPECT_EQ(w.w, 512);
    EXPECT_EQ(w.h, 256);
    EXPECT_EQ(w.lastFile, "/tmp/Café.tbr");
    const CardPosition c = readCardPosition(ini);
    EXPECT_EQ(c.x, 250); // the card asks for "x", the file says "X"
    EXPECT_EQ(c.y, 30);
}

TEST(Settings, WritingAtCloseRewritesOnlyItsOwnSections) {
    TempDir dir;
    const std::string ini = dir.file("tablor.ini");
    writeBytes(ini, "[Autre]\r\nGarde=oui\r\n[Colonnes]\r\nC1=64\r\n"
                    "[FEN\xCATRE]\r\nX=1\r\nVieux=1\r\n[fiche]\r\nZ=3\r\n");
    writeSettingsAtClose(ini, sample());
    EXPECT_EQ(readBytes(ini), "[Autre]\r\nGarde=oui\r\n"
                              "\r\n[DernierFichier]\r\nFichier=/home/andr\xE9/Donn\xE9"
                              "es.tbr\r\n"
                              "\r\n[Fen\xEAtre]\r\nX=10\r\nY=-20\r\nW=800\r\nH=600\r\nMaxi=0\r\n"
                              "\r\n[Fiche]\r\nX=250\r\nY=31\r\n");

    // Closes in a row with nothing changed write the same bytes: the file does not grow.
    const std::string first = readBytes(ini);
    for (int close = 0; close < 3; ++close) {
        writeSettingsAtClose(ini, sample());
        EXPECT_EQ(readBytes(ini), first);
    }

    const MainWindowSettings w = readMainWindowSettings(ini, 1, 1);
    EXPECT_EQ(w.lastFile, sample().lastFile);
    EXPECT_EQ(w.y, -20);
    EXPECT_EQ(readCardPosition(ini).y, 31);

    SettingsAtClose untitled = sample();
    untitled.lastFile.clear();
    untitled.maximised = true;
    writeSettingsAtClose(ini, untitled);
    EXPECT_NE(readBytes(ini).find("[DernierFichier]\r\nFichier=\r\n"), std::string::npos);
    EXPECT_TRUE(readMainWindowSettings(ini, 1, 1).maximised);

    // A path Windows-1252 cannot hold comes back whole.
    SettingsAtClose foreign = sample();
    foreign.lastFile = "/tmp/\u0141\u00f3d\u017a \U0001F600.tbr"; // UTF-8, as Linux paths are
    writeSettingsAtClose(ini, foreign);
    EXPECT_NE(readBytes(ini).find("[DernierFichier]\r\nFichier=/tmp/?\xF3"
                                  "d? ?.tbr\r\n"
                                  "FichierUTF8=" +
                                  foreign.lastFile + "\r\n"),
              std::string::npos);
    EXPECT_EQ(readMainWindowSettings(ini, 1, 1).lastFile, foreign.lastFile);
}

TEST(Settings, AFileThatCannotBeWrittenIsReported) {
    TempDir dir;
    writeBytes(dir.file("file"), "");
    const std::string ini = dir.file("file/absent/tablor.ini"); // no folder can be made there
    try {
        writeSettingsAtClose(ini, sample());
        FAIL();
    } catch (const TablorError& e) {
        EXPECT_EQ(std::string(e.what()), "Impossible d'écrire dans " + ini);
    }
}

TEST(Settings, AnythingButARegularFileOfSaneSizeReadsAsAbsent) {
    // A pipe with no writer, an endless device, a folder and an oversized file: start-up reads
    // the defaults at once, and the close does not write into them.
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.ini").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.file("folder.ini"));
    std::filesystem::create_symlink("/dev/zero", dir.file("zero.ini"));
    writeBytes(dir.file("big.ini"), "[Fiche]\r\nX=5\r\n" + std::string(IniFile::MaxSize, ';'));
    for (const char* name : {"pipe.ini", "folder.ini", "zero.ini", "big.ini"}) {
        const std::string ini = dir.file(name);
        const MainWindowSettings w = readMainWindowSettings(ini, 640, 480);
        EXPECT_EQ(w.lastFile, "");
        EXPECT_FALSE(w.maximised);
        EXPECT_EQ(w.w, 640);
        EXPECT_EQ(readCardPosition(ini).x, 100);
        EXPECT_THROW(writeSettingsAtClose(ini, sample()), TablorError) << name;
    }
    EXPECT_EQ(readBytes(dir.file("big.ini")).size(), 14 + IniFile::MaxSize);
}
