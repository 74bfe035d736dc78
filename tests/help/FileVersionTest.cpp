// Reading file versions: our ELF version note, the numbers of a shared library's real name,
// and files that have neither or are damaged.
#include "help/FileVersion.h"
#include "help/MachineFacts.h"
#include "help/hh.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tablor;

namespace {

void put(QByteArray& bytes, qsizetype at, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

QByteArray note(std::uint32_t type, const QByteArray& owner, const QByteArray& desc) {
    QByteArray n(12, '\0');
    put(n, 0, std::uint64_t(owner.size()), 4);
    put(n, 4, std::uint64_t(desc.size()), 4);
    put(n, 8, type, 4);
    n += owner + QByteArray((4 - owner.size() % 4) % 4, '\0');
    n += desc + QByteArray((4 - desc.size() % 4) % 4, '\0');
    return n;
}

QByteArray versionDesc(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    QByteArray desc(8, '\0');
    put(desc, 0, a, 2);
    put(desc, 2, b, 2);
    put(desc, 4, c, 2);
    put(desc, 6, d, 2);
    return desc;
}

// A minimal 64-bit little-endian ELF file: header, one note section, the section table.
QByteArray elfWithNotes(const QByteArray& notes) {
    QByteArray file(64, '\0');
    file.replace(0, 4,
                 "\x7f"
                 "ELF");
    file[4] = 2; // 64-bit
    file[5] = 1; // little-endian
    file[6] = 1;
    const qsizetype notesAt = file.size();
    file += notes;
    const qsizetype tableAt = file.size();
    QByteArray table(2 * 64, '\0'); // the null section, then the notes
    put(table, 64 + 4, 7, 4);
    put(table, 64 + 0x18, std::uint64_t(notesAt), 8);
    put(table, 64 + 0x20, std::uint64_t(notes.size()), 8);
    file += table;
    put(file, 0x28, std::uint64_t(tableAt), 8);
    put(file, 0x3A, 64, 2);
    put(file, 0x3C, 2, 2);
    return file;
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

TEST(ReadFileVersion, FindsOurNoteAmongOtherNotes) {
    QTemporaryDir dir;
    const QByteArray notes = note(3, QByteArray("GNU", 4), QByteArray(20, 'x')) +
                             note(1, QByteArray("Tablor", 7), versionDesc(4, 74, 9273, 0));
    const FileVersion version = ReadFileVersion(write(dir, "viewer", elfWithNotes(notes)));
    EXPECT_EQ(version.text, QStringLiteral("4.74.9273.0"));
    EXPECT_EQ(version.major, 4);
    EXPECT_EQ(version.minor, 74);
    EXPECT_EQ(version.release, 9273);
    EXPECT_EQ(version.build, 0);
}

TEST(ReadFileVersion, IgnoresNotesOfOtherOwnersOrTypes) {
    QTemporaryDir dir;
    const QByteArray notes = note(1, QByteArray("Tablo", 6), versionDesc(1, 2, 3, 4)) +
                             note(2, QByteArray("Tablor", 7), versionDesc(1, 2, 3, 4));
    EXPECT_EQ(ReadFileVersion(write(dir, "other", elfWithNotes(notes))).text, QString());
}

TEST(ReadFileVersion, DamagedFilesHaveNoVersion) {
    QTemporaryDir dir;
    const QByteArray good = elfWithNotes(note(1, QByteArray("Tablor", 7), versionDesc(1, 0, 0, 0)));
    // Cut anywhere, the file must read as having no version, without reading past its end.
    for (qsizetype size :
         {qsizetype(0), qsizetype(10), qsizetype(64), qsizetype(80), good.size() - 1})
        EXPECT_EQ(ReadFileVersion(write(dir, "cut", good.left(size))).text, QString()) << size;
    // A note whose sizes run past its section.
    QByteArray lying = note(1, QByteArray("Tablor", 7), versionDesc(1, 0, 0, 0));
    put(lying, 4, 0xFFFFFFF0u, 4);
    EXPECT_EQ(ReadFileVersion(write(dir, "lying", elfWithNotes(lying))).text, QString());
    // A section table said to lie beyond the end of the file.
    QByteArray farTable = good;
    put(farTable, 0x28, 0xFFFFFFFFFFFF0000ull, 8);
    EXPECT_EQ(ReadFileVersion(write(dir, "far", farTable)).text, QString());
    EXPECT_EQ(ReadFileVersion(write(dir, "text", "just some text")).text, QString());
}

TEST(ReadFileVersion, SharedLibraryRealNameGivesItsNumbers) {
    QTemporaryDir dir;
    const QString real = write(dir, "libfoo.so.4.72.7290", "not an ELF file");
    EXPECT_EQ(ReadFileVersion(real).text, QStringLiteral("4.72.7290.0"));
    ASSERT_TRUE(QFile::link(real, dir.filePath("libfoo.so")));
    EXPECT_EQ(ReadFileVersion(dir.filePath("libfoo.so")).text, QStringLiteral("4.72.7290.0"));

    EXPECT_EQ(ReadFileVersion(write(dir, "libbar.so.6", "x")).text, QStringLiteral("6.0.0.0"));
    EXPECT_EQ(ReadFileVersion(write(dir, "libbar.so.1.2.3.4.5", "x")).text, QString());
    EXPECT_EQ(ReadFileVersion(write(dir, "libbar.so.1.70000", "x")).text, QString());
    EXPECT_EQ(ReadFileVersion(write(dir, "libbar.so.1.x", "x")).text, QString());
    EXPECT_EQ(ReadFileVersion(write(dir, "libbaz.so", "x")).text, QString());
}

TEST(ReadFileVersion, NoFileNoVersion) {
    QTemporaryDir dir;
    EXPECT_EQ(ReadFileVersion(QString()).text, QString());
    EXPECT_EQ(ReadFileVersion(dir.filePath("missing.so.1.2")).text, QString());
    EXPECT_EQ(ReadFileVersion(dir.path()).text, QString()); // a directory
    const FileVersion none = ReadFileVersion(dir.filePath("missing"));
    EXPECT_EQ(none.major + none.minor + none.release + none.build, 0);
}

TEST(ReadFileVersion, OurViewerModuleAndThePageLibraryCarryVersions) {
    const QString module = QCoreApplication::applicationDirPath() + QStringLiteral("/libhhctrl.so");
    ASSERT_TRUE(QFile::exists(module));
    EXPECT_FALSE(ReadFileVersion(module).text.isEmpty());
    // Qt Widgets, where the viewer's text browser lives: its version is Qt's own.
    const FileVersion browser = ReadBrowserVersion();
    EXPECT_TRUE(browser.text.startsWith(QString::number(QT_VERSION_MAJOR) + QLatin1Char('.')))
        << browser.text.toStdString() << " from " << BrowserLibraryPath().toStdString();
}

TEST(WindowsLocaleId, KnownLocalesLanguagesAndTheRest) {
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("fr_FR")), 0x040Cu);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("fr_CA.UTF-8")), 0x0C0Cu);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("fr_BE@euro")), 0x080Cu);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("en_US")), 0x0409u);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("fr_SN")), 0x000Cu); // the language alone
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("C")), 0x007Fu);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("POSIX")), 0x007Fu);
    EXPECT_EQ(WindowsLocaleId(QStringLiteral("xx_YY")), 0x1000u);
}
