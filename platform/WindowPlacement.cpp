#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tablor {

QRect fittedFrame(QRect frame, const QRect& area, bool centre) {
    if (area.isEmpty()) return frame;
    frame.setSize(frame.size().boundedTo(area.size()).expandedTo(QSize(1, 1)));
    if (centre) {
        frame.moveCenter(area.center());
    } else {
        frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()));
        frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    }
    // Odd sizes centre half a pixel up or left: never past the area's first row or column.
    frame.moveTopLeft(
        QPoint(std::max(frame.left(), area.left()), std::max(frame.top(), area.top())));
    return frame;
}

QRect availableArea(const QWidget* window) {
    const QScreen* screen =
        window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void centreOnScreen(QWidget* window) {
    const QRect area = availableArea(window);
    if (area.isEmpty()) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
}

void placeFrameCentred(QWidget* window, QSize frameSize) {
    const QRect area = availableArea(window);
    // What the title bar and borders add to the window's own area.
    const QSize extra = window->frameGeometry().size() - window->size();
    const QRect frame = fittedFrame(QRect(QPoint(0, 0), frameSize), area, true);
    window->resize((frame.size() - extra).expandedTo(window->minimumSize()));
    window->move(frame.topLeft()); // move() places the frame's corner
}

} // namespace tablor
