#include "table/RecordEditing.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace tablor;

namespace {

using Rows = std::vector<std::vector<std::string>>; // rows[0] holds the field names

// A document of `fields` fields and `records` records whose cells name their place ("c2r5").
void fillNumbered(TableDocument& doc, int fields, int records) {
    StringGrid& g = doc.StringGrid1;
    g.setSize(fields, records + 1);
    for (int c = 0; c < fields; ++c)
        for (int r = 0; r <= records; ++r)
            g.setCell(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
    doc.RecordCount = records;
}

Rows contents(const StringGrid& g) {
    Rows rows(g.RowCount());
    for (int r = 0; r < g.RowCount(); ++r)
        rows[r] = g.rowStrings(r);
    return rows;
}

// The deletions as a literal step-by-step reference: copy what follows the selection up (or
// left), then blank the last k rows (columns) from the bottom, dropping each while the minimum
// allows it.
void referenceDeleteRecords(Rows& rows, int top, int bottom) {
    const int k = bottom - top + 1;
    for (int r = bottom + 1; r < static_cast<int>(rows.size()); ++r)
        rows[r - k] = rows[r];
    for (int i = 0; i < k; ++i) {
        const int c = static_cast<int>(rows.size()) - 1;
        rows[c].assign(rows[c].size(), "");
        if (rows.size() >= 3) rows.pop_back();
    }
}

void referenceDeleteFields(Rows& rows, int left, int right) {
    const int k = right - left + 1;
    const int fields = static_cast<int>(rows[0].size());
    for (auto& row : rows)
        for (int c = right + 1; c < fields; ++c)
            row[c - k] = row[c];
    for (int i = 0; i < k; ++i) {
        const int c = static_cast<int>(rows[0].size()) - 1;
        for (auto& row : rows)
            row[c] = "";
        if (rows[0].size() >= 2)
            for (auto& row : rows)
                row.pop_back();
    }
}

struct ClickCounter {
    explicit ClickCounter(StringGrid& g) {
        g.onClick = [this] { ++clicks; };
    }
    int clicks = 0;
};

} // namespace

TEST(RecordEditing, AppendRecordAddsAnEmptyCurrentRecordAtTheEnd) {
    TableDocument doc;
    StringGrid& g = doc.StringGrid1;
    g.setCell(3, 1, "x");
    g.moveTo(3, 1);
    ClickCounter counter(g);
    AppendRecord(doc);
    EXPECT_EQ(contents(g).back(), std::vector<std::string>(10, ""));
    EXPECT_EQ(doc.RecordCount, 2);
    EXPECT_EQ(g.Selection(), (GridRect{0, 2, 0, 2}));
    EXPECT_EQ(counter.clicks, 2); // the column, then the row: the card follows each move
    EXPECT_TRUE(doc.Modified);
}

TEST(RecordEditing, ATableThatShrankGrowsBackEmpty) {
    TableDocument doc;
    fillNumbered(doc, 10, 50);
    StringGrid& g = doc.StringGrid1;
    g.setSelection({0, 1, 0, 50});
    DeleteSelectedRecords(doc);
    g.setSelection({3, 1, 9, 1});
    DeleteSelectedFields(doc);
    AppendRecord(doc);
    ASSERT_TRUE(AppendField(doc));
    EXPECT_EQ(contents(g),
              (Rows{{"c0r0", "c1r0", "c2r0", "Champ 4"}, {"", "", "", ""}, {"", "", "", ""}}));
    EXPECT_EQ(g.colWidth(3), StringGrid::DefaultColWidth);
}

TEST(RecordEditing, EmptyingTheLastRecordOrFieldKeepsTheSelection) {
    // The size does not change, so neither does the selection.
    TableDocument doc;
    fillNumbered(doc, 4, 1);
    StringGrid& g = doc.StringGrid1;
    g.moveTo(1, 1);
    g.setSelection({1, 1, 3, 1});
    DeleteSelectedRecords(doc);
    EXPECT_EQ(contents(g), (Rows{{"c0r0", "c1r0", "c2r0", "c3r0"}, {"", "", "", ""}}));
    EXPECT_EQ(doc.RecordCount, 1);
    EXPECT_TRUE(doc.Modified);
    EXPECT_EQ(g.Selection(), (GridRect{1, 1, 3, 1}));

    fillNumbered(doc, 1, 3);
    g.moveTo(0, 1);
    g.setSelection({0, 1, 0, 3});
    DeleteSelectedFields(doc);
    EXPECT_EQ(contents(g), (Rows{{""}, {""}, {""}, {""}}));
    EXPECT_EQ(g.Selection(), (GridRect{0, 1, 0, 3}));
}

TEST(RecordEditing, DeletionsMatchTheStepByStepReference) {
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        TableDocument doc;
        const int fields = 1 + static_cast<int>(rng() % 6);
        const int records = 1 + static_cast<int>(rng() % 12);
        fillNumbered(doc, fields, records);
        StringGrid& g = doc.StringGrid1;
        for (int c = 0; c < fields; ++c)
            g.setColWidth(c, 20 + c);
        Rows expected = contents(g);

        const int top = 1 + static_cast<int>(rng() % records);
        const int bottom = top + static_cast<int>(rng() % (records - top + 1));
        const int left = static_cast<int>(rng() % fields);
        const int right = left + static_cast<int>(rng() % (fields - left));
        g.moveTo(left, top);
        g.setSelection({left, top, right, bottom});
        if (round % 2 == 0) {
            DeleteSelectedRecords(doc);
            referenceDeleteRecords(expected, top, bottom);
        } else {
            DeleteSelectedFields(doc);
            referenceDeleteFields(expected, left, right);
        }
        ASSERT_EQ(contents(g), expected) << "round " << round;
        ASSERT_EQ(doc.RecordCount, g.RowCount() - 1);
        // Widths stay with their positions; the current cell keeps its place or moves inside.
        for (int c = 0; c < g.ColCount(); ++c)
            ASSERT_EQ(g.colWidth(c), 20 + c);
        ASSERT_EQ(g.Col(), std::min(left, g.ColCount() - 1));
        ASSERT_EQ(g.Row(), std::min(top, g.RowCount() - 1));
    }
}

TEST(RecordEditing, TheFortyFirstFieldIsRefused) {
    TableDocument doc;
    fillNumbered(doc, 39, 2);
    StringGrid& g = doc.StringGrid1;
    g.moveTo(2, 2);
    ClickCounter counter(g);
    ASSERT_TRUE(AppendField(doc));
    EXPECT_EQ(g.cell(39, 0), "Champ 40");
    EXPECT_EQ(g.Col(), 39);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(counter.clicks, 1);

    doc.Modified = false;
    const Rows before = contents(g);
    EXPECT_FALSE(AppendField(doc));
    EXPECT_EQ(contents(g), before);
    EXPECT_FALSE(doc.Modified);
    EXPECT_EQ(counter.clicks, 1);
}
