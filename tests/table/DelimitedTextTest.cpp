#include "platform/Ansi.h"
#include "platform/Errors.h"
#include "table/DelimitedFile.h"
#include "table/TableFile.h"

#include <gtest/gtest.h>
#include <random>

using namespace tablor;

namespace {

constexpr std::uint64_t Plenty = std::uint64_t{1} << 30;

// The cells row by row: "|" between cells, "/" between rows.
std::string cells(const StringGrid& g) {
    std::string s;
    for (int r = 0; r < g.RowCount(); ++r) {
        if (r > 0) s += '/';
        for (int c = 0; c < g.ColCount(); ++c)
            s += (c > 0 ? "|" : "") + g.cellString(c, r);
    }
    return s;
}

std::string importError(TableDocument& d, std::string_view bytes, std::uint64_t budget = Plenty) {
    try {
        ImportDelimitedFromBytes(d, bytes, budget);
    } catch (const TablorError& e) {
        return e.what();
    }
    return "(imported)";
}

// The records of a text read byte by byte, the plain way: a field that starts with a quote runs
// to its closing quote (doubled quotes are one, line breaks a blank), then like any field to
// the separator or the line end. Empty when a quote is not closed.
struct PlainReading {
    std::vector<std::vector<std::string>> records;
    std::uint64_t lineBreaks = 0;
};
PlainReading readPlainly(std::string_view s, char sep) {
    PlainReading out;
    auto lineEnd = [&](std::size_t i) { return s[i] == '\r' || s[i] == '\n'; };
    std::size_t i = 0;
    while (i < s.size()) {
        auto& record = out.records.emplace_back();
        for (;;) {
            std::string& field = record.emplace_back();
            if (i < s.size() && s[i] == '"') {
                for (++i;; ++i) {
                    if (i == s.size()) return {};
                    if (s[i] == '"' && (i + 1 == s.size() || s[i + 1] != '"')) break;
                    if (s[i] == '"') ++i;
                    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
                    field += lineEnd(i) ? ' ' : s[i];
                    out.lineBreaks += lineEnd(i);
                }
                ++i;
            }
            for (; i < s.size() && s[i] != sep && !lineEnd(i); ++i)
                field += s[i];
            if (i == s.size() || s[i] != sep) break;
            ++i;
        }
        if (i < s.size()) i += s.compare(i, 2, "\r\n") == 0 ? 2 : 1;
    }
    return out;
}

} // namespace

// .tbr -> UTF-8 delimited text -> .tbr keeps every cell and field name, whatever bytes they hold.
TEST(DelimitedText, RandomTablesComeBackThroughEveryFormat) {
    std::mt19937 rng(20261208);
    // Bytes a delimited file gives special meaning to come often; a cell holds no line break.
    const std::string special = "\"\t;, ";
    auto randomCell = [&] {
        std::string s(rng() % 12, ' ');
        for (char& c : s) {
            do
                c = rng() % 3 == 0 ? special[rng() % special.size()] : char(rng() % 256);
            while (c == '\r' || c == '\n');
        }
        return rng() % 5 == 0 ? std::string() : s;
    };
    // (Windows-1252 text that happens to be valid UTF-8 reads as UTF-8: only UTF-8 is sure to
    // come back whatever the cells hold.)
    const DelimitedFormat formats[] = {{';'}, {'\t'}, {','}};
    for (int round = 0; round < 200; ++round) {
        TableDocument table;
        const int F = 1 + int(rng() % MaxFields), R = 2 + int(rng() % 6);
        table.StringGrid1.setSize(F, R);
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < F; ++c)
                table.StringGrid1.setCell(c, r, randomCell());
        table.RecordCount = R - 1;
        TableDocument loaded;
        LoadTableFromBytes(loaded, SaveTableToBytes(table, DocumentCardLayout(table)), "t.tbr",
                           Plenty);
        const StringGrid& g = loaded.StringGrid1;
        for (const DelimitedFormat& f : formats) {
            TableDocument imported;
            const std::string text = ExportDelimitedToBytes(loaded, f);
            ASSERT_EQ(ImportDelimitedFromBytes(imported, text, Plenty), "") << text;
            const StringGrid& back = imported.StringGrid1;
            ASSERT_EQ(back.ColCount(), F);
            ASSERT_EQ(back.RowCount(), R);
            for (int r = 0; r < R; ++r)
                for (int c = 0; c < F; ++c)
                    ASSERT_EQ(back.cell(c, r), g.cell(c, r))
                        << "round " << round << ", separator " << int(f.separator) << ":\n"
                        << text;
        }
    }
}

// Random texts of what delimited files are made of, broken ones too, long enough to cross the
// blocks the reader scans: what it makes of each is what a plain reading of the same text gives.
TEST(DelimitedText, ReadsRandomTextsAsAPlainReadingDoes) {
    std::mt19937 rng(8122026);
    // Records of up to as many fields as the names, some fields quoted; what the fields hold
    // may break that shape. Every other text also holds bytes that are not UTF-8, one of them a
    // character parted by a closing quote.
    const char* const pieces[] = {"ab",
                                  "\xC3\xA9",
                                  "\xE2\x82\xAC",
                                  "\xF0\x9F\x98\x80",
                                  "0123456789",
                                  " ",
                                  "\"\"",
                                  "\"",
                                  ";",
                                  ",",
                                  "\t",
                                  "\r\n",
                                  "\n",
                                  "\"\xC3\"\xA9",
                                  "\xC3",
                                  "\xE9"};
    const char* const separators[] = {";", ",", "\t"};
    const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    for (int round = 0; round < 3000; ++round) {
        const std::size_t kinds = std::size(pieces) - (round % 2 ? 0 : 3);
        const char* const sep = separators[rng() % 3];
        const int fields = 1 + int(rng() % 6);
        std::string text;
        for (int r = 0, records = 1 + int(rng() % 8); r < records; ++r) {
            for (int f = 0, n = r == 0 ? fields : 1 + int(rng() % fields); f < n; ++f) {
                const bool quoted = rng() % 3 == 0;
                text += f > 0 ? sep : "";
                text += quoted ? "\"" : "";
                for (int k = int(rng() % 8); k > 0; --k)
                    text += pieces[rng() % (rng() % 4 ? 6 : kinds)];
                text += quoted ? "\"" : "";
            }
            if (r + 1 < records || rng() % 2) text += lineEnds[rng() % 3];
        }
        DelimitedTable t;
        try {
            t = readDelimited(text, Plenty);
        } catch (const TablorError&) {
            continue;
        }
        const PlainReading plain = readPlainly(text, t.separator);
        ASSERT_FALSE(plain.records.empty()) << text;
        // The cells as the test's cells() shows them, padded, decoded from UTF-8 or not; the
        // text is UTF-8 when every field is well-formed UTF-8 by itself.
        bool utf8 = true;
        std::size_t replaced = 0;
        auto shown = [&](bool decoded) {
            std::string out;
            for (std::size_t r = 0; r < std::max<std::size_t>(plain.records.size(), 2); ++r)
                for (std::size_t c = 0; c < plain.records[0].size(); ++c) {
                    std::string cell;
                    if (r < plain.records.size() && c < plain.records[r].size())
                        cell = plain.records[r][c];
                    if (decoded) {
                        std::string from = cell;
                        cell.resize(ansi::decodeUtf8(from, cell.data(), replaced, utf8));
                    }
                    out += (c > 0 ? "|" : r > 0 ? "/" : "") + cell;
                }
            return out;
        };
        const std::string decoded = shown(true);
        ASSERT_EQ(cells(*t.grid), utf8 ? decoded : shown(false)) << text;
        ASSERT_EQ(t.encoding, utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252) << text;
        ASSERT_EQ(t.replacedCharacters, utf8 ? replaced : 0) << text;
        ASSERT_EQ(t.replacedLineBreaks, plain.lineBreaks) << text;
    }
}

TEST(DelimitedText, WritesFieldNamesThenRecordsQuotedOnlyWhereNeeded) {
    TableDocument d;
    d.StringGrid1.setSize(3, 3);
    const char* texts[] = {"Nom", "Ville",      "Note", "M\xFCller", "Lyon; Rh\xF4ne",
                           "1,5", "dit \"Jo\"", "",     "\x80 20"};
    for (int i = 0; i < 9; ++i)
        d.StringGrid1.setCell(i % 3, i / 3, texts[i]);
    EXPECT_EQ(ExportDelimitedToBytes(d, {}),
              "\xEF\xBB\xBFNom;Ville;Note\r\nM\xC3\xBCller;\"Lyon; Rh\xC3\xB4ne\";\"1,5\"\r\n"
              "\"dit \"\"Jo\"\"\";;\xE2\x82\xAC 20\r\n");
    EXPECT_EQ(ExportDelimitedToBytes(d, {'\t', TextEncoding::Windows1252}),
              "Nom\tVille\tNote\r\nM\xFCller\t\"Lyon; Rh\xF4ne\"\t\"1,5\"\r\n"
              "\"dit \"\"Jo\"\"\"\t\t\x80 20\r\n");
}

TEST(DelimitedText, ReadsWhatOtherProgramsWrite) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string cells;
        char separator;
        TextEncoding encoding;
        std::string notice;
    };
    const Case cases[] = {
        {"semicolons, CR LF, BOM", "\xEF\xBB\xBFNom;Ville\r\nMartin;Lyon\r\n",
         "Nom|Ville/Martin|Lyon", ';', TextEncoding::Utf8, ""},
        {"commas, LF, quoted separators and quotes", "a,b\n\"x, y\",\"dit \"\"Jo\"\"\"\n",
         "a|b/x, y|dit \"Jo\"", ',', TextEncoding::Utf8, ""},
        {"tabs, CR, no final line end", "a\tb\rc\td", "a|b/c|d", '\t', TextEncoding::Utf8, ""},
        {"French decimals in a semicolon file", "n;v\r\n1,5;2,25\r\n", "n|v/1,5|2,25", ';',
         TextEncoding::Utf8, ""},
        {"Windows-1252 when not UTF-8", "Pr\xE9nom;\x80\r\nL\xE9o;5\r\n", "Pr\xE9nom|\x80/L\xE9o|5",
         ';', TextEncoding::Windows1252, ""},
        {"Windows-1252 though its first lines read as UTF-8", "a;b\r\n\xC3\xA9;\"x\ny\"\r\n\xE9;z",
         "a|b/\xC3\xA9|x y/\xE9|z", ';', TextEncoding::Windows1252,
         "1 saut de ligne remplacé par un blanc."},
        {"short rows padded, empty line an empty record", "a;b;c\r\n1\r\n\r\n2;3\r\n",
         "a|b|c/1||/||/2|3|", ';', TextEncoding::Utf8, ""},
        {"field names alone give one empty record", "a,b,c", "a|b|c/||", ',', TextEncoding::Utf8,
         ""},
        {"quoted line breaks of every kind", "a;b\r\n\"1\r\n2\";\"3\n4\r5\"\r\n", "a|b/1 2|3 4 5",
         ';', TextEncoding::Utf8, "3 sauts de ligne remplacés par un blanc."},
        {"characters Windows-1252 lacks", "a\n\xE2\x82\xAC\xE4\xB8\xAD?\n", "a/\x80??", ';',
         TextEncoding::Utf8, "1 caractère sans équivalent remplacé par « ? »."},
        {"both replacements", "a\n\"\xF0\x9F\x98\x80\xE4\xB8\xAD\n\"\n", "a/?? ", ';',
         TextEncoding::Utf8,
         "2 caractères sans équivalent remplacés par « ? »; 1 saut de ligne remplacé par un "
         "blanc."},
        {"text after a closing quote is kept", "a;b\n\"x\"y;z\n", "a|b/xy|z", ';',
         TextEncoding::Utf8, ""},
    };
    for (const Case& c : cases) {
        std::string bytes = c.bytes;
        const DelimitedTable t = readDelimited(bytes, Plenty);
        EXPECT_EQ(cells(*t.grid), c.cells) << c.what;
        EXPECT_EQ(t.separator, c.separator) << c.what;
        EXPECT_EQ(t.encoding, c.encoding) << c.what;
        EXPECT_EQ(replacementNotice(t), c.notice) << c.what;
    }
}

TEST(DelimitedText, RefusedFilesLeaveTheDocumentUntouched) {
    const std::string fortyOne = [] {
        std::string s = "f";
        for (int i = 1; i < 41; ++i)
            s += ";f";
        return s + "\r\n";
    }();
    const std::pair<std::string, std::string> cases[] = {
        {"", "Fichier vide"},
        {"\xEF\xBB\xBF", "Fichier vide"},
        {fortyOne, "Trop de champs dans ce fichier : 41, il en faut de 1 à 40"},
        {"a;b\r\n1;2\r\n1;2;3\r\n", "La ligne 3 a plus de champs que la ligne des noms de champs"},
        {"a;b\n\"x\ny\";2\n\"z;3\n", "Guillemet non fermé à la ligne 4"},
        {"a;b\r\n1;2\r\n", "Mémoire insuffisante pour ouvrir ce fichier de 1 enregistrements de 2 "
                           "champs"},
    };
    TableDocument d;
    d.StringGrid1.setCell(0, 1, "garde");
    d.FileName = "a.tbr";
    d.Modified = true;
    for (const auto& [bytes, message] : cases) {
        EXPECT_EQ(importError(d, bytes, bytes.size() < 12 ? 16 : Plenty), message) << bytes;
        EXPECT_EQ(d.StringGrid1.cell(0, 1), "garde");
        EXPECT_EQ(d.FileName, "a.tbr");
        EXPECT_TRUE(d.Modified);
    }
    // An import becomes an untitled table, not modified, with the members of a new table.
    d.SortField = 3;
    d.CardWidth = 10;
    EXPECT_EQ(importError(d, "x;y\n1;2"), "(imported)");
    EXPECT_EQ(cells(d.StringGrid1), "x|y/1|2");
    EXPECT_EQ(d.FileName, "");
    EXPECT_FALSE(d.Modified);
    EXPECT_EQ(d.RecordCount, 1);
    EXPECT_EQ(d.SortField, 0);
    EXPECT_EQ(d.CardWidth, DefaultCardWidth);
}
