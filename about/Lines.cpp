#include "about/Lines.h"

#include <QPaintEvent>

namespace tablor {

void TPen::setColor(const QColor& color) {
    color_ = color;
    Changed();
}

void TPen::setWidth(int width) {
    if (width < 0) return;
    width_ = width;
    Changed();
}

void TPen::setStyle(TPenStyle style) {
    style_ = style;
    Changed();
}

void TPen::setMode(TPenMode mode) {
    mode_ = mode;
    Changed();
}

void TPen::Assign(const TPen& other) {
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    mode_ = other.mode_;
    Changed();
}

QPen TPen::toQPen() const {
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    QPen pen(color_);
    pen.setStyle(styles[static_cast<int>(style_)]);
    // A zero-width pen is one pixel wide on the screen; Qt's cosmetic pen would also draw the
    // end point, which a line leaves out.
    pen.setWidth(std::max(width_, 1));
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QPainter::CompositionMode TPen::compositionMode() const {
    switch (mode_) {
    case TPenMode::pmCopy:
        return QPainter::CompositionMode_SourceOver;
    case TPenMode::pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case TPenMode::pmNot:
        return QPainter::RasterOp_NotDestination;
    case TPenMode::pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

void TBrush::setColor(const QColor& color) {
    color_ = color;
    Changed();
}

void TBrush::setStyle(TBrushStyle style) {
    style_ = style;
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    color_ = other.color_;
    style_ = other.style_;
    Changed();
}

QBrush TBrush::toQBrush() const {
    static constexpr Qt::BrushStyle styles[] = {
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
    };
    return QBrush(color_, styles[static_cast<int>(style_)]);
}

TLine::TLine(QWidget* parent) : QWidget(parent) {
    pen_.OnChange = [this] { StyleChanged(); };
    brush_.OnChange = [this] { StyleChanged(); };
    resize(LineDefaultSize, LineDefaultSize);
    setFromX(0);
    setFromY(0);
    setToX(35);
    setToY(35);
}

void TLine::setLine(TLineType line) {
    if (line == line_) return;
    const LineSize now{width(), height()};
    const LineSize next = sizeAfterStyleChange(line_, line, now);
    if (next != now) resize(next.width, next.height);
    line_ = line;
    update();
}

void TLine::setCoordinate(int& field, int value) {
    if (line_ != TLineType::ltCustom) return;
    field = value;
    update();
}

void TLine::paintEvent(QPaintEvent*) {
    const LineSize painted{width(), height()};
    const LinePaintPlan plan = planLinePaint(line_, painted, pen_.Width(), from_, to_);
    from_ = plan.from;
    to_ = plan.to;
    {
        QPainter p(this);
        p.setPen(pen_.toQPen());
        p.setBrush(brush_.toQBrush());
        // The brush shows only between the dashes of a styled pen.
        if (brush_.Style() != TBrushStyle::bsClear) {
            p.setBackgroundMode(Qt::OpaqueMode);
            p.setBackground(brush_.Color());
        }
        p.setCompositionMode(pen_.compositionMode());
        p.drawLine(QPoint(from_.x, from_.y), QPoint(to_.x, to_.y));
    }
    // A new size brings a new paint, which works out the points from it.
    if (plan.size != painted) resize(plan.size.width, plan.size.height);
}

} // namespace tablor
