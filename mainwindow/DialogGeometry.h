#pragma once
// Our small fixed-size dialogs keep their designed geometry (pixels at 96 dpi). When this
// machine's font would clip a caption, the whole dialog grows by one factor, so it keeps its
// proportions and every text stays whole.

#include "platform/WindowPlacement.h"

#include <QRect>
#include <QString>

#include <initializer_list>

class QWidget;

namespace tablor {

// One caption and the designed box it has to fit in.
struct CaptionRoom {
    const QWidget* control; // whose font draws the caption
    QString text;
    QSize room;
};

// The smallest factor, at least 1, at which every caption fits its box with the margins a
// button or a group box draws around it; never more than the screen allows for `client`.
double captionFitFactor(std::initializer_list<CaptionRoom> captions, QSize client);

// A designed rectangle or size at the given factor.
QRect scaledRect(const QRect& design, double factor);
QSize scaledSize(const QSize& design, double factor);

} // namespace tablor
