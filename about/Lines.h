#pragma once
// TLine: a light control that draws one straight line inside its rectangle with its own pen,
// either between two points of its own (ltCustom) or along one of eight fixed positions. The
// about window draws its engraved separator with two of them.
//
// The control paints on its parent's background (it fills nothing). Each paint writes the points
// it used back into FromX, FromY, ToX and ToY, and may resize the control (the rules live in
// LineGeometry), which then paints again.

#include "about/LineGeometry.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPen>
#include <QWidget>

#include <functional>

namespace tablor {

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
// How the pen's colour meets what is already drawn.
enum class TPenMode : std::uint8_t { pmCopy, pmNotCopy, pmNot, pmXor, pmMerge, pmMask };
enum class TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross,
};

// A pen or brush owned by a control: every change of an attribute calls the owner back.
class TGraphicsObject {
public:
    std::function<void()> OnChange;

protected:
    TGraphicsObject() = default;
    // Copies carry the attributes only, never the owner's callback.
    TGraphicsObject(const TGraphicsObject&) {}
    TGraphicsObject& operator=(const TGraphicsObject&) { return *this; }
    ~TGraphicsObject() = default;
    void Changed() const {
        if (OnChange) OnChange();
    }
};

class TPen : public TGraphicsObject {
public:
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    // Pixels; a width of 0 draws one pixel. Negative widths are refused.
    int Width() const { return width_; }
    void setWidth(int width);
    TPenStyle Style() const { return style_; }
    void setStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void setMode(TPenMode mode);
    // Takes the other pen's attributes, with one notification.
    void Assign(const TPen& other);

    // The same pen for a QPainter. Lines leave out their end point, as flat caps do.
    QPen toQPen() const;
    QPainter::CompositionMode compositionMode() const;

private:
    QColor color_ = Qt::black;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    QColor Color() const { return color_; }
    void setColor(const QColor& color);
    TBrushStyle Style() const { return style_; }
    void setStyle(TBrushStyle style);
    void Assign(const TBrush& other);

    QBrush toQBrush() const;

private:
    QColor color_ = Qt::white;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

class TLine : public QWidget {
    Q_OBJECT
public:
    // A 65 x 65 control drawing from (0, 0) to (35, 35) with a black one-pixel pen.
    explicit TLine(QWidget* parent = nullptr);

    TLineType Line() const { return line_; }
    // A new style adjusts the size (see LineGeometry) and repaints; the present one does nothing.
    void setLine(TLineType line);

    // The control keeps its own pen and brush: setting one copies the given attributes.
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    void setPen(const TPen& pen) { pen_.Assign(pen); }
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    void setBrush(const TBrush& brush) { brush_.Assign(brush); }

    // The points of the last paint. Setting one counts only for ltCustom, and then always
    // repaints; for the other styles the value is ignored.
    int FromX() const { return from_.x; }
    int FromY() const { return from_.y; }
    int ToX() const { return to_.x; }
    int ToY() const { return to_.y; }
    void setFromX(int v) { setCoordinate(from_.x, v); }
    void setFromY(int v) { setCoordinate(from_.y, v); }
    void setToX(int v) { setCoordinate(to_.x, v); }
    void setToY(int v) { setCoordinate(to_.y, v); }

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void StyleChanged() { update(); }
    void setCoordinate(int& field, int value);

    TLineType line_ = TLineType::ltCustom;
    TPen pen_;
    TBrush brush_;
    LinePoint from_;
    LinePoint to_;
};

} // namespace tablor
