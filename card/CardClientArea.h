#pragma once
// The card's client area below its toolbar band: a page holding the pairs, which scrolls when
// pairs lie beyond its edges, to the right and below as well as to the left and above.
//
// Positions are given in the card's client coordinates (the band takes rows 0 to 29). The page
// keeps every pair in view range; when it has to grow to the left or upward, the view is
// scrolled along, so nothing on screen moves.

#include <QAbstractScrollArea>

namespace tablor {

class CardClientArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    // `top` is where the area starts in the card's client coordinates.
    CardClientArea(int top, QWidget* parent);

    // The widget the pairs live on.
    QWidget* page() const { return page_; }
    // A point of the card's client coordinates on the page.
    QPoint toPage(QPoint client) const { return client - origin_; }
    // The bounds of everything on the page, in client coordinates; moves the page's origin and
    // returns true when the page's contents must be placed again.
    bool setContentBounds(const QRect& bounds);

protected:
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void sizePage();
    void placePage();

    int top_;
    QWidget* page_;
    QRect bounds_;
    QPoint origin_; // the client point shown at the page's top-left corner
    bool sizing_ = false, sizeAgain_ = false;
};

} // namespace tablor
