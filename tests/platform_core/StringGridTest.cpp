// The grid store: the rules the table commands rely on.

#include "platform/StringGrid.h"
#include "platform/Ansi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>
#include <random>

using namespace tablor;

namespace {
ScratchArray<int> orderOf(std::span<const int> places) {
    ScratchArray<int> order(places.size());
    std::copy(places.begin(), places.end(), order.begin());
    return order;
}

std::string longText(int i) {
    return "texte assez long n\xb0" + std::to_string(i);
}
} // namespace

TEST(StringGrid, ShortLongAndEmptyCells) {
    StringGrid g(3, 4);
    g.setCell(1, 2, "abc");
    g.setCell(2, 3, std::string(100, 'x'));
    g.setCell(0, 1, std::string("a\0b", 3));
    EXPECT_EQ(g.cell(1, 2), "abc");
    EXPECT_EQ(g.cell(2, 3), std::string(100, 'x'));
    EXPECT_EQ(g.cell(0, 1), std::string("a\0b", 3));
    EXPECT_EQ(g.cell(0, 0), "");
    g.setCell(2, 3, "");
    EXPECT_EQ(g.cell(2, 3), "");
}

TEST(StringGrid, ShrinkingDropsCellsAndGrowingBringsEmptyOnes) {
    StringGrid g(3, 5);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 5; ++r)
            g.setCell(c, r, longText(c * 10 + r));
    g.setColWidth(2, 150);
    g.moveTo(2, 4);
    g.setColCount(2);
    g.setRowCount(3);
    EXPECT_EQ(g.Col(), 1); // pulled back inside
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Selection(), (GridRect{1, 2, 1, 2}));
    g.setColCount(3);
    g.setRowCount(5);
    EXPECT_EQ(g.cell(2, 0), "");
    EXPECT_EQ(g.cell(0, 4), "");
    EXPECT_EQ(g.colWidth(2), StringGrid::DefaultColWidth);
    EXPECT_EQ(g.cell(1, 2), longText(12));
    // Never below one column and two rows.
    g.setColCount(0);
    g.setRowCount(1);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.RowCount(), 2);
}

TEST(StringGrid, ClickOnlyWhenTheCurrentCellReallyMoves) {
    StringGrid g(4, 6);
    int clicks = 0;
    g.onClick = [&] { ++clicks; };
    g.setSelection({0, 1, 3, 4});
    g.setCol(0);
    g.setRow(1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(g.Selection(), (GridRect{0, 1, 3, 4})); // no move, selection kept
    g.setRow(3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g.Selection(), (GridRect{0, 3, 0, 3}));
    g.moveTo(2, 3);
    g.moveTo(2, 3);
    EXPECT_EQ(clicks, 2);
}

TEST(StringGrid, MovingAColumnCarriesItsCellsAndWidth) {
    StringGrid g(3, 3);
    for (int c = 0; c < 3; ++c) {
        g.setCell(c, 0, "F" + std::to_string(c));
        g.setCell(c, 2, longText(c));
        g.setColWidth(c, 50 + c);
    }
    g.moveColumn(2, 0);
    EXPECT_EQ(g.cell(0, 0), "F2");
    EXPECT_EQ(g.cell(1, 0), "F0");
    EXPECT_EQ(g.cell(2, 2), longText(1));
    EXPECT_EQ(g.colWidth(0), 52);
    g.moveColumn(0, 2);
    EXPECT_EQ(g.cell(2, 0), "F2");
    EXPECT_EQ(g.colWidth(1), 51);
}

TEST(StringGrid, RemovingRowsNeverLeavesFewerThanOneRecord) {
    StringGrid g(2, 7);
    for (int r = 1; r < 7; ++r)
        g.setCell(0, r, longText(r));
    g.removeRows(2, 3, 2); // records 2..4
    ASSERT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.cell(0, 1), longText(1));
    EXPECT_EQ(g.cell(0, 2), longText(5));
    EXPECT_EQ(g.cell(0, 3), longText(6));
    g.removeRows(1, 3, 2);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.cell(0, 1), "");
    g.setRowCount(4);
    EXPECT_EQ(g.cell(0, 3), ""); // never an earlier record's text
}

TEST(StringGrid, TheArenaKeepsEveryLiveTextThroughHeavyEditing) {
    // Enough long texts replaced over and over for the arena to compact several times: most
    // short, some around the longest length a cell word holds, a few larger than a block.
    StringGrid g(4, 2001);
    std::mt19937 rng(7);
    auto length = [&]() -> std::size_t {
        const unsigned k = rng() % 1000;
        if (k == 0) return (std::size_t{1} << 20) + rng() % 64;
        if (k < 8) return 65533 + rng() % 5;
        return k < 500 ? rng() % 41 : 20 + rng() % 300;
    };
    // The bytes the arena holds for the live texts: those of the texts longer than seven,
    // with four more for a length of 65535 or more.
    auto liveBytes = [](const std::vector<std::string>& texts) {
        std::size_t n = 0;
        for (const auto& t : texts)
            n += t.size() < 8 ? 0 : t.size() < 65535 ? t.size() : t.size() + 4;
        return n;
    };
    std::vector<std::string> expect(4 * 2001);
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 4000; ++i) {
            const int c = rng() % 4, r = rng() % 2001;
            std::string t = std::to_string(i);
            t.resize(length(), char('a' + round % 26));
            g.setCell(c, r, t);
            expect[c * 2001 + r] = t;
        }
        ASSERT_EQ(g.texts().liveBytes(), liveBytes(expect)) << "round " << round;
    }
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 2001; ++r)
            ASSERT_EQ(g.cell(c, r), expect[c * 2001 + r]);
    EXPECT_LT(g.memoryBytes(), std::size_t{64} << 20);
    // Reordering the records copies the live texts into a fresh arena, the garbage left behind.
    std::vector<int> order(2000);
    for (int i = 0; i < 2000; ++i)
        order[i] = 1999 - i;
    g.permuteRecords(orderOf(order));
    EXPECT_EQ(g.texts().garbageBytes(), 0u);
    EXPECT_EQ(g.texts().liveBytes(), liveBytes(expect));
    for (int c = 0; c < 4; ++c)
        for (int r = 1; r < 2001; ++r)
            ASSERT_EQ(g.cell(c, 2001 - r), expect[c * 2001 + r]);
}

TEST(StringGrid, PermutingRecordsKeepsTheHeader) {
    StringGrid g(2, 4);
    g.setCell(0, 0, "Nom");
    for (int r = 1; r < 4; ++r)
        g.setCell(1, r, longText(r));
    const int order[] = {2, 0, 1};
    g.permuteRecords(orderOf(order));
    EXPECT_EQ(g.cell(0, 0), "Nom");
    EXPECT_EQ(g.cell(1, 1), longText(3));
    EXPECT_EQ(g.cell(1, 2), longText(1));
    EXPECT_EQ(g.cell(1, 3), longText(2));
}

// Snapshots taken between random changes read, to the end and after the grid is gone, what
// the grid held when each was taken; the grid itself changes as a grid never snapshotted does.
TEST(StringGrid, ASnapshotStaysAsTakenWhateverTheGridDoes) {
    std::mt19937 rng(5);
    auto pick = [&rng](int from, int to) { return from + int(rng() % unsigned(to - from + 1)); };
    auto grid = std::make_unique<StringGrid>(4, 30);
    StringGrid plain(4, 30);
    struct Taken {
        GridSnapshot snapshot;
        std::vector<std::string> cells;
    };
    std::vector<Taken> taken;
    for (int step = 0; step < 3000; ++step) {
        const int cols = plain.ColCount(), rows = plain.RowCount();
        const int c = pick(0, cols - 1), to = pick(0, cols - 1), r = pick(0, rows - 1);
        const int first = pick(1, rows - 1), count = pick(1, rows - first), n = pick(1, 40);
        std::function<void(StringGrid&)> change;
        switch (rng() % 12) {
        case 0: {
            GridRect range{pick(0, c), pick(1, rows - 1), c, 0};
            range.Bottom = pick(range.Top, rows - 1);
            Taken t{grid->snapshot(range), {}};
            for (int row = range.Top; row <= range.Bottom; ++row)
                for (int col = range.Left; col <= range.Right; ++col)
                    t.cells.emplace_back(grid->cell(col, row));
            taken.push_back(std::move(t));
            continue;
        }
        case 1:
            change = [=](StringGrid& g) { g.removeRows(first, count, 2); };
            break;
        case 2:
            change = [=](StringGrid& g) { g.setRowCount(n + 1); };
            break;
        case 3:
            change = [=](StringGrid& g) { g.setColCount(n % 6 + 1); };
            break;
        case 4:
            change = [=](StringGrid& g) { g.removeCols(c, 1 + n % (cols - c), 1); };
            break;
        case 5:
            change = [=](StringGrid& g) { g.moveColumn(c, to); };
            break;
        case 6: {
            std::vector<int> order(std::size_t(rows - 1));
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            change = [order](StringGrid& g) { g.permuteRecords(orderOf(order)); };
            break;
        }
        case 7:
            change = [=](StringGrid& g) { n < 10 ? g.blankRecords() : g.clearRow(r); };
            break;
        default: {
            const std::string text = n % 2 ? longText(step) : std::to_string(step % 100);
            change = [=](StringGrid& g) { g.setCell(c, r, text); };
        }
        }
        change(*grid);
        change(plain);
    }
    for (int c = 0; c < plain.ColCount(); ++c)
        for (int r = 0; r < plain.RowCount(); ++r)
            ASSERT_EQ(grid->cell(c, r), plain.cell(c, r));
    // A new table takes the grid's place, then the grid goes.
    grid->assign(StringGrid(2, 2));
    grid.reset();
    ASSERT_GT(taken.size(), 100u);
    for (const Taken& t : taken) {
        const GridRect& range = t.snapshot.cells();
        std::size_t i = 0;
        for (int row = range.Top; row <= range.Bottom; ++row)
            for (int col = range.Left; col <= range.Right; ++col)
                ASSERT_EQ(t.snapshot.cell(col, row), t.cells[i++]);
    }
}

TEST(Ansi, EveryByteRoundTripsThroughUnicode) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const std::string utf8 = ansi::toUtf8(all);
    EXPECT_EQ(ansi::fromUtf8(utf8), all);
    EXPECT_EQ(ansi::toUtf8("\x80\xe9\x9c"), "\u20ac\u00e9\u0153");
    EXPECT_EQ(ansi::fromUtf8("\u4e2d"), "?"); // not in the code page
    EXPECT_EQ(ansi::fromUtf8("a\xff"
                             "b"),
              "a?b");                       // broken UTF-8
    EXPECT_EQ(ansi::fromUtf8("\xc3"), "?"); // cut short
}
