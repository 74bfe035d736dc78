// The line control as a widget: what it draws, what painting writes back, and when it repaints.
#include "about/Lines.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace tablor {
namespace {

using enum TLineType;

// Paints the control alone on white, as its parent would show it.
QImage paint(TLine& line) {
    QImage image(line.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    line.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}
constexpr QRgb Black = 0x000000, White = 0xFFFFFF;

// Counts the paints a shown control receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A control shown in a window, with its paints counted from a settled start.
struct ShownLine {
    QWidget window;
    TLine* line = new TLine(&window);
    PaintCounter counter;

    ShownLine() {
        window.resize(400, 400);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        line->installEventFilter(&counter);
        settle();
    }
    void settle() {
        QApplication::processEvents();
        QApplication::processEvents();
        counter.paints = 0;
    }
    int paintsAfterEvents() {
        QApplication::processEvents();
        return counter.paints;
    }
};

TEST(TLine, NewControlDrawsItsDiagonalWithoutTheEndPoint) {
    TLine line;
    EXPECT_EQ(line.size(), QSize(65, 65));
    EXPECT_EQ(line.Line(), ltCustom);
    EXPECT_EQ(line.Pen().Width(), 1);
    EXPECT_EQ(line.Pen().Color(), QColor(Qt::black));
    EXPECT_EQ(line.Brush().Color(), QColor(Qt::white));
    const QImage image = paint(line);
    EXPECT_EQ(at(image, 0, 0), Black);
    EXPECT_EQ(at(image, 34, 34), Black);
    EXPECT_EQ(at(image, 35, 35), White) << "a line leaves out its end point";
    EXPECT_EQ(at(image, 36, 36), White);
    EXPECT_EQ(line.FromX(), 0);
    EXPECT_EQ(line.ToY(), 35);
}

TEST(TLine, HorizontalLineSettlesAtTenPixelsPerPenPixel) {
    TLine line;
    line.resize(196, 65);
    line.setLine(ltHorizontal);
    paint(line);
    EXPECT_EQ(line.size(), QSize(196, 10)) << "the paint set the thickness";
    const QImage image = paint(line);
    EXPECT_EQ(line.FromY(), 4);
    EXPECT_EQ(line.ToX(), 195);
    for (int x : {0, 100, 194})
        EXPECT_EQ(at(image, x, 4), Black) << x;
    EXPECT_EQ(at(image, 195, 4), White);
    EXPECT_EQ(at(image, 100, 3), White);
    EXPECT_EQ(at(image, 100, 5), White);

    line.Pen().setWidth(2);
    paint(line);
    EXPECT_EQ(line.height(), 20);
}

TEST(TLine, CoordinatesCountOnlyForCustomLines) {
    TLine line;
    line.resize(100, 50);
    line.setLine(ltHorizontal);
    paint(line);
    line.setFromX(10);
    EXPECT_EQ(line.FromX(), 0) << "ignored: still the value of the last paint";

    TLine custom;
    custom.setToX(100);
    EXPECT_EQ(custom.ToX(), 100);
    EXPECT_EQ(custom.width(), 65) << "the control grows at its next paint, not before";
    paint(custom);
    EXPECT_EQ(custom.width(), 101);

    custom.setFromY(-5);
    paint(custom);
    EXPECT_EQ(custom.FromY(), 0) << "painting writes back the clamped point";
}

TEST(TLine, StyleChangesResizeAndRepaint) {
    ShownLine s;
    s.line->resize(196, 10);
    s.line->setLine(ltHorizontal);
    s.settle();
    s.line->setLine(ltLeft);
    EXPECT_EQ(s.line->size(), QSize(65, 196));
    EXPECT_GE(s.paintsAfterEvents(), 1);

    s.settle();
    s.line->setLine(ltLeft);
    EXPECT_EQ(s.paintsAfterEvents(), 0) << "the present style changes nothing";

    s.line->setLine(ltVertical);
    s.settle();
    const QSize upright = s.line->size();
    s.line->setLine(ltHorizontal);
    EXPECT_EQ(s.line->size(), upright.transposed());
}

TEST(TLine, RepaintsOnCoordinatesOfCustomLinesAndOnPenChanges) {
    ShownLine s;
    s.line->setToX(35); // unchanged, but a custom line repaints anyway
    EXPECT_GE(s.paintsAfterEvents(), 1);

    s.line->setLine(ltTop);
    s.settle();
    s.line->setToX(20);
    EXPECT_EQ(s.paintsAfterEvents(), 0) << "ignored coordinates do not repaint";

    s.settle();
    s.line->Pen().setColor(Qt::red);
    EXPECT_GE(s.paintsAfterEvents(), 1);
    const QImage image = paint(*s.line);
    EXPECT_EQ(at(image, 10, 0), qRgb(255, 0, 0) & 0xFFFFFF);

    s.settle();
    s.line->Brush().setColor(Qt::blue);
    EXPECT_GE(s.paintsAfterEvents(), 1);
}

TEST(TLine, SettingPenOrBrushCopiesIntoTheControlsOwn) {
    TLine line;
    TPen pen;
    pen.setColor(Qt::green);
    pen.setWidth(3);
    line.setPen(pen);
    pen.setColor(Qt::red);
    EXPECT_EQ(line.Pen().Color(), QColor(Qt::green)) << "the caller's pen stays the caller's";
    EXPECT_EQ(line.Pen().Width(), 3);
    line.Pen().setWidth(-2);
    EXPECT_EQ(line.Pen().Width(), 3) << "a negative width is refused";

    TBrush brush;
    brush.setStyle(TBrushStyle::bsClear);
    line.setBrush(brush);
    EXPECT_EQ(line.Brush().Style(), TBrushStyle::bsClear);
    EXPECT_EQ(line.Brush().Color(), QColor(Qt::white));
}

TEST(TLine, DashedPenShowsTheBrushBetweenItsDashes) {
    QImage onGrey(65, 10, QImage::Format_RGB32);
    TLine line;
    line.resize(65, 10);
    line.setLine(ltHorizontal);
    line.Pen().setStyle(TPenStyle::psDash);
    line.Brush().setColor(Qt::yellow);
    onGrey.fill(Qt::gray);
    line.render(&onGrey, QPoint(), QRegion(), QWidget::DrawChildren);
    bool yellowGap = false, black = false;
    for (int x = 0; x < 64; ++x) {
        yellowGap |= at(onGrey, x, 4) == (qRgb(255, 255, 0) & 0xFFFFFF);
        black |= at(onGrey, x, 4) == Black;
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(yellowGap);
    EXPECT_EQ(at(onGrey, 10, 2), qRgb(160, 160, 164) & 0xFFFFFF) << "the line fills nothing else";
}

} // namespace
} // namespace tablor
