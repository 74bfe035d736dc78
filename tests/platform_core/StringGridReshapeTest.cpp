#include "platform/StringGrid.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tablor;

namespace {
void fillNumbered(StringGrid& g, int cols, int rows) {
    g.setSize(cols, rows);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            g.setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
}
} // namespace

TEST(StringGridReshape, RemovingRowsAndColumnsKeepsAMinimum) {
    StringGrid g;
    fillNumbered(g, 3, 5);
    g.moveTo(2, 4);
    g.removeRows(2, 2, 2);
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.cell(0, 2), "0:4");
    EXPECT_EQ(g.Selection(), (GridRect{2, 2, 2, 2})); // current pulled inside, selection shrunk
    g.removeRows(1, 2, 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.cell(1, 1), "");
    EXPECT_EQ(g.cell(1, 0), "1:0");

    g.setColWidth(0, 10);
    g.removeCols(0, 3, 1);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.colWidth(0), 10);
}

TEST(StringGridReshape, EmptyingWithoutDroppingKeepsTheSelection) {
    StringGrid g;
    fillNumbered(g, 3, 2);
    g.moveTo(0, 1);
    g.setSelection({0, 1, 2, 1});
    g.removeRows(1, 1, 2);
    EXPECT_EQ(g.Selection(), (GridRect{0, 1, 2, 1}));

    fillNumbered(g, 1, 4);
    g.moveTo(0, 1);
    g.setSelection({0, 1, 0, 3});
    g.removeCols(0, 1, 1);
    EXPECT_EQ(g.Selection(), (GridRect{0, 1, 0, 3}));
    EXPECT_EQ(g.cell(0, 2), "");
}

TEST(StringGridReshape, PermuteAndBlankTouchOnlyRecords) {
    StringGrid g;
    fillNumbered(g, 2, 4);
    const std::vector<int> order{2, 0, 1};
    g.permuteRecords(order);
    EXPECT_EQ(g.colStrings(1), (std::vector<std::string>{"1:0", "1:3", "1:1", "1:2"}));
    g.blankRecords();
    EXPECT_EQ(g.colStrings(0), (std::vector<std::string>{"0:0", "", "", ""}));
}
