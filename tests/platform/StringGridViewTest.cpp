// The grid control over the store: what the view shows, what its editor writes back, and how
// the view and the store keep the same current cell and selection.

#include "platform/StringGridView.h"
#include "platform/QtAnsi.h"
#include "platform/StringGridModel.h"
#include "support/TypeText.h"

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace tablor;
using tablor::test::typeText;

namespace {
// Every byte but the line ends, which a cell never holds.
std::string everyByte() {
    std::string s;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n') s += char(b);
    return s;
}
} // namespace

TEST(StringGridView, EveryByteSurvivesDisplayAndAnUnchangedEdit) {
    StringGrid grid(2, 3);
    grid.setCell(1, 2, everyByte());
    grid.setCell(0, 0, "Pr\xe9nom \x80");
    StringGridView view(grid);
    const QModelIndex index = view.indexOf(1, 2);
    EXPECT_EQ(index.data().toString(), fromAnsi(everyByte()));
    EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(),
              QString::fromUtf8("Prénom €"));

    view.show();
    view.setCurrentIndex(index);
    view.edit(index);
    auto* editor = view.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid.cell(1, 2), everyByte());

    // A cell longer than an edit box holds is drawn by its start, and its editor, read-only,
    // never cuts it: not by a key, by Escape or by Return.
    const std::string longText = std::string(100000, 'L') + "fin";
    grid.setCell(0, 1, longText);
    grid.setCell(1, 0, longText);
    const QModelIndex longCell = view.indexOf(0, 1);
    EXPECT_EQ(longCell.data().toString().size(), qsizetype(ShownCellLength));
    EXPECT_EQ(view.model()->headerData(1, Qt::Horizontal).toString().size(),
              qsizetype(ShownCellLength));
    view.setCurrentIndex(longCell);
    auto openEditor = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // editors closed
        view.edit(longCell);
        return view.viewport()->findChild<QLineEdit*>();
    };
    QLineEdit* longEditor = openEditor();
    ASSERT_NE(longEditor, nullptr);
    EXPECT_TRUE(longEditor->isReadOnly());
    QTest::keyClick(longEditor, Qt::Key_X);
    QTest::keyClick(longEditor, Qt::Key_Escape);
    EXPECT_EQ(grid.cell(0, 1), longText);
    longEditor = openEditor();
    ASSERT_NE(longEditor, nullptr);
    QTest::keyClick(longEditor, Qt::Key_Return);
    EXPECT_EQ(grid.cell(0, 1), longText);
}

TEST(StringGridView, EscapePutsTheCellBackButStillReportsTheEdit) {
    StringGrid grid(1, 2);
    grid.setCell(0, 1, "Lyon");
    StringGridView view(grid);
    int edits = 0;
    QObject::connect(&view, &StringGridView::editTextChanged, [&] { ++edits; });
    view.show();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_X);
    EXPECT_EQ(grid.cell(0, 1), "x");
    auto* editor = view.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(grid.cell(0, 1), "Lyon");
    EXPECT_GE(edits, 2);
}

// What the cell editor shows is what is stored: a character that Windows-1252 lacks is
// refused, typed or pasted.
TEST(StringGridView, TheCellEditorRefusesWhatTheCodePageLacks) {
    StringGrid grid(1, 2);
    StringGridView view(grid);
    view.show();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_X);
    auto* editor = view.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    typeText(editor, QStringLiteral("Ł€😀"));
    QGuiApplication::clipboard()->setText(QStringLiteral("→y"));
    editor->paste();
    EXPECT_EQ(editor->text(), QStringLiteral("x€"));
    EXPECT_EQ(grid.cell(0, 1), "x\x80");
}

TEST(StringGridView, CurrentCellAndSelectionFollowTheStoreBothWays) {
    StringGrid grid(4, 6);
    StringGridView view(grid);
    int clicks = 0;
    grid.onClick = [&] { ++clicks; };

    grid.setRow(4);
    EXPECT_EQ(view.currentIndex(), view.indexOf(0, 4));
    EXPECT_EQ(clicks, 1);

    // A user's range: current cell (1,2), selection to (3,5).
    view.selectionModel()->setCurrentIndex(view.indexOf(1, 2), QItemSelectionModel::ClearAndSelect);
    view.selectionModel()->select(QItemSelection(view.indexOf(1, 2), view.indexOf(3, 5)),
                                  QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Selection(), (GridRect{1, 2, 3, 5}));
    EXPECT_EQ(clicks, 2);

    // Shrinking pulls the current cell in and the view follows.
    grid.setRowCount(2);
    EXPECT_EQ(view.model()->rowCount(), 1);
    EXPECT_EQ(view.currentIndex(), view.indexOf(1, 1));
}

TEST(StringGridView, HeaderPressesNameTheFieldUnderTheMouse) {
    StringGrid grid(3, 4);
    StringGridView view(grid);
    view.resize(400, 200);
    view.show();
    int col = -2, row = -2;
    Qt::MouseButton button = Qt::NoButton;
    QObject::connect(
        &view, &StringGridView::mousePressed,
        [&](Qt::MouseButton b, Qt::MouseButtons, Qt::KeyboardModifiers, bool, int c, int r) {
            button = b;
            col = c;
            row = r;
        });
    QWidget* header = view.horizontalHeader()->viewport();
    QTest::mousePress(header, Qt::RightButton, Qt::NoModifier, QPoint(64 + 10, 5));
    EXPECT_EQ(button, Qt::RightButton);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 0);
    QTest::mousePress(header, Qt::RightButton, Qt::NoModifier, QPoint(3 * 64 + 20, 5));
    EXPECT_EQ(col, -1); // past the last field
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(130, 18 + 5));
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 2);
}
