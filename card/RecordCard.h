#pragma once
// What the main window asks of the record card. The card follows the grid's current record
// and holds the live card layout, which the table writer saves.

#include "table/TableDocument.h"

#include <QPoint>

namespace tablor {

class RecordCard : public CardLayoutSource {
public:
    // Shows the grid's current record (caption, labels, edit boxes, navigation buttons).
    virtual void FillCard() = 0;
    // The document's CardWidth/CardHeight/CardLeft/CardTop onto the card, for its fields.
    virtual void ApplyCardLayout() = 0;
    // All 40 pairs to the default layout, the card to 327 x 450.
    virtual void ResetCardLayout() = 0;
    // The card's screen position, written to the settings file at close.
    virtual QPoint cardPosition() const = 0;
    // Makes the card visible and brings it to the front.
    virtual void ShowCard() = 0;
};

} // namespace tablor
