#include "table/PrintListing.h"
#include "platform_core/FakeCanvas.h"

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

using Lines = std::vector<std::string>;

// Three fields; records (x, empty, z), (u, v, w) and an empty one.
void fill(StringGrid& g) {
    g.setColCount(3);
    g.setRowCount(4);
    const char* cells[4][3] = {{"A", "B", "C"}, {"x", "", "z"}, {"u", "v", "w"}, {"", "", ""}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            g.setCell(c, r, cells[r][c]);
}

TEST(PrintListing, HeadingEmptyLineThenEveryRecordWithABlankAfterEachCell) {
    StringGrid g;
    fill(g);
    g.setSelection({1, 2, 2, 2}); // ignored: the whole table prints
    FakeCanvas canvas;
    canvas.width = 1000;
    PrinterTextStream out(canvas);
    writeListing(out, g, printRange(g, false), "Titre", 1);
    EXPECT_EQ(
        canvas.drawn,
        (std::vector<Drawn>{
            {0, 0, 0, "Titre"}, {0, 0, 42, "x  z "}, {0, 0, 64, "u v w "}, {0, 0, 86, "   "}}));
}

TEST(PrintListing, LongRecordsBreakAcrossLinesAndPages) {
    StringGrid g(1, 2);
    g.setRowCount(6);
    for (int r = 1; r < 6; ++r)
        g.setCell(0, r, std::string(14, char('a' + r))); // 15 with blank
    FakeCanvas canvas; // ten characters to a line, eight lines to a page
    PrinterTextStream out(canvas);
    writeListing(out, g, printRange(g, false), "T", 1);
    EXPECT_EQ(canvas.pages(), (std::vector<Lines>{{"T", "bbbbbbbbbb", "bbbb ", "cccccccccc",
                                                   "cccc ", "dddddddddd", "dddd "},
                                                  {"eeeeeeeeee", "eeee ", "ffffffffff", "ffff "}}));
}

} // namespace
} // namespace tablor::test
