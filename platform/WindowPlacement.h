#pragma once
// Where a window appears, and how it is kept on the screen.

#include <QRect>

class QWidget;

namespace tablor {

// The frame `frame` fitted into `area`: no larger than the area, centred on it when `centre`,
// otherwise moved only as far as it takes to lie whole inside it.
QRect fittedFrame(QRect frame, const QRect& area, bool centre);

// The available area (without panels and docks) of the window's screen, or of the primary one.
QRect availableArea(const QWidget* window);

// Centres the window (its frame) on its screen's available area; a window larger than the area
// keeps its top-left corner inside it.
void centreOnScreen(QWidget* window);

// Gives the top-level window an outer frame (title bar and borders included) of the size
// `frameSize`, fitted into its screen's available area and centred on it. The frame's
// thickness is known only once a window manager has framed the window: call again then.
void placeFrameCentred(QWidget* window, QSize frameSize);

} // namespace tablor
