#include "about/AboutLayout.h"

#include <algorithm>

namespace tablor::about {

double neededScale(std::span<const MeasuredText> texts) {
    double scale = 1.0;
    for (const MeasuredText& t : texts) {
        // At factor s the text starts at s * left and must end by s * (width - margin):
        // s >= width / (width - margin - left); likewise downwards.
        const int roomX = Client.width() - RightMargin - t.left;
        if (roomX > 0) scale = std::max(scale, double(t.width) / roomX);
        const int roomY = t.limitTop - t.top;
        if (roomY > 0) scale = std::max(scale, double(t.height) / roomY);
    }
    return scale;
}

} // namespace tablor::about
