// The sort dialog and the copy-options dialog: texts, geometry, buttons and keys.

#include "mainwindow/_Copier.h"
#include "mainwindow/_Tri.h"

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace tablor;

namespace {

// The designed rectangle at the dialog's factor, edges rounded.
QRect at(double f, int left, int top, int width, int height) {
    auto s = [f](int v) { return int(std::lround(v * f)); };
    return QRect(s(left), s(top), s(left + width) - s(left), s(top + height) - s(top));
}

// A caption fits when the text's width is inside the control's.
void expectFits(const QPushButton* b) {
    EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width() - 8)
        << b->text().toStdString();
}

QStringList selected(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected()) out << list->item(i)->text();
    return out;
}

} // namespace

TEST(SortDialog, TextsAndDesignedGeometry) {
    TFtri d;
    const double f = d.layoutScale();
    EXPECT_GE(f, 1.0);
    EXPECT_EQ(d.windowTitle(), "Opération de tri");
    EXPECT_EQ(d.GroupBox1->title(), "Tri selon  : ");
    EXPECT_EQ(d.BitBtn1->text(), "OK");
    EXPECT_EQ(d.BitBtn2->text(), "Annuler");
    EXPECT_TRUE(d.BitBtn1->isDefault());
    EXPECT_FALSE(d.ComboBox1->isEditable());
    EXPECT_EQ(d.ComboBox1->maxVisibleItems(), 10);
    EXPECT_EQ(d.size(), at(f, 0, 0, 313, 137).size());
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.GroupBox1->geometry(), at(f, 16, 16, 281, 65));
    EXPECT_EQ(d.ComboBox1->parentWidget(), d.GroupBox1);
    EXPECT_EQ(d.ComboBox1->geometry(), at(f, 16, 24, 249, 21));
    EXPECT_EQ(d.BitBtn1->geometry(), at(f, 136, 96, 75, 25));
    EXPECT_EQ(d.BitBtn2->geometry(), at(f, 216, 96, 75, 25));
    expectFits(d.BitBtn1);
    expectFits(d.BitBtn2);
}

TEST(SortDialog, OkEnterAnnulerAndEscape) {
    TFtri d;
    d.ComboBox1->addItems({"a", "b"});
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);

    d.show();
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    d.show();
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    d.show();
    d.ComboBox1->setFocus();
    QTest::keyClick(d.ComboBox1, Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(CopyOptionsDialog, TextsAndDesignedGeometry) {
    TCopyOpt d;
    const double f = d.layoutScale();
    EXPECT_EQ(d.windowTitle(), "Copier les colonnes");
    EXPECT_EQ(d.GroupBox1->title(), "Champs : ");
    EXPECT_EQ(d.GroupBox2->title(), "");
    EXPECT_EQ(d.Button1->text(), "Tout sélectionner");
    EXPECT_EQ(d.Button2->text(), "Tout désélectionner");
    EXPECT_EQ(d.OKBtn->text(), "OK");
    EXPECT_EQ(d.CancelBtn->text(), "Annuler");
    EXPECT_TRUE(d.OKBtn->isDefault());
    EXPECT_EQ(d.ListBox1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(d.size(), at(f, 0, 0, 312, 314).size());
    EXPECT_EQ(d.GroupBox1->geometry(), at(f, 16, 16, 281, 161));
    EXPECT_EQ(d.ListBox1->geometry(), at(f, 16, 24, 249, 121));
    EXPECT_EQ(d.GroupBox2->geometry(), at(f, 16, 184, 281, 65));
    EXPECT_EQ(d.Button1->parentWidget(), d.GroupBox2);
    EXPECT_EQ(d.Button1->geometry(), at(f, 16, 24, 115, 25));
    EXPECT_EQ(d.Button2->geometry(), at(f, 152, 24, 113, 25));
    EXPECT_EQ(d.OKBtn->geometry(), at(f, 128, 272, 75, 25));
    EXPECT_EQ(d.CancelBtn->geometry(), at(f, 216, 272, 75, 25));
    for (const QPushButton* b : {d.Button1, d.Button2, d.OKBtn, d.CancelBtn})
        expectFits(b);
}

TEST(CopyOptionsDialog, SelectAllNoneAndTheAnswer) {
    TCopyOpt d;
    d.ListBox1->addItems({"Nom", "Ville", "Code"});
    d.ListBox1->item(1)->setSelected(true);
    d.show();
    EXPECT_EQ(d.focusWidget(), d.OKBtn);

    QTest::mouseClick(d.Button1, Qt::LeftButton);
    EXPECT_EQ(selected(d.ListBox1), (QStringList{"Nom", "Ville", "Code"}));
    EXPECT_TRUE(d.isVisible());
    QTest::mouseClick(d.Button2, Qt::LeftButton);
    EXPECT_TRUE(selected(d.ListBox1).isEmpty());
    EXPECT_TRUE(d.isVisible());

    // Ctrl+click adds to the selection.
    auto click = [&](int row, Qt::KeyboardModifiers keys) {
        const QRect r = d.ListBox1->visualItemRect(d.ListBox1->item(row));
        QTest::mouseClick(d.ListBox1->viewport(), Qt::LeftButton, keys, r.center());
    };
    click(0, Qt::NoModifier);
    click(2, Qt::ControlModifier);
    EXPECT_EQ(selected(d.ListBox1), (QStringList{"Nom", "Code"}));

    // Enter in the list answers OK; Escape and "Annuler" answer Cancel whatever is selected.
    QTest::keyClick(d.ListBox1, Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
    d.show();
    EXPECT_EQ(d.focusWidget(), d.OKBtn);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    d.show();
    QTest::mouseClick(d.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(selected(d.ListBox1), (QStringList{"Nom", "Code"}));
}
