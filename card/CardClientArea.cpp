#include "card/CardClientArea.h"

#include <QEvent>
#include <QScrollBar>

#include <algorithm>

namespace tablor {

CardClientArea::CardClientArea(int top, QWidget* parent)
    : QAbstractScrollArea(parent), top_(top), page_(new QWidget(viewport())), origin_(0, top) {
    setFrameShape(QFrame::NoFrame);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
}

bool CardClientArea::setContentBounds(const QRect& bounds) {
    const QPoint before = origin_;
    bounds_ = bounds;
    sizePage();
    return origin_ != before;
}

// Sizes the page to the pairs and the view, keeping the client point at the view's top-left
// corner in place. A scroll bar that comes or goes resizes the view, hence the second round.
void CardClientArea::sizePage() {
    if (sizing_) {
        sizeAgain_ = true;
        return;
    }
    sizing_ = true;
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    do {
        sizeAgain_ = false;
        const QPoint view = QPoint(h->value(), v->value()) + origin_;
        const QSize room = viewport()->size();
        const QRect extent = bounds_.united(QRect(QPoint(0, top_), room));
        origin_ = extent.topLeft();
        page_->resize(extent.size());
        h->setRange(0, std::max(0, extent.width() - room.width()));
        v->setRange(0, std::max(0, extent.height() - room.height()));
        h->setPageStep(room.width());
        v->setPageStep(room.height());
        h->setValue(view.x() - origin_.x());
        v->setValue(view.y() - origin_.y());
    } while (sizeAgain_);
    sizing_ = false;
    placePage();
}

void CardClientArea::placePage() {
    page_->move(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

void CardClientArea::scrollContentsBy(int, int) {
    placePage();
}

bool CardClientArea::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) sizePage();
    return QAbstractScrollArea::viewportEvent(event);
}

} // namespace tablor
