#include "mainwindow/DialogGeometry.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tablor {

namespace {
// What a push button or a group box frame takes around its caption.
constexpr int SideMargins = 12;
constexpr int FrameHeight = 6;
} // namespace

double captionFitFactor(std::initializer_list<CaptionRoom> captions, QSize client) {
    double factor = 1.0;
    for (const CaptionRoom& c : captions) {
        const QFontMetrics metrics = c.control->fontMetrics();
        const int width = metrics.horizontalAdvance(c.text) + SideMargins;
        const int height = metrics.height() + FrameHeight;
        factor =
            std::max({factor, double(width) / c.room.width(), double(height) / c.room.height()});
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size();
        factor = std::min({factor, double(room.width()) / client.width(),
                           double(room.height()) / client.height()});
    }
    return std::max(factor, 1.0);
}

QRect scaledRect(const QRect& design, double factor) {
    if (factor == 1.0) return design;
    const int left = int(std::lround(design.left() * factor));
    const int top = int(std::lround(design.top() * factor));
    // Edges are scaled, not sizes, so neighbours stay as far apart as they were designed.
    const int right = int(std::lround((design.left() + design.width()) * factor));
    const int bottom = int(std::lround((design.top() + design.height()) * factor));
    return QRect(left, top, right - left, bottom - top);
}

QSize scaledSize(const QSize& design, double factor) {
    return scaledRect(QRect(QPoint(0, 0), design), factor).size();
}

} // namespace tablor
