#pragma once
// Where a TLine draws and how it sizes itself, without any painting: the rules the line control
// follows at each paint and at each change of style. Qt-free, so they are tested on their own.

#include <cstdint>

namespace tablor {

enum class TLineType : std::uint8_t {
    ltCustom,       // from (FromX, FromY) to (ToX, ToY)
    ltHorizontal,   // at half the height
    ltVertical,     // at half the width
    ltTop,          // along the top edge
    ltBottom,       // along the bottom edge
    ltLeft,         // along the left edge
    ltRight,        // along the right edge
    ltUpDiagonal,   // bottom-left to top-right
    ltDownDiagonal, // top-left to bottom-right
};

struct LinePoint {
    int x = 0, y = 0;
    bool operator==(const LinePoint&) const = default;
};

struct LineSize {
    int width = 0, height = 0;
    bool operator==(const LineSize&) const = default;
};

// A new control is this wide and high; some style changes fall back to it.
inline constexpr int LineDefaultSize = 65;
// No control grows beyond what a window system can hold (Qt's own limit).
inline constexpr int LineMaxSize = 16777215;

// What one paint works out: the two points, which the control keeps as its FromX..ToY, and its
// size afterwards. A size different from the one painted means the control must repaint.
struct LinePaintPlan {
    LinePoint from, to;
    LineSize size;
};

// The points of a paint in a control of the given size, for the given style. `from` and `to`
// are the control's present coordinates: a custom line clamps them to zero and grows the control
// to hold them (never shrinks it); the middle styles set their thickness from the pen width.
LinePaintPlan planLinePaint(TLineType line, LineSize size, int penWidth, LinePoint from,
                            LinePoint to);

// The size after the style changes from `oldLine` to `newLine` (which differ). Only a change
// away from the two middle styles changes anything.
LineSize sizeAfterStyleChange(TLineType oldLine, TLineType newLine, LineSize size);

} // namespace tablor
