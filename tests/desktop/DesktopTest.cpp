// The real windows on an X server under a window manager, at the font resolution and scale
// the environment gives (the test runs at several): the main window's frame lies inside the
// screen's available area, first start or not, and no text of the main window or of a dialog
// is cut by the room it is drawn in.

#include "about/About.h"
#include "mainwindow/_Tablor.h"
#include "platform/InterfaceFont.h"
#include "support/ScriptedPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace tablor::test {
namespace {

QRect availableArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Shows the window and waits until the window manager has framed and placed it.
void showFramed(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 30000));
    // Without a window manager the frame never comes: go on after the wait.
    (void)QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }, 3000);
    QTest::qWait(500);
}

QString withoutAccessKeys(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

bool isIconOnly(const QAbstractButton* button) {
    const auto* tool = qobject_cast<const QToolButton*>(button);
    return tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly;
}

// Every caption under `root` whose text is wider or taller than the room it is drawn in.
QStringList cutTexts(QWidget* root) {
    QStringList cut;
    const auto check = [&cut](const QWidget* w, const QString& text, int need, int room, int height,
                              int roomHeight) {
        if (need > room || height > roomHeight)
            cut << QStringLiteral("%1 \"%2\": %3x%4 in %5x%6")
                       .arg(w->objectName(), text)
                       .arg(need)
                       .arg(height)
                       .arg(room)
                       .arg(roomHeight);
    };
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root)) continue;
        const QFontMetrics m = w->fontMetrics();
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty() &&
                                                    !label->wordWrap() &&
                                                    label->textFormat() != Qt::RichText) {
            const QRect r = label->contentsRect();
            check(w, label->text(), m.horizontalAdvance(withoutAccessKeys(label->text())),
                  r.width(), m.height(), r.height());
        } else if (auto* button = qobject_cast<QAbstractButton*>(w);
                   button && !button->text().isEmpty() && !isIconOnly(button)) {
            // Text and icon side by side, with the smallest bevel a push button draws.
            const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
            check(w, button->text(),
                  m.horizontalAdvance(withoutAccessKeys(button->text())) + icon + 8,
                  button->width(), m.height() + 4, button->height());
        } else if (auto* box = qobject_cast<QGroupBox*>(w); box && !box->title().isEmpty()) {
            check(w, box->title(), m.horizontalAdvance(box->title()) + 16, box->width(), m.height(),
                  box->height());
        } else if (auto* header = qobject_cast<QHeaderView*>(w);
                   header && header->orientation() == Qt::Horizontal) {
            // A field name of the start table fits its default column, two pixels each side.
            for (int i = 0; i < header->count(); ++i) {
                const QString name = header->model()->headerData(i, Qt::Horizontal).toString();
                check(w, name, m.horizontalAdvance(name) + 4, header->sectionSize(i), m.height(),
                      header->height());
            }
        } else if (auto* table = qobject_cast<QTableView*>(w)) {
            const QFontMetrics cells(table->font());
            check(w, QStringLiteral("(row)"), 0, 0, cells.height(), table->rowHeight(0) - 1);
        }
    }
    return cut;
}

class Desktop : public ::testing::Test {
protected:
    Desktop() { platform.executable = dir.filePath(QStringLiteral("tablor")); }

    TForm1& start() {
        platform.screen = QGuiApplication::primaryScreen()->size();
        form = std::make_unique<TForm1>(platform, QStringList());
        showFramed(*form);
        return *form;
    }

    void expectInsideTheScreen(TForm1& window) {
        const QRect area = availableArea();
        // The window is placed again as its frame becomes known.
        (void)QTest::qWaitFor([&] { return area.contains(window.frameGeometry()); }, 5000);
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << "frame " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
            << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " in "
            << area.width() << "x" << area.height() << ", smallest "
            << window.minimumSizeHint().width() << "x" << window.minimumSizeHint().height();
        QStatusBar* bar = window.statusBar();
        const QRect barOnScreen(bar->mapToGlobal(QPoint(0, 0)), bar->size());
        EXPECT_TRUE(area.contains(barOnScreen));
    }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
};

TEST_F(Desktop, FirstStartFillsTheAvailableAreaFrameIncluded) {
    TForm1& window = start();
    expectInsideTheScreen(window);
    EXPECT_GE(window.frameGeometry().width(), availableArea().width() - 1);
}

TEST_F(Desktop, APlaceAndSizeOffTheScreenAreBroughtBack) {
    QFile ini(dir.filePath(QStringLiteral("tablor.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Fen\xEAtre]\r\nX=4000\r\nY=-300\r\nW=5000\r\nH=3000\r\nMaxi=0\r\n");
    ini.close();
    expectInsideTheScreen(start());
}

TEST_F(Desktop, NoTextIsCutInTheMainWindowOrItsDialogs) {
    TForm1& window = start();
    EXPECT_EQ(cutTexts(&window).join(QLatin1Char('\n')).toStdString(), "");
    for (QDialog* dialog : window.findChildren<QDialog*>()) {
        dialog->show();
        QTest::qWait(100);
        EXPECT_EQ(cutTexts(dialog).join(QLatin1Char('\n')).toStdString(), "")
            << qPrintable(dialog->objectName());
        dialog->hide();
    }
    TFAbout about(platform);
    about.show();
    QTest::qWait(100);
    EXPECT_EQ(cutTexts(&about).join(QLatin1Char('\n')).toStdString(), "");
}

TEST_F(Desktop, AtTheDefaultFontTheDesignedSizesHold) {
    if (qEnvironmentVariable("QT_FONT_DPI", QStringLiteral("96")) != QLatin1String("96") ||
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "designed for 96 dpi";
    TForm1& window = start();
    QTableView* grid = window.findChild<QTableView*>();
    EXPECT_EQ(grid->rowHeight(0), 18);
    EXPECT_EQ(grid->horizontalHeader()->height(), 18);
    EXPECT_EQ(window.statusBar()->height(), 19);

    auto* bar = window.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_EQ(bar->height(), 22);
    const auto at = [bar](const char* name) {
        return bar->widgetForAction(bar->findChild<QAction*>(QLatin1String(name)))->geometry();
    };
    EXPECT_EQ(at("ToolButton2").left() - at("ToolButton1").left(), 23);
    // Four buttons, then an 8-pixel separator.
    EXPECT_EQ(at("ToolButton6").left() - at("ToolButton1").left(), 4 * 23 + 8);

    auto* find = window.findChild<QDialog*>(QStringLiteral("Find"));
    EXPECT_EQ(find->size(), QSize(313, 137));
    auto* list = window.findChild<QListWidget*>(QStringLiteral("ListBox1"));
    list->addItem(QStringLiteral("Colonne 1"));
    EXPECT_EQ(list->sizeHintForRow(0), 13);
}

} // namespace
} // namespace tablor::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(tablor::interfaceFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
