#include "platform/StringGrid.h"

#include <gtest/gtest.h>

using namespace tablor;

TEST(StringGrid, KeepsShortAndLongTexts) {
    StringGrid g(3, 4);
    g.setCell(1, 2, "abc");
    g.setCell(2, 3, std::string(100, 'x'));
    EXPECT_EQ(g.cell(1, 2), "abc");
    EXPECT_EQ(g.cell(2, 3), std::string(100, 'x'));
    EXPECT_EQ(g.cell(0, 0), "");
}
