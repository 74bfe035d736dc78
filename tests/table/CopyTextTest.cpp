#include "table/CopyText.h"

#include <gtest/gtest.h>

using namespace tablor;

namespace {
// Three fields; records ('x', empty, 'z'), ('u', 'v', 'w'), (empty, empty, empty), ('\xE9', 'b',
// 'c').
void fillSample(StringGrid& g) {
    g.setSize(3, 5);
    const char* cells[5][3] = {
        {"A", "B", "C"}, {"x", "", "z"}, {"u", "v", "w"}, {"", "", ""}, {"\xE9", "b", "c"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            g.setCell(c, r, cells[r][c]);
}

std::string copiedLines(const StringGrid& g, const CopyRange& range) {
    return CopiedText({}, g.snapshot(range.cells)).text();
}
} // namespace

TEST(CopyText, OneSelectedCellCopiesTheWholeTable) {
    StringGrid g;
    fillSample(g);
    g.moveTo(1, 2);
    const CopyRange range = copyRangeOf(g);
    EXPECT_FALSE(range.isSelection);
    EXPECT_EQ(range.cells, (GridRect{0, 1, 2, 4}));
    // Field names never; an empty cell gives no line; an empty record only its separator; UTF-8.
    EXPECT_EQ(copiedLines(g, range),
              "\r\nx\r\nz\r\n\r\nu\r\nv\r\nw\r\n\r\n\r\n\xC3\xA9\r\nb\r\nc\r\n\r\n");
}

TEST(CopyText, ALargerSelectionCopiesJustItsCells) {
    StringGrid g;
    fillSample(g);
    g.moveTo(1, 2);
    g.setSelection({1, 2, 2, 3});
    CopyRange range = copyRangeOf(g);
    EXPECT_TRUE(range.isSelection);
    EXPECT_EQ(copiedLines(g, range), "\r\nv\r\nw\r\n\r\n\r\n");

    // Two cells of one row.
    g.setSelection({0, 1, 1, 1});
    range = copyRangeOf(g);
    EXPECT_TRUE(range.isSelection);
    EXPECT_EQ(copiedLines(g, range), "\r\nx\r\n\r\n");
}

TEST(CopyText, TheCardCopiesTheChosenFieldsOfTheCurrentRecordAndKeepsTheChoice) {
    TableDocument d;
    fillSample(d.StringGrid1);
    d.StringGrid1.moveTo(0, 4);
    // A choice shorter than the fields leaves the last one out; an empty cell still gives its line.
    d.StringGrid1.setCell(1, 4, "");
    EXPECT_EQ(copyChosenFields(d, {true, true}), "\xE9\r\n\r\n");
    EXPECT_EQ(d.CopyFlags[0], 1);
    EXPECT_EQ(d.CopyFlags[1], 1);
    EXPECT_EQ(d.CopyFlags[2], 0);
    EXPECT_EQ(d.CopyFlags[3], 1) << "flags past the table's fields stay";

    EXPECT_EQ(copyChosenFields(d, {false, false, false}), "");
    EXPECT_EQ(d.CopyFlags[0], 0);
}
