#pragma once
// Our windows are designed in pixels at 96 dpi. When this machine's fonts would cut a text, the
// whole window grows by one factor, so it keeps its proportions and every text stays whole. Each
// window measures what its texts need against the room they were designed with; the rest of the
// rule is here, for every window.

#include "platform/WindowPlacement.h"

#include <QRect>
#include <QString>

#include <initializer_list>

class QToolBar;
class QWidget;

namespace tablor {

// The factor a window designed with a `client` area grows by when its texts need `needed` times
// their designed room (the largest such ratio): at least 1, rounded up to hundredths so that the
// pixel rounding of the edges cannot cut a text, and never more than `screen` allows (an empty
// size: no limit).
double growthFactor(double needed, QSize client, QSize screen);

// The available area of the widget's screen (or of the primary screen); empty without one.
QSize availableRoom(const QWidget* widget = nullptr);

// One caption and the designed box it has to fit in.
struct CaptionRoom {
    const QWidget* control; // whose font draws the caption
    QString text;
    QSize room;
};

// The factor at which every caption fits its box with the margins a button or a group box
// draws around it (growthFactor on the primary screen).
double captionFitFactor(std::initializer_list<CaptionRoom> captions, QSize client);

// A designed length, rectangle or size at the given factor. Edges are scaled, not sizes, so
// neighbours stay as far apart as they were designed.
int scaled(int design, double factor);
QRect scaledRect(const QRect& design, double factor);
QSize scaledSize(const QSize& design, double factor);

// Lays out a toolbar of icon buttons as our toolbars are designed: 22 pixels high, buttons 23
// pixels apart, separators 8 pixels wide, nothing around them; a larger icon gets the room it
// needs. Call once every button and separator is in.
void layOutToolBar(QToolBar* bar);

} // namespace tablor
