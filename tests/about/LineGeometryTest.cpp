// The line control's rules without painting: where each style draws, how a paint resizes the
// control, and how a change of style does.
#include "about/LineGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace tablor {
namespace {

using enum TLineType;

LinePaintPlan plan(TLineType line, LineSize size, int pen = 1, LinePoint from = {0, 0},
                   LinePoint to = {35, 35}) {
    return planLinePaint(line, size, pen, from, to);
}

TEST(LineGeometry, FixedStylesDrawAlongTheirPlace) {
    // 101 x 51: a = 100, b = 50, half-width 50, half-height 25.
    const LineSize s{101, 51};
    struct Case {
        TLineType line;
        LinePoint from, to;
    } cases[] = {
        {ltTop, {0, 0}, {100, 0}},         {ltBottom, {0, 50}, {100, 50}},
        {ltLeft, {0, 0}, {0, 50}},         {ltRight, {100, 0}, {100, 50}},
        {ltUpDiagonal, {0, 50}, {100, 0}}, {ltDownDiagonal, {0, 0}, {100, 50}},
    };
    for (const Case& c : cases) {
        const LinePaintPlan p = plan(c.line, s, 3, {7, 8}, {9, 10});
        EXPECT_EQ(p.from, c.from) << int(c.line);
        EXPECT_EQ(p.to, c.to) << int(c.line);
        EXPECT_EQ(p.size, s) << "only the middle styles change the size";
    }
}

TEST(LineGeometry, MiddleStylesSetTheirThicknessFromThePen) {
    // The about window's separator: 196 wide settles at 10 high and draws row 4.
    LinePaintPlan p = plan(ltHorizontal, {196, 65});
    EXPECT_EQ(p.from, (LinePoint{0, 32}));
    EXPECT_EQ(p.to, (LinePoint{195, 32}));
    EXPECT_EQ(p.size, (LineSize{196, 10}));
    p = plan(ltHorizontal, p.size);
    EXPECT_EQ(p.from, (LinePoint{0, 4}));
    EXPECT_EQ(p.to, (LinePoint{195, 4}));
    EXPECT_EQ(p.size, (LineSize{196, 10})) << "settled: no further repaint";

    EXPECT_EQ(plan(ltHorizontal, {196, 10}, 2).size, (LineSize{196, 20}));
    p = plan(ltVertical, {65, 120}, 3);
    EXPECT_EQ(p.from, (LinePoint{32, 0}));
    EXPECT_EQ(p.to, (LinePoint{32, 119}));
    EXPECT_EQ(p.size, (LineSize{30, 120}));
    // Halves truncate toward zero: a 10-high control draws row 4, a 1-high one row 0.
    EXPECT_EQ(plan(ltHorizontal, {5, 1}).from.y, 0);
    EXPECT_EQ(plan(ltHorizontal, {5, 0}).from.y, 0);
}

TEST(LineGeometry, ZeroWidthPenStillLeavesRoomForItsPixel) {
    // A zero-width pen draws one pixel; the control must not shrink to nothing.
    EXPECT_EQ(plan(ltHorizontal, {50, 65}, 0).size, (LineSize{50, 10}));
    EXPECT_EQ(plan(ltVertical, {65, 50}, 0).size, (LineSize{10, 50}));
    // A huge pen cannot overflow the size.
    EXPECT_EQ(plan(ltHorizontal, {50, 65}, INT_MAX).size.height, LineMaxSize);
}

TEST(LineGeometry, CustomLineClampsToZeroAndGrowsButNeverShrinks) {
    // A new control: 65 x 65, from (0, 0) to (35, 35), nothing to change.
    LinePaintPlan p = plan(ltCustom, {65, 65});
    EXPECT_EQ(p.from, (LinePoint{0, 0}));
    EXPECT_EQ(p.to, (LinePoint{35, 35}));
    EXPECT_EQ(p.size, (LineSize{65, 65}));

    p = plan(ltCustom, {65, 65}, 1, {0, 0}, {100, 35});
    EXPECT_EQ(p.size, (LineSize{101, 65}));
    EXPECT_EQ(p.to, (LinePoint{100, 35}));

    p = plan(ltCustom, {65, 65}, 1, {-7, -5}, {-3, 20});
    EXPECT_EQ(p.from, (LinePoint{0, 0}));
    EXPECT_EQ(p.to, (LinePoint{0, 20}));
    EXPECT_EQ(p.size, (LineSize{65, 65}));

    // The larger of the two decides, on each axis on its own.
    p = plan(ltCustom, {10, 10}, 1, {40, 3}, {12, 70});
    EXPECT_EQ(p.size, (LineSize{41, 71}));
    // A point exactly on the last pixel fits; one further grows.
    EXPECT_EQ(plan(ltCustom, {10, 10}, 1, {9, 9}, {0, 0}).size, (LineSize{10, 10}));
    EXPECT_EQ(plan(ltCustom, {10, 10}, 1, {10, 0}, {0, 0}).size, (LineSize{11, 10}));
    // Points far inside never shrink the control.
    EXPECT_EQ(plan(ltCustom, {300, 200}, 1, {1, 1}, {2, 2}).size, (LineSize{300, 200}));
    // The largest coordinate cannot overflow the size.
    EXPECT_EQ(plan(ltCustom, {10, 10}, 1, {0, 0}, {INT_MAX, INT_MAX}).size,
              (LineSize{LineMaxSize, LineMaxSize}));
}

TEST(LineGeometry, StyleChangesAwayFromTheMiddleStyles) {
    const LineSize flat{196, 10}, upright{10, 196};
    EXPECT_EQ(sizeAfterStyleChange(ltHorizontal, ltVertical, flat), upright);
    EXPECT_EQ(sizeAfterStyleChange(ltVertical, ltHorizontal, upright), flat);
    for (TLineType to : {ltTop, ltBottom, ltUpDiagonal, ltDownDiagonal})
        EXPECT_EQ(sizeAfterStyleChange(ltHorizontal, to, flat), (LineSize{196, 65}));
    for (TLineType to : {ltLeft, ltRight})
        EXPECT_EQ(sizeAfterStyleChange(ltHorizontal, to, flat), (LineSize{65, 196}));
    for (TLineType to : {ltTop, ltBottom})
        EXPECT_EQ(sizeAfterStyleChange(ltVertical, to, upright), (LineSize{196, 65}));
    for (TLineType to : {ltLeft, ltRight, ltUpDiagonal, ltDownDiagonal})
        EXPECT_EQ(sizeAfterStyleChange(ltVertical, to, upright), (LineSize{65, 196}));
    EXPECT_EQ(sizeAfterStyleChange(ltHorizontal, ltCustom, flat), flat);
    EXPECT_EQ(sizeAfterStyleChange(ltVertical, ltCustom, upright), upright);
    // Every other change keeps the size.
    for (TLineType from :
         {ltCustom, ltTop, ltBottom, ltLeft, ltRight, ltUpDiagonal, ltDownDiagonal})
        for (TLineType to : {ltCustom, ltHorizontal, ltVertical, ltTop, ltLeft, ltUpDiagonal})
            EXPECT_EQ(sizeAfterStyleChange(from, to, LineSize{30, 40}), (LineSize{30, 40}));
}

} // namespace
} // namespace tablor
