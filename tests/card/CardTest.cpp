#include "card/CardClientArea.h"
#include "card/CardFixture.h"
#include "platform/QtAnsi.h"
#include "table/TableFile.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

// Where a widget of the card stands in the card's client coordinates.
QPoint onCard(const TFiche& card, const QWidget* w) {
    return w->mapTo(&card, QPoint(0, 0));
}

TEST(Card, ShowsTheCurrentRecordInTheTablesFieldsOnly) {
    CardFixture f(3, 4);
    f.doc.StringGrid1.setColWidth(1, 100);
    TFiche& card = f.make();
    card.show();
    f.doc.StringGrid1.moveTo(2, 2);

    EXPECT_EQ(card.windowTitle(), QStringLiteral("Enregistrement n°2"));
    EXPECT_EQ(card.shownRecord(), 2);
    for (int i = 0; i < card::Pairs; ++i) {
        EXPECT_EQ(card.Labels[i]->isVisible(), i < 3) << i;
        EXPECT_EQ(card.Edits[i]->isVisible(), i < 3) << i;
    }
    EXPECT_EQ(card.Labels[1]->text(), QStringLiteral("F2"));
    EXPECT_EQ(card.Edits[1]->text(), QStringLiteral("2.1"));
    EXPECT_EQ(card.Edits[1]->width(), 100);
    EXPECT_EQ(card.Edits[0]->width(), 64);
    EXPECT_EQ(card.Labels[0]->height(), card::LabelHeight);
    EXPECT_GE(card.Labels[1]->width(), card.Labels[1]->sizeHint().width()); // caption not cut
    EXPECT_FALSE(f.doc.Modified);

    // A field added to the table shows at the next fill, where its pair last stood.
    f.doc.StringGrid1.setColCount(4);
    card.FillCard();
    EXPECT_TRUE(card.Edits[3]->isVisible());
    EXPECT_EQ(onCard(card, card.Labels[3]), QPoint(defaultCardLeft(3), defaultCardTop(3)));
}

TEST(Card, NavigationButtonsFollowTheRecordAndMovesClamp) {
    CardFixture f(3, 3);
    TFiche& card = f.make();
    auto enabled = [&] {
        return std::vector<bool>{card.tlbtnPremier->isEnabled(), card.tlbtnPrecedent->isEnabled(),
                                 card.tlbtnSuivant->isEnabled(), card.tlbtnDernier->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));

    StringGrid& g = f.doc.StringGrid1;
    g.moveTo(2, 1);
    card.tlbtnSuivant->trigger();
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(card.Edits[0]->text(), QStringLiteral("2.0"));
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));
    card.tlbtnDernier->trigger();
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false}));
    // The buttons are disabled there, but the moves themselves clamp too.
    g.moveTo(2, 3);
    card.tlbtnSuivantClick();
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.Row(), 3);
    g.moveTo(2, 1);
    card.tlbtnPrecedentClick(); // only the column moves
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.Row(), 1);
    card.tlbtnDernier->trigger();
    card.tlbtnPremier->trigger();
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Enregistrement n°1"));

    CardFixture one(2, 1);
    TFiche& single = one.make();
    EXPECT_FALSE(single.tlbtnPremier->isEnabled() || single.tlbtnPrecedent->isEnabled() ||
                 single.tlbtnSuivant->isEnabled() || single.tlbtnDernier->isEnabled());
}

TEST(Card, EveryKeystrokeReachesTheCellOfTheRecordInTheCaption) {
    CardFixture f(3, 3);
    TFiche& card = f.make();
    card.show();
    f.doc.StringGrid1.moveTo(0, 2);
    EXPECT_FALSE(f.doc.Modified); // filling never marks the table

    card.Edits[1]->setFocus();
    card.Edits[1]->end(false);
    QTest::keyClick(card.Edits[1], Qt::Key_X);
    EXPECT_EQ(f.cell(1, 2), "2.1x");
    EXPECT_TRUE(f.doc.Modified);
    QTest::keyClick(card.Edits[1], Qt::Key_Backspace);
    EXPECT_EQ(f.cell(1, 2), "2.1");
    typeText(card.Edits[1], QStringLiteral("é€"));
    EXPECT_EQ(f.cell(1, 2), "2.1\xE9\x80"); // Windows-1252 bytes

    // Blanking all records does not refill the card: typing writes back the typed field only.
    f.doc.StringGrid1.blankRecords();
    QTest::keyClick(card.Edits[2], Qt::Key_Y);
    EXPECT_EQ(f.cell(2, 2), "2.2y");
    EXPECT_EQ(f.cell(0, 2), "");
    EXPECT_EQ(f.cell(1, 2), "");
}

TEST(Card, FillingNeverChangesACell) {
    CardFixture f(2, 2);
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += char(b);
    const std::string longText(100000, 'z');
    f.doc.StringGrid1.setCell(0, 2, every);
    f.doc.StringGrid1.setCell(1, 2, longText);
    TFiche& card = f.make();
    f.doc.StringGrid1.moveTo(0, 2);
    EXPECT_EQ(f.cell(0, 2), every);
    // A long cell shows its start in a box that cannot change it, so it keeps every byte.
    EXPECT_EQ(card.Edits[1]->text().size(), qsizetype(ShownCellLength));
    EXPECT_TRUE(card.Edits[1]->isReadOnly());
    EXPECT_FALSE(card.Edits[0]->isReadOnly());
    card.Edits[1]->setFocus();
    QTest::keyClick(card.Edits[1], Qt::Key_X);
    QTest::keyClick(card.Edits[1], Qt::Key_Backspace);
    EXPECT_EQ(f.cell(1, 2), longText);
    EXPECT_FALSE(f.doc.Modified);
    f.doc.StringGrid1.moveTo(1, 1);
    EXPECT_FALSE(card.Edits[1]->isReadOnly());
}

TEST(Card, LabelsDraggedWithTheMouseSnapToEightPixelsOnRelease) {
    CardFixture f(3, 2);
    TFiche& card = f.make();
    card.resize(400, 500);
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    QLabel* label = card.Labels[1];
    ASSERT_EQ(onCard(card, label), QPoint(8, 88));

    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(label, QPoint(3 + 37, 4 + 21)); // the grabbed point follows the pointer
    EXPECT_EQ(onCard(card, label), QPoint(45, 109));
    EXPECT_EQ(onCard(card, card.Edits[1]), QPoint(45, 125));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(3, 4));
    EXPECT_EQ(card.labelLeft(1), 40);
    EXPECT_EQ(card.labelTop(1), 104);
    EXPECT_EQ(onCard(card, label), QPoint(40, 104));
    EXPECT_EQ(onCard(card, card.Edits[1]), QPoint(40, 120));
    EXPECT_FALSE(f.doc.Modified);
    EXPECT_EQ(f.doc.CardLeft[1], defaultCardLeft(1)); // the document's members stay

    // A mouse move without a press moves nothing.
    QTest::mouseMove(label, QPoint(20, 20));
    EXPECT_EQ(card.labelLeft(1), 40);
}

TEST(Card, SnappingTruncatesTowardZeroAndLabelsMayLeaveTheArea) {
    CardFixture f(3, 2);
    TFiche& card = f.make();
    card.resize(400, 500);
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    // Released at (13, 45): from (8, 40) the pointer moved by (5, 5).
    card.Label1MouseDown(0, {0, 0});
    card.Label1MouseMove(0, {5, 5});
    card.Label1MouseUp(0);
    EXPECT_EQ(QPoint(card.labelLeft(0), card.labelTop(0)), QPoint(8, 40));

    // Released at (-5, -13): the pair stays where it was put, the area scrolls to reach it.
    card.Label1MouseDown(0, {0, 0});
    card.Label1MouseMove(0, {-13, -53});
    EXPECT_EQ(onCard(card, card.Labels[0]), QPoint(-5, -13)); // nothing jumps on screen
    card.Label1MouseUp(0);
    EXPECT_EQ(QPoint(card.labelLeft(0), card.labelTop(0)), QPoint(0, -8));
    EXPECT_EQ(onCard(card, card.Edits[0]), QPoint(0, 8));
    CardClientArea* area = card.clientArea();
    EXPECT_GT(area->verticalScrollBar()->value(), 0);
    area->verticalScrollBar()->setValue(0); // scrolled up, the label comes below the band
    EXPECT_EQ(onCard(card, card.Labels[0]).y(), card::BandHeight);

    // Past the right edge: the area scrolls there too.
    card.Label1MouseDown(2, {0, 0});
    card.Label1MouseMove(2, {900, 0});
    card.Label1MouseUp(2);
    EXPECT_EQ(card.labelLeft(2), 904);
    EXPECT_GE(area->horizontalScrollBar()->maximum(), 904 + 64 - area->viewport()->width());
}

TEST(Card, LayoutAppliesToTheTablesFieldsAndTravelsWithTheTableFile) {
    CardFixture f(3, 2);
    f.doc.CardLeft[0] = 200;
    f.doc.CardTop[0] = 96;
    f.doc.CardLeft[5] = 500; // beyond the table's fields: not applied
    f.doc.CardWidth = 500;
    f.doc.CardHeight = 420;
    TFiche& card = f.make();
    EXPECT_EQ(card.labelLeft(0), 200);
    EXPECT_EQ(card.labelTop(0), 96);
    EXPECT_EQ(card.labelLeft(5), card::designLeft(5));
    EXPECT_EQ(card.labelTop(5), card::designTop(5));
    EXPECT_EQ(card.cardWidth(), 500);
    EXPECT_EQ(card.cardHeight(), 420);

    // Dragged, saved, loaded again and applied: the card shows the dragged place.
    card.show();
    card.Label1MouseDown(1, {0, 0});
    card.Label1MouseMove(1, {96, 48});
    card.Label1MouseUp(1);
    const std::string saved = SaveTableToBytes(f.doc, card);
    EXPECT_NE(saved.find("\r\n104\r\n136\r\n1\r\n"), std::string::npos); // field 1: left, top, flag

    card.ResetCardLayout();
    EXPECT_EQ(card.labelLeft(1), defaultCardLeft(1));
    EXPECT_EQ(card.labelLeft(39), defaultCardLeft(39));
    EXPECT_EQ(card.labelTop(39), defaultCardTop(39));
    EXPECT_EQ(card.cardWidth(), DefaultCardWidth);
    EXPECT_EQ(f.doc.CardLeft[0], 200); // the document's members stay as they were

    LoadTableFromBytes(f.doc, saved, "/t.tbr", 1u << 30);
    card.ApplyCardLayout();
    card.FillCard();
    EXPECT_EQ(QPoint(card.labelLeft(1), card.labelTop(1)), QPoint(104, 136));
    EXPECT_EQ(onCard(card, card.Labels[1]), QPoint(104, 136));
    EXPECT_EQ(card.cardWidth(), 500);
    EXPECT_EQ(SaveTableToBytes(f.doc, card), saved);
}

TEST(Card, ResizedByTheUserTheCardReportsItsNewSize) {
    CardFixture f;
    TFiche& card = f.make();
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    EXPECT_EQ(card.cardWidth(), DefaultCardWidth); // shown: the numbers stay as given
    card.resize(card.size() + QSize(40, 30));      // as a window manager would
    EXPECT_EQ(card.cardWidth(), card.frameGeometry().width());
    EXPECT_EQ(card.cardHeight(), card.frameGeometry().height());
    EXPECT_GE(card.cardWidth(), DefaultCardWidth + 40);
}

TEST(Card, PlaceComesFromTheSettingsFile) {
    CardFixture f;
    QFile ini(f.dir.filePath(QStringLiteral("tablor.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Fiche]\r\nX=250\r\ny=40\r\n");
    ini.close();
    TFiche& card = f.make();
    EXPECT_EQ(card.cardPosition(), QPoint(250, 40));
    EXPECT_FALSE(card.isVisible());

    CardFixture none;
    EXPECT_EQ(none.make().cardPosition(), QPoint(100, 30));
}

TEST(Card, CopiesTheChosenFieldsOfTheShownRecordAndKeepsTheTicks) {
    CardFixture f(3, 2);
    f.doc.StringGrid1.setCell(0, 2, "a");
    f.doc.StringGrid1.setCell(2, 2, "");
    f.doc.CopyFlags[1] = 0;
    f.doc.CopyFlags[2] = 7; // anything but 1 is not ticked
    TFiche& card = f.make();
    f.doc.StringGrid1.moveTo(0, 2);

    f.fieldChoice = std::vector<bool>{true, false, true};
    card.ToolButton11->trigger();
    EXPECT_EQ(f.offeredNames, (QStringList{"F1", "F2", "F3"}));
    EXPECT_EQ(f.offeredTicks, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(f.platform.clipboard, QStringList{QStringLiteral("a\r\n\r\n")});
    EXPECT_EQ(f.doc.CopyFlags[0], 1);
    EXPECT_EQ(f.doc.CopyFlags[1], 0);
    EXPECT_EQ(f.doc.CopyFlags[2], 1);
    EXPECT_EQ(f.doc.CopyFlags[3], 1); // beyond the table's fields: untouched

    f.fieldChoice = std::nullopt; // cancelled: nothing copied, nothing changed
    card.ToolButton11->trigger();
    EXPECT_EQ(f.platform.clipboard.size(), 1);
    EXPECT_EQ(f.doc.CopyFlags[2], 1);

    f.fieldChoice = std::vector<bool>{false, false, false};
    card.ToolButton11->trigger();
    EXPECT_EQ(f.platform.clipboard.last(), QString()); // the clipboard ends up empty
    EXPECT_EQ(f.doc.CopyFlags[0] + f.doc.CopyFlags[1] + f.doc.CopyFlags[2], 0);
    EXPECT_FALSE(f.doc.Modified);

    f.platform.clipboardFails = true; // the error reaches the error box, not the event loop
    f.fieldChoice = std::vector<bool>{true, true, true};
    card.ToolButton11->trigger();
    EXPECT_EQ(f.platform.errors,
              QStringList{QStringLiteral("Impossible d'ouvrir le Presse-papiers.")});
}

TEST(Card, AddDeleteSearchAndPrintGoToTheMainWindow) {
    CardFixture f(3, 4);
    TFiche& card = f.make();
    card.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&card));
    f.doc.StringGrid1.moveTo(1, 3);

    card.ToolButton7->trigger();
    ASSERT_EQ(f.deletedSelections.size(), 1u);
    EXPECT_EQ(f.deletedSelections[0], (GridRect{0, 3, 2, 3}));
    EXPECT_EQ(f.deletedAtCurrent[0], (std::pair<int, int>{2, 3}));

    card.ToolButton6->trigger();
    EXPECT_EQ(f.adds, 1);
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Enregistrement n°5"));
    EXPECT_EQ(card.focusWidget(), card.Edits[0]);

    card.ToolButton9->trigger();
    EXPECT_EQ(f.searches, 1);

    card.ToolButton10->trigger();
    EXPECT_EQ(f.printedImage.deviceIndependentSize().toSize(), card.size());
    EXPECT_EQ(f.printedDpi, card.logicalDpiX());
}

} // namespace
} // namespace tablor::test
