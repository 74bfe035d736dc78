#include "platform/DesignedGeometry.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QToolBar>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tablor {

namespace {
// What a push button or a group box frame takes around its caption.
constexpr int SideMargins = 12;
constexpr int FrameHeight = 6;
// A toolbar's designed height, its buttons' pitch and its separators' width; around a button's
// icon, what a 16-pixel picture leaves in a 22-pixel button.
constexpr int ToolBarHeight = 22;
constexpr int ButtonPitch = 23;
constexpr int SeparatorWidth = 8;
constexpr int IconBevel = 6;
} // namespace

double growthFactor(double needed, QSize client, QSize screen) {
    double factor = needed > 1.0 ? std::ceil(needed * 100.0) / 100.0 : 1.0;
    if (!screen.isEmpty())
        factor = std::min({factor, double(screen.width()) / client.width(),
                           double(screen.height()) / client.height()});
    return std::max(factor, 1.0);
}

QSize availableRoom(const QWidget* widget) {
    const QScreen* screen =
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}

double captionFitFactor(std::initializer_list<CaptionRoom> captions, QSize client) {
    double needed = 1.0;
    for (const CaptionRoom& c : captions) {
        const QFontMetrics metrics = c.control->fontMetrics();
        const int width = metrics.horizontalAdvance(c.text) + SideMargins;
        const int height = metrics.height() + FrameHeight;
        needed =
            std::max({needed, double(width) / c.room.width(), double(height) / c.room.height()});
    }
    return growthFactor(needed, client, availableRoom());
}

int scaled(int design, double factor) {
    return int(std::lround(design * factor));
}

QRect scaledRect(const QRect& design, double factor) {
    if (factor == 1.0) return design;
    const int left = scaled(design.left(), factor);
    const int top = scaled(design.top(), factor);
    const int right = scaled(design.left() + design.width(), factor);
    const int bottom = scaled(design.top() + design.height(), factor);
    return QRect(left, top, right - left, bottom - top);
}

QSize scaledSize(const QSize& design, double factor) {
    return scaledRect(QRect(QPoint(0, 0), design), factor).size();
}

void layOutToolBar(QToolBar* bar) {
    bar->setContentsMargins(0, 0, 0, 0);
    if (QLayout* layout = bar->layout()) {
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
    }
    int rowHeight = ToolBarHeight;
    for (QAction* action : bar->actions()) {
        QWidget* item = bar->widgetForAction(action);
        if (!item) continue;
        if (action->isSeparator()) {
            item->setFixedWidth(SeparatorWidth);
            continue;
        }
        // An icon needs a few pixels of bevel around it; the style's own hint asks for more.
        const QSize need = bar->iconSize() + QSize(IconBevel, IconBevel);
        rowHeight = std::max(rowHeight, need.height());
        item->setFixedSize(std::max(ButtonPitch, need.width()),
                           std::max(ToolBarHeight, need.height()));
    }
    bar->setFixedHeight(rowHeight);
}

} // namespace tablor
