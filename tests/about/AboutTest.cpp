// The about box and its window: texts, memory lines, the engraved separator, beeps, and the
// window that could not be built.
#include "about/About.h"
#include "about/AboutTexts.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tablor {
namespace {

using test::ScriptedPlatform;

constexpr QRgb Black = 0x000000, White = 0xFFFFFF;
QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

// A small machine, so that every text fits the designed geometry with this machine's fonts.
void smallMemory(ScriptedPlatform& p) {
    p.memory.totalBytes = 64ull << 20;
    p.memory.loadPercent = 63;
}

// Keeps the default locale of a test from leaking into the next.
struct LocaleGuard {
    QLocale saved;
    ~LocaleGuard() { QLocale::setDefault(saved); }
};

// Runs Execute, handing the shown window to `inspect`, then closing it with `result`.
template <typename Inspect>
void executeShowing(ScriptedPlatform& p, TAboutBox& box, Inspect inspect,
                    int result = QDialog::Accepted) {
    bool shown = false;
    p.dialogScripts.push_back([&](QDialog& d) {
        shown = true;
        auto* form = dynamic_cast<TFAbout*>(&d);
        EXPECT_NE(form, nullptr);
        if (form) inspect(*form);
        return result;
    });
    box.Execute();
    EXPECT_TRUE(shown);
}

TEST(AboutTexts, MemoryLines) {
    // 536,330,240 bytes with a French blank between groups.
    EXPECT_EQ(physicalMemoryLine(536330240, " "), "Mémoire physique totale : 523 760 Ko");
    EXPECT_EQ(freeMemoryLine(63), "Ressources système      : 37% libre.");
    EXPECT_EQ(freeMemoryLine(0), "Ressources système      : 100% libre.");
    EXPECT_EQ(freeMemoryLine(100), "Ressources système      : 0% libre.");
    EXPECT_EQ(freeMemoryLine(-4), "Ressources système      : 100% libre.");
    EXPECT_EQ(freeMemoryLine(130), "Ressources système      : 0% libre.");

    EXPECT_EQ(groupThousands(0, " "), "0");
    EXPECT_EQ(groupThousands(999, " "), "999");
    EXPECT_EQ(groupThousands(1000, "."), "1.000");
    EXPECT_EQ(groupThousands(67108864, "\u202f"), "67\u202f108\u202f864");
    EXPECT_EQ(groupThousands(18446744073709551615ull, ","), "18,446,744,073,709,551,615");

    // To the nearest kilobyte, and safe at the very top.
    EXPECT_EQ(kilobytesRounded(511), 0u);
    EXPECT_EQ(kilobytesRounded(512), 1u);
    EXPECT_EQ(kilobytesRounded(1535), 1u);
    EXPECT_EQ(kilobytesRounded(1536), 2u);
    EXPECT_EQ(kilobytesRounded(18446744073709551615ull), 18014398509481984ull);
}

TEST(TAboutBox, PropertiesKeepAtMostAHundredEightBitCharacters) {
    ScriptedPlatform p;
    TAboutBox box(p, nullptr);
    EXPECT_EQ(box.ProductName(), QStringLiteral("Tablor"));
    EXPECT_EQ(box.Version(), QStringLiteral("Version 1.0 pour Win 9x et Win XP"));
    EXPECT_EQ(box.Copyright(), QStringLiteral("Copyright © 2026 Tablor"));

    const QString longName = QString(150, QChar(u'é'));
    box.setProductName(longName);
    EXPECT_EQ(box.ProductName(), longName.left(100));
    box.setVersion(QStringLiteral("v€ 1 ✓"));
    EXPECT_EQ(box.Version(), QStringLiteral("v€ 1 ?")) << "€ is Windows-1252, ✓ is not";

    smallMemory(p);
    executeShowing(p, box, [&](TFAbout& f) {
        EXPECT_EQ(f.Label1->text(), longName.left(100));
        EXPECT_EQ(f.Label2->text(), QStringLiteral("v€ 1 ?"));
    });
}

TEST(TFAbout, ShowsTheTextsAndTheMachinesMemory) {
    LocaleGuard guard;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ScriptedPlatform p;
    p.memory.totalBytes = 536330240;
    p.memory.loadPercent = 63;
    TAboutBox box(p, nullptr);
    executeShowing(p, box, [&](TFAbout& f) {
        EXPECT_EQ(f.windowTitle(), QStringLiteral("A propos de..."));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("Tablor"));
        EXPECT_TRUE(f.Label1->font().bold());
        EXPECT_EQ(f.Label1->font().pixelSize(), 13);
        EXPECT_EQ(f.Label2->text(), QStringLiteral("Version 1.0 pour Win 9x et Win XP"));
        EXPECT_EQ(f.Label3->text(), box.Copyright());
        const QString sep = QLocale().groupSeparator();
        EXPECT_EQ(f.lblPhysMem->text(),
                  QStringLiteral("Mémoire physique totale : 523") + sep + QStringLiteral("760 Ko"));
        EXPECT_EQ(f.lblPhysRes->text(), QStringLiteral("Ressources système      : 37% libre."));
        EXPECT_EQ(f.Button1->text(), QStringLiteral("OK"));
        EXPECT_FALSE(f.Image1->pixmap().isNull()) << "the banner";
        EXPECT_FALSE(f.FImage->pixmap().isNull()) << "the program's icon";
        EXPECT_TRUE(f.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(f.windowFlags() &
                     (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(f.minimumSize(), f.maximumSize()) << "a fixed dialog border";
    });
}

TEST(TFAbout, DesignedGeometryAndTheEngravedSeparator) {
    ScriptedPlatform p;
    smallMemory(p);
    TAboutBox box(p, nullptr);
    executeShowing(p, box, [&](TFAbout& f) {
        ASSERT_EQ(f.layoutScale(), 1.0) << "these texts fit the designed window";
        EXPECT_EQ(f.size(), QSize(294, 268));
        EXPECT_EQ(f.Button1->geometry(), QRect(208, 223, 74, 26));
        EXPECT_EQ(f.Image1->geometry(), QRect(0, 0, 294, 77));
        EXPECT_EQ(f.FImage->geometry(), QRect(23, 95, 34, 34));
        EXPECT_EQ(f.Label1->pos(), QPoint(88, 96));
        EXPECT_EQ(f.Label2->pos(), QPoint(88, 120));
        EXPECT_EQ(f.Label3->pos(), QPoint(88, 136));
        EXPECT_EQ(f.lblPhysMem->pos(), QPoint(86, 173));
        EXPECT_EQ(f.lblPhysRes->pos(), QPoint(86, 193));

        const QImage image = f.grab().toImage();
        const QRgb face = at(image, 150, 150);
        EXPECT_NE(face, Black);
        EXPECT_NE(face, White);
        for (int x : {86, 150, 280}) {
            EXPECT_EQ(at(image, x, 162), Black) << x;
            EXPECT_EQ(at(image, x, 163), White) << x;
            EXPECT_EQ(at(image, x, 161), face) << x;
            EXPECT_EQ(at(image, x, 164), face) << x;
        }
        for (int y : {162, 163}) {
            EXPECT_EQ(at(image, 85, y), face) << y;
            EXPECT_EQ(at(image, 281, y), face) << "the end point is left out; row " << y;
        }
        EXPECT_EQ(f.Line1->ToX(), 195);
        EXPECT_EQ(f.Line1->FromY(), 4);
        EXPECT_EQ(f.Line2->Pen().Color(), QColor(Qt::white));
    });
}

// WCAG's contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(TFAbout, FollowsADarkPalette) {
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, QColor(0xE0, 0xE0, 0xE0));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    QApplication::setPalette(dark);
    ScriptedPlatform p;
    smallMemory(p);
    TAboutBox box(p, nullptr);
    executeShowing(p, box, [&](TFAbout& f) {
        const QImage image = f.grab().toImage();
        const QColor face = image.pixelColor(150, 150);
        EXPECT_EQ(face, QColor(0x30, 0x30, 0x30)) << "the dark button face";
        for (QLabel* label : {f.Label1, f.Label3, f.lblPhysMem})
            EXPECT_GE(contrast(label->palette().color(label->foregroundRole()), face), 4.5)
                << label->text().toStdString();
    });
    QApplication::setPalette(saved);
}

TEST(TFAbout, GrowsAsAWholeRatherThanClipAText) {
    ScriptedPlatform p;
    p.memory.totalBytes = 1ull << 50; // a memory figure far wider than the designed window
    TAboutBox box(p, nullptr);
    executeShowing(p, box, [&](TFAbout& f) {
        const double s = f.layoutScale();
        EXPECT_GT(s, 1.0);
        EXPECT_NEAR(f.width(), 294 * s, 1);
        EXPECT_NEAR(f.height(), 268 * s, 1);
        for (QLabel* label : {f.Label1, f.Label2, f.Label3, f.lblPhysMem, f.lblPhysRes}) {
            EXPECT_TRUE(f.rect().contains(label->geometry())) << label->text().toStdString();
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
        EXPECT_LE(f.lblPhysMem->geometry().bottom(), f.lblPhysRes->y());
        EXPECT_LE(f.lblPhysRes->geometry().bottom(), f.Button1->y());

        // Black over white, one row apart, whatever the factor.
        const QImage image = f.grab().toImage();
        const int row = f.Line1->y() + 4;
        const int x = f.Line1->x() + 10;
        EXPECT_EQ(at(image, x, row), Black);
        EXPECT_EQ(at(image, x, row + 1), White);
    });
}

TEST(TFAbout, EachOpeningBeepsOnceAndReadsTheMemoryAfresh) {
    ScriptedPlatform p;
    smallMemory(p);
    TAboutBox box(p, nullptr);
    QPointer<TFAbout> first;
    executeShowing(p, box, [&](TFAbout& f) {
        first = &f;
        EXPECT_EQ(p.beeps, 1) << "the window beeps as it is built";
        EXPECT_EQ(f.lblPhysRes->text(), QStringLiteral("Ressources système      : 37% libre."));
    });
    EXPECT_TRUE(first.isNull()) << "the window is destroyed once closed";

    p.memory.loadPercent = 0;
    p.memory.totalBytes = 2048;
    // Closed through the title bar this time: the same as OK.
    executeShowing(
        p, box,
        [&](TFAbout& f) {
            EXPECT_EQ(p.beeps, 2);
            EXPECT_EQ(f.lblPhysMem->text(), QStringLiteral("Mémoire physique totale : 2 Ko"));
            EXPECT_EQ(f.lblPhysRes->text(),
                      QStringLiteral("Ressources système      : 100% libre."));
        },
        QDialog::Rejected);
    EXPECT_EQ(p.beeps, 2);
}

TEST(TFAbout, OkButtonClosesTheWindow) {
    ScriptedPlatform p;
    smallMemory(p);
    TFAbout form(p);
    EXPECT_TRUE(form.Button1->isDefault());
    form.show();
    form.Button1->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

// A machine whose memory status fails, so the window cannot be built.
class FailingPlatform : public ScriptedPlatform {
public:
    MemoryStatus memoryStatus() override { throw std::runtime_error("no memory status"); }
};

TEST(TAboutBox, WindowThatCannotBeBuiltOnlyBeeps) {
    FailingPlatform p;
    TAboutBox box(p, nullptr);
    box.Execute(); // no dialog script: showing anything would fail the test
    // The window's own beep came before the failure; the box adds its own.
    EXPECT_EQ(p.beeps, 2);
    EXPECT_TRUE(p.errors.isEmpty());
    EXPECT_TRUE(p.informations.isEmpty());
}

// Showing may fail too: the window still goes, and the failure reaches the error handler.
class ShowFailsPlatform : public ScriptedPlatform {
public:
    QPointer<QDialog> shown;
    int execDialog(QDialog& d) override {
        shown = &d;
        throw std::runtime_error("cannot show");
    }
};

TEST(TAboutBox, WindowIsDestroyedWhenShowingFails) {
    ShowFailsPlatform p;
    smallMemory(p);
    TAboutBox box(p, nullptr);
    EXPECT_THROW(box.Execute(), std::runtime_error);
    EXPECT_TRUE(p.shown.isNull());
}

} // namespace
} // namespace tablor
