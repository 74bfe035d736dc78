#include "table/TableFile.h"
#include "platform/Errors.h"
#include "platform_core/TempDir.h"
#include "table/TableReader.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tablor;
using tablor::testing::FileSizeLimit;
using tablor::testing::readBytes;
using tablor::testing::TempDir;
using tablor::testing::writeBytes;

namespace {

constexpr std::uint64_t Plenty = std::uint64_t{1} << 30;

// Everything a load may change, as one string, to show that a refused load changed nothing.
std::string fingerprint(const TableDocument& d) {
    std::string s = SaveTableToBytes(d, DocumentCardLayout(d));
    s += "|" + d.FileName + "|" + std::to_string(d.Modified) + "|" + std::to_string(d.RecordCount) +
         "|" + std::to_string(d.StringGrid1.Col()) + "," + std::to_string(d.StringGrid1.Row());
    for (int i = 0; i < MaxFields; ++i)
        s += "|" + std::to_string(d.CardLeft[i]) + "," + std::to_string(d.CardTop[i]) + "," +
             std::to_string(d.CopyFlags[i]);
    return s;
}

std::string cells(const TableDocument& d) {
    std::string s;
    for (int r = 0; r < d.StringGrid1.RowCount(); ++r)
        for (int c = 0; c < d.StringGrid1.ColCount(); ++c)
            s += std::string(d.StringGrid1.cell(c, r)) + "|";
    return s;
}

void fill(TableDocument& d, int cols, int rows) {
    d.StringGrid1.setSize(cols, rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            d.StringGrid1.setCell(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
    d.RecordCount = rows - 1;
}

std::string loadError(TableDocument& d, const std::string& bytes, std::uint64_t budget = Plenty) {
    try {
        LoadTableFromBytes(d, bytes, "/x.tbr", budget);
    } catch (const TablorError& e) {
        return e.what();
    }
    return "(loaded)";
}

const std::string Example = "2\r\n2\r\n0\r\n327\r\n450\r\n"
                            "64\r\n8\r\n40\r\n1\r\n64\r\n8\r\n88\r\n1\r\n"
                            "Nom\r\nVille\r\nMartin\r\nLyon\r\n";

} // namespace

TEST(TableFile, WritesOneValuePerLineInTheDocumentedOrder) {
    TableDocument d;
    d.StringGrid1.setSize(2, 2);
    d.StringGrid1.setCell(0, 0, "Nom");
    d.StringGrid1.setCell(1, 0, "Ville");
    d.StringGrid1.setCell(0, 1, "Martin");
    d.StringGrid1.setCell(1, 1, "Lyon");
    EXPECT_EQ(SaveTableToBytes(d, DocumentCardLayout(d)), Example);

    d.StringGrid1.setSize(40, 2);
    const std::string wide = SaveTableToBytes(d, DocumentCardLayout(d));
    EXPECT_EQ(std::count(wide.begin(), wide.end(), '\n'), 245);
    EXPECT_EQ(std::count(wide.begin(), wide.end(), '\r'), 245);
}

TEST(TableFile, CellsComeBackByteForByte) {
    // Every byte but the line feed and the end-of-file mark, alone and inside texts, blanks
    // and a final CR included.
    TableDocument d;
    d.StringGrid1.setSize(4, 260);
    std::string all;
    for (int b = 0; b < 256; ++b) {
        if (b == '\n' || b == 26) continue;
        const std::string one(1, char(b));
        d.StringGrid1.setCell(0, b + 1, one);
        d.StringGrid1.setCell(1, b + 1, "a" + one + "b");
        d.StringGrid1.setCell(2, b + 1, "  " + one);
        all += one;
    }
    d.StringGrid1.setCell(3, 0, all);
    d.StringGrid1.setCell(3, 1, "  deux blancs  ");
    d.StringGrid1.setCell(3, 2, "fin\r");
    d.SortField = -7;
    d.CopyFlags[3] = 65535;

    TempDir dir;
    const std::string path = dir.file("all.tbr");
    SaveTable(d, DocumentCardLayout(d), path);
    TableDocument back;
    LoadTable(back, path);
    EXPECT_EQ(cells(back), cells(d));
    EXPECT_EQ(back.SortField, -7);
    EXPECT_EQ(back.CopyFlags[3], 65535);
    EXPECT_EQ(SaveTableToBytes(back, DocumentCardLayout(back)), readBytes(path));
}

TEST(TableFile, LoadReplacesTheDocument) {
    TableDocument d;
    fill(d, 10, 50);
    d.StringGrid1.moveTo(5, 30);
    d.Modified = true;
    d.CardLeft[2] = 111;
    d.CopyFlags[2] = 0;
    const std::string bytes = "2\n2\n1\n300\n400\n"
                              "80\n10\n20\n70000\n" // copy flag: its low 16 bits, 4464
                              "90\n30\n40\n0\n"
                              "Nom\nVille\nMartin\nLyon\n";
    LoadTableFromBytes(d, bytes, "dossier/../Table.tbr", Plenty);

    const StringGrid& g = d.StringGrid1;
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(d.RecordCount, 1);
    EXPECT_EQ(d.FileName, "dossier/../Table.tbr");
    EXPECT_FALSE(d.Modified);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(d.SortField, 1);
    EXPECT_EQ(d.CardWidth, 300);
    EXPECT_EQ(d.CardHeight, 400);
    EXPECT_EQ(g.colWidth(0), 80);
    EXPECT_EQ(g.colWidth(1), 90);
    EXPECT_EQ(d.CardLeft[1], 30);
    EXPECT_EQ(d.CardTop[0], 20);
    EXPECT_EQ(d.CopyFlags[0], 4464);
    EXPECT_EQ(d.CopyFlags[1], 0);
    // Entries beyond the fields keep their values.
    EXPECT_EQ(d.CardLeft[2], 111);
    EXPECT_EQ(d.CopyFlags[2], 0);
    EXPECT_EQ(d.CardTop[39], 376);
    EXPECT_EQ(cells(d), "Nom|Ville|Martin|Lyon|");

    // Growing again gives empty cells, never the earlier table's.
    d.StringGrid1.setSize(4, 5);
    EXPECT_EQ(g.cell(3, 4), "");
    EXPECT_EQ(g.cell(1, 2), "");
    EXPECT_EQ(g.colWidth(3), StringGrid::DefaultColWidth);
}

TEST(TableFile, NumberLinesAreReadLeniently) {
    TableDocument d;
    // Blank lines, tabs and text around the numbers; hexadecimal forms; a CR LF here, a lone
    // LF there; a 35-character number of which the first 32 characters count.
    const std::string bytes = "\r\n\t 2 champs\r\n\n2\tlignes\n+$a\n"
                              "x12C\n0X1c2\n"
                              "00000000000000000000000000000064999\n-0x8\n  40 \n -$1\n"
                              "$FFFFFFFF\n8\n88\n1\n"
                              "Nom\n\nMartin\nLyon";
    LoadTableFromBytes(d, bytes, "t", Plenty);
    EXPECT_EQ(d.SortField, 10);
    EXPECT_EQ(d.CardWidth, 300);
    EXPECT_EQ(d.CardHeight, 450);
    EXPECT_EQ(d.StringGrid1.colWidth(0), 64);
    EXPECT_EQ(d.CardLeft[0], -8);
    EXPECT_EQ(d.CardTop[0], 40);
    EXPECT_EQ(d.CopyFlags[0], 65535);
    EXPECT_EQ(d.StringGrid1.colWidth(1), -1);
    // A blank line among the cells is an empty cell; the last line needs no line end.
    EXPECT_EQ(cells(d), "Nom||Martin|Lyon|");

    TableDocument lf, crlf;
    std::string lfOnly = Example;
    std::erase(lfOnly, '\r');
    LoadTableFromBytes(lf, lfOnly, "t", Plenty);
    LoadTableFromBytes(crlf, Example, "t", Plenty);
    EXPECT_EQ(fingerprint(lf), fingerprint(crlf));
}

TEST(TableFile, TheFirstCtrlZEndsTheFile) {
    TableDocument d;
    std::string head = Example.substr(0, Example.find("Nom"));
    // A lone CR inside a cell is text; a Ctrl-Z is the old end-of-file mark wherever it is,
    // in a cell or before padding.
    LoadTableFromBytes(d, head + "N\rom\r\nVille\r\nMartin\r\nLyon\r\n\x1A\x1A", "t", Plenty);
    EXPECT_EQ(cells(d), "N\rom|Ville|Martin|Lyon|");
    LoadTableFromBytes(d, head + "Nom\r\nVi\x1Alle\r\nMartin\r\nLyon\r\n", "t", Plenty);
    EXPECT_EQ(cells(d), "Nom|Vi|||");
    LoadTableFromBytes(d, head + "Nom\r\n\x1A" + std::string(300, '\0') + "\r\nX\r\n", "t", Plenty,
                       7);
    EXPECT_EQ(cells(d), "Nom||||");
    LoadTableFromBytes(d,
                       "1\r\n2\r\n0\r\n3\x1A"
                       "27\r\n",
                       "t", Plenty);
    EXPECT_EQ(d.CardWidth, 3);
}

TEST(TableFile, AFileCutShortLoadsWithZerosAndEmptyCells) {
    TableDocument d;
    LoadTableFromBytes(d, "3\r\n4\r\n2\r\n500\r\n60\r\n70\r\n7", "t", Plenty);
    EXPECT_EQ(d.StringGrid1.ColCount(), 3);
    EXPECT_EQ(d.RecordCount, 3);
    EXPECT_EQ(d.SortField, 2);
    EXPECT_EQ(d.CardHeight, 60);
    EXPECT_EQ(d.StringGrid1.colWidth(0), 70);
    EXPECT_EQ(d.CardLeft[0], 7);
    EXPECT_EQ(d.CardTop[0], 0);
    EXPECT_EQ(d.CopyFlags[2], 0);
    EXPECT_EQ(d.StringGrid1.colWidth(2), 0);
    EXPECT_EQ(cells(d), std::string(12, '|'));

    LoadTableFromBytes(d, Example.substr(0, Example.size() - 6), "t", Plenty);
    EXPECT_EQ(cells(d), "Nom|Ville|Martin||");
}

// Where the line after the first `lines` lines starts.
std::size_t afterLines(const std::string& bytes, std::size_t lines) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines; ++i)
        at = bytes.find('\n', at) + 1;
    return at;
}

// The cells a table file holds after its header: one line each, cut at the first Ctrl-Z, a CR
// before the line feed dropped; the cells past the last line empty.
std::string expectedCells(const std::string& bytes, std::size_t bodyStart, int cellCount) {
    std::string body = bytes.substr(0, bytes.find('\x1A')).substr(bodyStart);
    std::string s;
    for (int i = 0; i < cellCount; ++i) {
        const std::size_t lf = body.find('\n');
        std::string line = body.substr(0, lf);
        if (lf != std::string::npos && line.ends_with('\r')) line.pop_back();
        s += line + "|";
        body.erase(0, lf == std::string::npos ? body.size() : lf + 1);
    }
    return s;
}

TEST(TableFile, HowTheFileFallsIntoBlocksOrThreadsDoesNotMatter) {
    // Random tables, damaged after their header: line ends, CRs and Ctrl-Z put in, cut short.
    // Read whole, in blocks and by two threads, each gives the cells of the lines.
    std::mt19937 rng(13);
    auto pick = [&](std::size_t n) { return std::size_t(rng() % n); };
    for (int round = 0; round < 60; ++round) {
        TableDocument d;
        fill(d, 1 + int(pick(5)), 2 + int(pick(60)));
        const int cols = d.StringGrid1.ColCount(), rows = d.StringGrid1.RowCount();
        for (std::size_t i = pick(3 * rows); i > 0; --i) {
            std::string text(pick(4) == 0 ? 300 : pick(41), 'x');
            for (char& c : text)
                c = "a\xE9\r \t0"[pick(6)];
            d.StringGrid1.setCell(int(pick(cols)), int(pick(rows)), text);
        }
        std::string bytes = SaveTableToBytes(d, DocumentCardLayout(d));
        const std::size_t body = afterLines(bytes, 5 + 4 * std::size_t(cols));
        for (std::size_t i = pick(4); i > 0; --i)
            bytes.insert(body + pick(bytes.size() - body), 1, "\n\r\x1A"[pick(3)]);
        if (pick(3) == 0) bytes.resize(body + pick(bytes.size() - body));
        TableDocument whole;
        LoadTableFromBytes(whole, bytes, "t", Plenty);
        EXPECT_EQ(cells(whole), expectedCells(bytes, body, cols * rows)) << "round " << round;
        const std::size_t block = 1 + pick(70);
        for (const auto& [blockSize, twoThreadsFrom] :
             {std::pair{SIZE_MAX, std::uint64_t{0}}, {block, 0}, {block, UINT64_MAX}}) {
            TableDocument other;
            LoadTableFromBytes(other, bytes, "t", Plenty, blockSize, twoThreadsFrom);
            EXPECT_EQ(fingerprint(other), fingerprint(whole)) << "round " << round;
        }
        // A loaded table has room for a record more in every column.
        const CellWord* firstColumn = whole.StringGrid1.column(0).data();
        whole.StringGrid1.setRowCount(rows + 1);
        EXPECT_EQ(whole.StringGrid1.column(0).data(), firstColumn);
    }
}

TEST(TableFile, RefusedFilesLeaveTheDocumentUntouched) {
    TableDocument d;
    fill(d, 4, 6);
    d.FileName = "/avant.tbr";
    d.Modified = true;
    d.StringGrid1.moveTo(2, 3);
    const std::string before = fingerprint(d);

    const std::string tail = "0\n327\n450\n64\n8\n40\n1\nA\nB\n";
    const struct {
        std::string bytes, message;
    } cases[] = {
        {"", "Fichier vide"},
        {"\r\n \t\r\n\x1A", "Fichier vide"},
        {"0\n2\n" + tail, "Nombre de champs incorrect dans ce fichier : 0, il en faut de 1 à 40"},
        {"41\n2\n" + tail, "Nombre de champs incorrect dans ce fichier : 41, il en faut de 1 à 40"},
        {"-1\n2\n", "Nombre de champs incorrect dans ce fichier : -1, il en faut de 1 à 40"},
        {"1\n1\n" + tail, "Nombre de lignes incorrect dans ce fichier : 1, il en faut au moins 2"},
        {"1\n", "Nombre de lignes incorrect dans ce fichier : 0, il en faut au moins 2"},
        {"1\n-5\n", "Nombre de lignes incorrect dans ce fichier : -5, il en faut au moins 2"},
        {"deux\n2\n", "Saisie numérique incorrecte"},
        {"1\n2\n0\n327\n450\n64\n8\n4O\n", "Saisie numérique incorrecte"},
        {"1\n2147483648\n", "Saisie numérique incorrecte"},
        {"1\n$123456789\n", "Saisie numérique incorrecte"},
        {"1\n-\n", "Saisie numérique incorrecte"},
        {"1\n0x\n", "Saisie numérique incorrecte"},
        {"40\n2147483647\n",
         "Mémoire insuffisante pour ouvrir ce fichier de 2147483646 enregistrements de 40 champs"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loadError(d, c.bytes), c.message) << c.bytes;
        EXPECT_EQ(fingerprint(d), before) << c.bytes;
    }
    // The budget counts the cells, 2 fields x 2 rows x 8 bytes, and every byte after the two
    // first lines as text.
    const std::uint64_t need = 32 + Example.size() - 6;
    EXPECT_EQ(loadError(d, Example, need - 1), "Mémoire insuffisante pour ouvrir ce fichier de 1 "
                                               "enregistrements de 2 champs");
    EXPECT_EQ(loadError(d, Example, need), "(loaded)");
}

TEST(TableFile, ANumberLineIsRefusedOnceNoNumberCanBeThatLong) {
    // Endless lines of letters, of NUL bytes (blanks to the reader), and a number followed by
    // endless text: each is refused after a few kilobytes, not read whole.
    struct Endless : ByteSource {
        Endless(std::string head, char fill) : head(std::move(head)), fill(fill) {}
        std::size_t read(char* buffer, std::size_t size) override {
            if (given >= (std::size_t{64} << 20)) return 0;
            for (std::size_t i = 0; i < size; ++i, ++given)
                buffer[i] = given < head.size() ? head[given] : fill;
            return size;
        }
        std::string head;
        char fill;
        std::size_t given = 0;
    };
    for (const auto& [head, fill] : {std::pair{"", 'A'}, {"", '\0'}, {"2\r\n7", ' '}}) {
        Endless source(head, fill);
        std::string message;
        try {
            readTable(source, Plenty);
        } catch (const TablorError& e) {
            message = e.what();
        }
        EXPECT_EQ(message, "Saisie numérique incorrecte");
        EXPECT_LT(source.given, std::size_t{4} << 20);
    }
    TableDocument d;
    EXPECT_EQ(loadError(d, "2\r\n2\r\n0" + std::string(4000, ' ') + "commentaire\r\n"), "(loaded)");
}

TEST(TableFile, FilesTheSystemCannotHoldAreRefusedAtOnce) {
    TempDir dir;
    TableDocument d;
    const std::string before = fingerprint(d);
    auto errorOf = [&](const std::string& path) -> std::string {
        try {
            LoadTable(d, path);
        } catch (const TablorError& e) {
            return e.what();
        }
        return "(loaded)";
    };
    writeBytes(dir.file("huge.tbr"), "40\r\n2147483647\r\n");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(errorOf(dir.file("huge.tbr")).find("Mémoire insuffisante"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    EXPECT_EQ(errorOf(dir.file("absent.tbr")), "Fichier introuvable");
    EXPECT_EQ(errorOf(dir.file("absent/t.tbr")), "Nom de fichier incorrect");
    // Only regular files are read: a pipe without a writer, a folder or an endless device is
    // refused at once, by name.
    ASSERT_EQ(mkfifo(dir.file("pipe.tbr").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("pipe.tbr"), dir.path(), std::string("/dev/zero")})
        EXPECT_EQ(errorOf(path), path + " n'est pas un fichier ordinaire");
    EXPECT_EQ(fingerprint(d), before);
}

TEST(TableFile, AFailedSaveLeavesTheEarlierFileAsItWas) {
    TempDir dir;
    const std::string path = dir.file("t.tbr");
    writeBytes(path, Example);
    TableDocument d;
    fill(d, 10, 30000); // about 2.5 MB, more than one buffer

    // The system refuses to let files grow past 64 KiB: the save fails part-way.
    std::string message;
    try {
        FileSizeLimit limit(64 * 1024);
        SaveTable(d, DocumentCardLayout(d), path);
    } catch (const TablorError& e) {
        message = e.what();
    }
    EXPECT_EQ(message, "Erreur E/S " + std::to_string(EFBIG));
    EXPECT_EQ(readBytes(path), Example);
    EXPECT_EQ(dir.entryCount(), 1u); // no leftover temporary file

    SaveTable(d, DocumentCardLayout(d), path);
    TableDocument back;
    LoadTable(back, path);
    EXPECT_EQ(cells(back), cells(d));
}

TEST(TableFile, ADiskFullSaveLeavesTheEarlierFileAsItWas) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    TempDir dir;
    const std::string disk = dir.path();
    if (mount("tablor-test", disk.c_str(), "tmpfs", 0, "size=2M,mode=0755") != 0)
        GTEST_SKIP() << "no tmpfs here";
    struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};

    const std::string path = disk + "/t.tbr";
    TableDocument earlier, d;
    fill(earlier, 10, 10000); // about 1 MB on a disk of 2 MB
    SaveTable(earlier, DocumentCardLayout(earlier), path);
    const std::string before = readBytes(path); // compared whole: no diff of megabytes
    fill(d, 10, 50000);                         // about 5 MB
    auto saveError = [&] {
        try {
            SaveTable(d, DocumentCardLayout(d), path);
        } catch (const TablorError& e) {
            return std::string(e.what());
        }
        return std::string("(saved)");
    };

    // Through a new file renamed over the target, then in place for a file with a second name.
    EXPECT_EQ(saveError(), "Disque plein");
    EXPECT_TRUE(readBytes(path) == before);
    EXPECT_EQ(dir.entryCount(), 1u);
    ASSERT_EQ(link(path.c_str(), (disk + "/twin.tbr").c_str()), 0);
    EXPECT_EQ(saveError(), "Disque plein");
    EXPECT_TRUE(readBytes(path) == before);
    EXPECT_TRUE(readBytes(disk + "/twin.tbr") == before);
    ASSERT_EQ(unlink((disk + "/twin.tbr").c_str()), 0);

    // In place in a folder that takes no new file, for an ordinary account that owns the table.
    constexpr uid_t Nobody = 65534;
    ASSERT_EQ(chown(path.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(chmod(disk.c_str(), 0555), 0);
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(Nobody) == 0 && setuid(Nobody) == 0 && saveError() == "Disque plein" ? 0 : 1);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(readBytes(path) == before);
    EXPECT_EQ(dir.entryCount(), 1u);
}

TEST(TableFile, SaveWritesThroughLinksAndKeepsPermissions) {
    TempDir dir;
    const std::string real = dir.file("real.tbr");
    writeBytes(real, "old");
    ASSERT_EQ(chmod(real.c_str(), 0600), 0);
    std::filesystem::create_symlink("real.tbr", dir.file("link.tbr"));

    TableDocument d;
    fill(d, 2, 2);
    SaveTable(d, DocumentCardLayout(d), dir.file("link.tbr"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.tbr")));
    EXPECT_EQ(readBytes(real), SaveTableToBytes(d, DocumentCardLayout(d)));
    struct stat st;
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(TableFile, TheWriterNeverSplitsACellNorEndsTheFileEarly) {
    // No editor puts a line feed into a cell; were one there, the file must still hold one
    // line per cell so that every later cell stays in its place. A Ctrl-Z would end the file
    // for the reader: both are written as blanks, in short texts and in long ones, one of them
    // longer than the writer's buffer.
    TableDocument d;
    fill(d, 2, 5);
    std::string huge(3'000'000, 'y');
    for (std::size_t at : {std::size_t{0}, std::size_t{1} << 20, (std::size_t{1} << 20) - 1})
        huge[at] = '\n';
    huge.back() = '\x1A';
    const std::vector<std::string> written = {"deux\nlignes",
                                              "\x1A" + std::string(300, 'z') + "\x1A\n",
                                              "\n",
                                              "ab\x1A",
                                              "\x1A"
                                              "234567",
                                              "1234567\n",
                                              huge};
    for (std::size_t i = 0; i < written.size(); ++i)
        d.StringGrid1.setCell(int(i % 2), int(1 + i / 2), written[i]);
    TableDocument back;
    LoadTableFromBytes(back, SaveTableToBytes(d, DocumentCardLayout(d)), "t", Plenty);
    EXPECT_EQ(back.StringGrid1.cell(0, 1), "deux lignes");
    for (std::size_t i = 0; i < written.size(); ++i) {
        std::string blanked = written[i];
        std::replace(blanked.begin(), blanked.end(), '\n', ' ');
        std::replace(blanked.begin(), blanked.end(), '\x1A', ' ');
        EXPECT_TRUE(back.StringGrid1.cell(int(i % 2), int(1 + i / 2)) == blanked) << i;
    }
    EXPECT_EQ(back.StringGrid1.cell(1, 4), "c1r4");
}

TEST(TableFile, TheWriterTakesTheCardLayoutFromTheCard) {
    struct Card : CardLayoutSource {
        int cardWidth() const override { return 500; }
        int cardHeight() const override { return 600; }
        int labelLeft(int f) const override { return 1000 + f; }
        int labelTop(int f) const override { return -f; }
    } card;
    TableDocument d;
    fill(d, 2, 2);
    TableDocument back;
    LoadTableFromBytes(back, SaveTableToBytes(d, card), "t", Plenty);
    EXPECT_EQ(back.CardWidth, 500);
    EXPECT_EQ(back.CardHeight, 600);
    EXPECT_EQ(back.CardLeft[1], 1001);
    EXPECT_EQ(back.CardTop[1], -1);
}
