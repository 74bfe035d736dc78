#include "table/SearchScan.h"

#include <gtest/gtest.h>

#include <random>

namespace tablor {
namespace {

TEST(SearchScan, OnlyTheAsciiLettersFoldToUpperCase) {
    EXPECT_EQ(upperAscii("abc xyz `{@[ \xE9\xC9\xFF"), "ABC XYZ `{@[ \xE9\xC9\xFF");
    const KeywordMatcher abc("abc");
    EXPECT_EQ(abc.find("xABCx"), 1u);
    EXPECT_EQ(abc.find("Abc"), 0u);
    EXPECT_EQ(abc.find("ab c"), std::string_view::npos);
    EXPECT_EQ(KeywordMatcher("\xE9").find("\xC9"), std::string_view::npos);  // é does not find É
    EXPECT_EQ(KeywordMatcher("e").find("\xE9"), std::string_view::npos);     // e does not find é
    EXPECT_EQ(KeywordMatcher("lyon ").find("Lyon"), std::string_view::npos); // blanks count
    EXPECT_EQ(KeywordMatcher("on ").find("Lyon Lyon"), 2u);
}

// The word-at-a-time test of short cells must agree with the plain search for every byte.
TEST(SearchScan, ShortAndLongCellsAgreeWithThePlainSearch) {
    const std::string alphabet = std::string("aAzZ`{@[ e\xE9\xC9\x80\xFF\x01\x7F\0", 17);
    std::mt19937 rng(7);
    TextArena arena;
    auto randomText = [&](int maxLength) {
        std::string s(rng() % (maxLength + 1), ' ');
        for (char& ch : s)
            ch = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int i = 0; i < 200000; ++i) {
        const std::string text = randomText(i % 2 ? 7 : 12);
        const std::string keyword = randomText(3);
        const KeywordMatcher m(keyword);
        const CellWord cell = makeCell(text, arena);
        ASSERT_EQ(m.occursIn(cell), m.find(text) != std::string_view::npos)
            << "text " << text << " keyword " << keyword;
        // The plain search against a literal reading of the rule.
        const std::string upperText = upperAscii(text);
        ASSERT_EQ(m.find(text), upperText.find(upperAscii(keyword)));
    }
    // Runs of cells: the first one holding the keyword, as the scan finds it.
    for (int i = 0; i < 20000; ++i) {
        std::vector<std::string> texts;
        std::vector<CellWord> cells;
        for (int n = 0; n < int(rng() % 150); ++n) {
            texts.push_back(randomText(n % 3 ? 7 : 12));
            cells.push_back(makeCell(texts.back(), arena));
        }
        const std::string keyword = randomText(i % 5 ? 2 : 9);
        const KeywordMatcher m(keyword);
        int expected = int(cells.size());
        for (int k = 0; k < int(texts.size()) && expected == int(cells.size()); ++k)
            if (m.find(texts[k]) != std::string_view::npos) expected = k;
        ASSERT_EQ(m.firstIn(cells.data(), 0, int(cells.size())), expected) << keyword;
    }
    // A keyword too long for a short cell, or a cell exactly seven bytes long.
    EXPECT_FALSE(KeywordMatcher("abcdefgh").occursIn(makeCell("abcdefg", arena)));
    EXPECT_TRUE(KeywordMatcher("FG").occursIn(makeCell("abcdefg", arena)));
    EXPECT_TRUE(KeywordMatcher("abcdefgh").occursIn(makeCell("xxABCDEFGHxx", arena)));
}

class SearchScanGrid : public ::testing::Test {
protected:
    // Three fields, four records; "clé" in (1, 1), (0, 3) and (2, 3); "Clé" in the names.
    void SetUp() override {
        g.setColCount(3);
        g.setRowCount(5);
        g.setCell(0, 0, "Cl\xE9");
        g.setCell(1, 1, "la cl\xE9 bleue et longue");
        g.setCell(0, 3, "CL\xE9");
        g.setCell(2, 3, "une cl\xE9");
        g.setCell(2, 4, "fin");
    }
    StringGrid g{3, 2};
};

TEST_F(SearchScanGrid, RecordByRecordThenFieldByFieldFromTheStartCell) {
    EXPECT_EQ(scanForKeyword(g, "cl\xE9", 0, 1), (SearchHit{1, 1}));
    EXPECT_EQ(scanForKeyword(g, "cl\xE9", 2, 1), (SearchHit{0, 3})); // start column: start row only
    EXPECT_EQ(scanForKeyword(g, "cl\xE9", 1, 3), (SearchHit{2, 3}));
    EXPECT_EQ(scanForKeyword(g, "cl\xE9", 0, 4), std::nullopt);
    EXPECT_EQ(scanForKeyword(g, "FIN", 0, 1), (SearchHit{2, 4})); // the very last cell
}

TEST_F(SearchScanGrid, NamesAndStartsBeyondTheTableFindNothing) {
    EXPECT_EQ(scanForKeyword(g, "Cl\xE9", 0, 0), (SearchHit{1, 1})); // row 0 is skipped
    g.setCell(1, 1, "");
    g.setCell(0, 3, "");
    g.setCell(2, 3, "");
    EXPECT_EQ(scanForKeyword(g, "Cl\xE9", 0, 1), std::nullopt); // only in the field names
    EXPECT_EQ(scanForKeyword(g, "fin", 0, 5), std::nullopt);    // rows deleted meanwhile
    EXPECT_EQ(scanForKeyword(g, "fin", 7, 4), std::nullopt);    // fields deleted meanwhile
    g.setCell(0, 4, "fin");
    EXPECT_EQ(scanForKeyword(g, "fin", 7, 3), (SearchHit{0, 4}));
}

// The scan against a plain walk through the records, from random start cells, by one thread
// and by two sharing the records: the first hit in record order wins whichever half holds it.
TEST(SearchScan, TheScanFindsWhatAPlainWalkFinds) {
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        const int fields = 1 + int(rng() % 5), rows = 2 + int(rng() % 5000);
        StringGrid g(fields, rows);
        const int hits = int(rng() % 4);
        for (int h = 0; h < hits; ++h)
            g.setCell(int(rng() % fields), int(rng() % rows),
                      h % 2 ? "une CL\xE9 longue" : "xcl\xE9");
        const int startCol = int(rng() % (fields + 1)), startRow = int(rng() % (rows + 1));
        std::optional<SearchHit> expected;
        for (int r = std::max(startRow, 1); r < rows && !expected; ++r)
            for (int c = r == startRow ? startCol : 0; c < fields && !expected; ++c)
                if (upperAscii(g.cell(c, r)).find("CL\xE9") != std::string::npos)
                    expected = SearchHit{c, r};
        ASSERT_EQ(scanForKeyword(g, "cl\xE9", startCol, startRow), expected) << round;
        ASSERT_EQ(scanForKeyword(g, "cl\xE9", startCol, startRow, 0), expected) << round;
    }
}

} // namespace
} // namespace tablor
