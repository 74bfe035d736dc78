#include "about/AboutLayout.h"

#include <algorithm>
#include <cmath>

namespace tablor::about {

double fitScale(std::span<const MeasuredText> texts, double maxScale) {
    double scale = 1.0;
    for (const MeasuredText& t : texts) {
        // At factor s the text starts at s * left and must end by s * (ClientWidth - margin):
        // s >= width / (ClientWidth - margin - left); likewise downwards.
        const int roomX = ClientWidth - RightMargin - t.left;
        if (roomX > 0) scale = std::max(scale, double(t.width) / roomX);
        const int roomY = t.limitTop - t.top;
        if (roomY > 0) scale = std::max(scale, double(t.height) / roomY);
    }
    // Rounded up a little so that the pixel rounding of the corners cannot cut a text.
    if (scale > 1.0) scale = std::ceil(scale * 100.0) / 100.0;
    return std::clamp(scale, 1.0, std::max(maxScale, 1.0));
}

int scaled(int value, double scale) {
    return static_cast<int>(std::lround(value * scale));
}

Rect scaled(const Rect& r, double scale) {
    return {scaled(r.left, scale), scaled(r.top, scale), scaled(r.width, scale),
            scaled(r.height, scale)};
}

} // namespace tablor::about
