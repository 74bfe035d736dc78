#include "about/LineGeometry.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tablor {

namespace {

int clampSize(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, LineMaxSize));
}

// A middle line is ten times as thick as its pen. A pen of width 0 still draws one pixel, so it
// counts as 1 here; otherwise the control would shrink to nothing and never show its line.
int middleThickness(int penWidth) {
    return clampSize(std::int64_t{10} * std::max(penWidth, 1));
}

// The custom style's rule on one axis: negative coordinates become 0, and the extent grows to
// hold the larger one. `last` is the extent minus one, as taken at the start of the paint.
void clampAxis(int last, int& extent, int& from, int& to) {
    if (to < 0) to = 0;
    if (from < 0) from = 0;
    if (last < to || last < from) extent = clampSize(std::int64_t{std::max(from, to)} + 1);
}

} // namespace

LinePaintPlan planLinePaint(TLineType line, LineSize size, int penWidth, LinePoint from,
                            LinePoint to) {
    const int a = size.width - 1;
    const int b = size.height - 1;
    const int w = a / 2; // C++ division truncates toward zero, as the rule asks
    const int h = b / 2;
    LinePaintPlan plan{from, to, size};
    switch (line) {
    case TLineType::ltCustom:
        clampAxis(a, plan.size.width, plan.from.x, plan.to.x);
        clampAxis(b, plan.size.height, plan.from.y, plan.to.y);
        break;
    case TLineType::ltHorizontal:
        plan.from = {0, h};
        plan.to = {a, h};
        plan.size.height = middleThickness(penWidth);
        break;
    case TLineType::ltVertical:
        plan.from = {w, 0};
        plan.to = {w, b};
        plan.size.width = middleThickness(penWidth);
        break;
    case TLineType::ltTop:
        plan.from = {0, 0};
        plan.to = {a, 0};
        break;
    case TLineType::ltBottom:
        plan.from = {0, b};
        plan.to = {a, b};
        break;
    case TLineType::ltLeft:
        plan.from = {0, 0};
        plan.to = {0, b};
        break;
    case TLineType::ltRight:
        plan.from = {a, 0};
        plan.to = {a, b};
        break;
    case TLineType::ltUpDiagonal:
        plan.from = {0, b};
        plan.to = {a, 0};
        break;
    case TLineType::ltDownDiagonal:
        plan.from = {0, 0};
        plan.to = {a, b};
        break;
    }
    return plan;
}

LineSize sizeAfterStyleChange(TLineType oldLine, TLineType newLine, LineSize size) {
    using enum TLineType;
    if (oldLine == newLine) return size;
    if (oldLine == ltHorizontal) {
        switch (newLine) {
        case ltVertical:
            std::swap(size.width, size.height);
            break;
        case ltTop:
        case ltBottom:
        case ltUpDiagonal:
        case ltDownDiagonal:
            size.height = LineDefaultSize;
            break;
        case ltLeft:
        case ltRight:
            // The line stands up: it keeps its length.
            size.height = size.width;
            size.width = LineDefaultSize;
            break;
        default:
            break;
        }
    } else if (oldLine == ltVertical) {
        switch (newLine) {
        case ltHorizontal:
            std::swap(size.width, size.height);
            break;
        case ltTop:
        case ltBottom:
            // The line lies down: it keeps its length.
            size.width = size.height;
            size.height = LineDefaultSize;
            break;
        case ltLeft:
        case ltRight:
        case ltUpDiagonal:
        case ltDownDiagonal:
            size.width = LineDefaultSize;
            break;
        default:
            break;
        }
    }
    return size;
}

} // namespace tablor
