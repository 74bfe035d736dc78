#include "platform/IniFile.h"
#include "platform/Errors.h"
#include "platform_core/TempDir.h"

#include <gtest/gtest.h>

using namespace tablor;
using tablor::testing::readBytes;
using tablor::testing::TempDir;
using tablor::testing::writeBytes;

TEST(IniFile, FindsSectionsAndKeysWhateverTheirCase) {
    // "[FENÊTRE]" in Windows-1252 (Ê is 0xCA, ê 0xEA); blanks around names and values.
    const auto ini = IniFile::fromBytes("orphan=1\r\n[FEN\xCATRE]\r\n  maXi = 1 \r\n"
                                        "[fiche]\nX=250\nX=999\n[Fiche]\ny=7\n");
    EXPECT_EQ(ini.readString("Fen\xEAtre", "Maxi", "d"), "1");
    EXPECT_EQ(ini.readInteger("Fiche", "x", 100), 250); // the first of two
    EXPECT_EQ(ini.readInteger("Fiche", "Y", 30), 7);    // found in the second "Fiche"
    EXPECT_EQ(ini.readString("Fiche", "orphan", "d"), "d");
    EXPECT_EQ(ini.readString("Autre", "X", "d"), "d");
    EXPECT_TRUE(equalsIgnoringCase("\x8A\xC9\xDE", "\x9A\xE9\xFE")); // Š É Þ
    EXPECT_FALSE(equalsIgnoringCase("\xD7", "\xF7"));                // × and ÷ are no pair
}

TEST(IniFile, ReadsValuesAsStringsIntegersAndBooleans) {
    const auto ini = IniFile::fromBytes("[S]\nq=\"  a b \"\nh1=0x200\nh2=$1F\nh3=0X\nneg=-12\n"
                                        "big=2147483648\nbad=12abc\nb0=0\nb2=2\nbx=oui\n"
                                        "hx=0xFFFFFFFF\nh9=0x123456789\n");
    EXPECT_EQ(ini.readString("S", "q", ""), "  a b "); // enclosing quotes go, blanks inside stay
    EXPECT_EQ(ini.readInteger("S", "h1", 0), 512);
    EXPECT_EQ(ini.readInteger("S", "h2", 0), 31);
    EXPECT_EQ(ini.readInteger("S", "h3", 5), 5); // "0X" alone is no number
    EXPECT_EQ(ini.readInteger("S", "neg", 0), -12);
    EXPECT_EQ(ini.readInteger("S", "big", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "bad", 5), 5);
    EXPECT_EQ(ini.readInteger("S", "hx", 0), -1);
    EXPECT_EQ(ini.readInteger("S", "h9", 5), 5);
    EXPECT_FALSE(ini.readBool("S", "b0", true));
    EXPECT_TRUE(ini.readBool("S", "b2", false));
    EXPECT_TRUE(ini.readBool("S", "bx", true));
    EXPECT_FALSE(ini.readBool("S", "bx", false));
}

TEST(IniFile, WritesChangeOnlyWhatTheyName) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeBytes(path, "; comment\n[A]\nKey=old\nOther = 2\n\n[B]\nz=1\n");
    IniFile ini(path);

    ini.writeString("a", "KEY", "new"); // the key keeps its own spelling
    EXPECT_EQ(readBytes(path), "; comment\r\n[A]\r\nKey=new\r\nOther = 2\r\n\r\n[B]\r\nz=1\r\n");

    ini.writeString("A", "Third", "3\r\n[B]\r\nz=injected"); // a line break ends the value
    ini.writeString("C", "k", "v");
    EXPECT_EQ(readBytes(path), "; comment\r\n[A]\r\nKey=new\r\nOther = 2\r\nThird=3\r\n\r\n"
                               "[B]\r\nz=1\r\n\r\n[C]\r\nk=v\r\n");
    EXPECT_EQ(IniFile(path).readString("B", "z", ""), "1");
}

TEST(IniFile, EraseSectionRemovesEveryCopyOfItAndNothingElse) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeBytes(path, "[A]\r\nx=1\r\n[b]\r\ny=2\r\n[C]\r\nz=3\r\n[B]\r\nw=4\r\n");
    IniFile ini(path);
    ini.eraseSection("B");
    EXPECT_EQ(readBytes(path), "[A]\r\nx=1\r\n[C]\r\nz=3\r\n");
    ini.writeString("B", "y", "5");
    EXPECT_EQ(IniFile(path).readInteger("b", "Y", 0), 5);
}

TEST(IniFile, CreatesAMissingFileAndRefusesToClobberAnUnreadableOne) {
    TempDir dir;
    IniFile fresh(dir.file("new.ini"));
    EXPECT_EQ(fresh.readString("S", "k", "d"), "d");
    fresh.writeInteger("S", "k", -4);
    EXPECT_EQ(readBytes(dir.file("new.ini")), "[S]\r\nk=-4\r\n");

    // A folder where the file should be cannot be read; writing must not replace it.
    std::filesystem::create_directory(dir.file("dir.ini"));
    IniFile unreadable(dir.file("dir.ini"));
    EXPECT_THROW(unreadable.writeString("S", "k", "v"), TablorError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("dir.ini")));

    IniFile noFolder(dir.file("missing/t.ini"));
    try {
        noFolder.writeString("S", "k", "v");
        FAIL();
    } catch (const TablorError& e) {
        EXPECT_STREQ(e.what(), "Nom de fichier incorrect");
    }
}

TEST(IniFile, HeldWritesReachTheFileTogether) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeBytes(path, "[A]\r\nx=1\r\n");
    IniFile ini(path);
    ini.holdWrites();
    ini.eraseSection("A");
    ini.writeString("A", "x", "2");
    EXPECT_EQ(readBytes(path), "[A]\r\nx=1\r\n");
    ini.writeHeld();
    EXPECT_EQ(readBytes(path), "[A]\r\nx=2\r\n");
    ini.writeString("A", "y", "3"); // back to writing at once
    EXPECT_EQ(readBytes(path), "[A]\r\nx=2\r\ny=3\r\n");
}
