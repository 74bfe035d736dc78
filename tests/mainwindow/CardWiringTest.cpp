#include "MainWindowFixture.h"

#include "card/_Chercher.h"
#include "card/_Fiche.h"
#include "mainwindow/_Copier.h"
#include "mainwindow/_Tri.h"
#include "platform/StringGridView.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

// The main window with its card, search and copy-options dialogs; a
// table of three fields and four records, cell (c, r) holding "r.c".
class CardWiring : public ::testing::Test {
protected:
    void SetUp() override {
        form = &f.start();
        card = form->findChild<TFiche*>(QStringLiteral("Fiche"));
        find = form->findChild<TFind*>(QStringLiteral("Find"));
        StringGrid& g = form->grid();
        g.setColCount(3);
        g.setRowCount(5);
        for (int c = 0; c < 3; ++c) {
            g.setCell(c, 0, "Champ " + std::to_string(c + 1));
            for (int r = 1; r < 5; ++r)
                g.setCell(c, r, std::to_string(r) + "." + std::to_string(c));
        }
        form->document().RecordCount = 4;
        form->UpdateStatus();
        form->FillCard();
        form->show();
    }
    MainWindowFixture f;
    TForm1* form = nullptr;
    TFiche* card = nullptr;
    TFind* find = nullptr;
};

TEST_F(CardWiring, TheCardFollowsTheGridAndItsButtonsRunTheMainWindowsCommands) {
    form->gridView()->setFocus();
    QTest::keyClick(form->gridView(), Qt::Key_Down);
    QTest::keyClick(form->gridView(), Qt::Key_Down);
    EXPECT_EQ(form->grid().Row(), 3);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Enregistrement n°3"));
    EXPECT_EQ(card->Edits[2]->text(), QStringLiteral("3.2"));
    EXPECT_FALSE(card->isVisible()); // its showing commands stay hidden

    card->ToolButton7->trigger(); // deletes record 3, no question asked
    EXPECT_EQ(form->document().RecordCount, 3);
    EXPECT_EQ(form->grid().cellString(0, 3), "4.0");
    EXPECT_EQ(card->Edits[0]->text(), QStringLiteral("4.0"));
    EXPECT_TRUE(f.platform.questions.isEmpty());
    EXPECT_TRUE(form->document().Modified);

    card->ToolButton6->trigger();
    EXPECT_EQ(form->document().RecordCount, 4);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Enregistrement n°4"));
    EXPECT_EQ(card->Edits[0]->text(), QString());
    EXPECT_TRUE(form->windowTitle().contains(QStringLiteral("4 enregistrements")));

    card->ToolButton9->trigger();
    EXPECT_TRUE(find->isVisible());
}

TEST_F(CardWiring, TheCardsCopyAsksThroughTheCopyOptionsDialog) {
    form->grid().moveTo(0, 2);
    form->document().CopyFlags[1] = 0;
    QStringList offered;
    std::vector<bool> preselected;
    f.platform.dialogScripts = {[&](QDialog& d) {
        auto& copyOpt = static_cast<TCopyOpt&>(d);
        for (int i = 0; i < copyOpt.ListBox1->count(); ++i) {
            offered << copyOpt.ListBox1->item(i)->text();
            preselected.push_back(copyOpt.ListBox1->item(i)->isSelected());
        }
        copyOpt.ListBox1->item(0)->setSelected(false);
        return int(QDialog::Accepted);
    }};
    card->ToolButton11->trigger();
    EXPECT_EQ(offered, (QStringList{"Champ 1", "Champ 2", "Champ 3"}));
    EXPECT_EQ(preselected, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(f.platform.clipboard, QStringList{QStringLiteral("2.2\r\n")});
    EXPECT_EQ(form->document().CopyFlags[0], 0);
    EXPECT_EQ(form->document().CopyFlags[2], 1);
}

TEST_F(CardWiring, DraggedLabelsAreSavedWithTheTableAndShownAgainWhenItIsOpened) {
    card->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(card));
    QTest::mousePress(card->Labels[2], Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseMove(card->Labels[2], QPoint(2 + 150, 2 - 60));
    QTest::mouseRelease(card->Labels[2], Qt::LeftButton, {}, QPoint(2 + 150, 2 - 60));
    EXPECT_EQ(card->labelLeft(2), 152); // (8 + 150) snapped
    EXPECT_EQ(card->labelTop(2), 72);   // (136 - 60) snapped

    const QString path = f.path(QStringLiteral("fiche.tbr"));
    f.platform.saveAnswers = {path};
    form->Enregistrersous1Click();
    const std::string saved = f.read(QStringLiteral("fiche.tbr"));
    EXPECT_NE(saved.find("\r\n64\r\n152\r\n72\r\n1\r\n"), std::string::npos);

    form->Nouveau1Click();
    EXPECT_EQ(card->labelLeft(2), defaultCardLeft(2));
    f.platform.openAnswers = {path};
    form->Ouvrir1Click();
    EXPECT_EQ(card->labelLeft(2), 152);
    EXPECT_EQ(card->Labels[2]->mapTo(card, QPoint(0, 0)), QPoint(152, 72));
    EXPECT_EQ(card->Labels[2]->text(), QStringLiteral("Champ 3"));
}

TEST_F(CardWiring, SortingRefillsTheCardEvenWhenTheCurrentCellStays) {
    form->grid().setCell(0, 1, "z"); // record 1 sorts last
    form->grid().moveTo(0, 1);
    form->FillCard();
    f.platform.dialogScripts = {[](QDialog& d) {
        static_cast<TFtri&>(d).ComboBox1->setCurrentIndex(0);
        return int(QDialog::Accepted);
    }};
    action(*form, "trierlesenregistrements1")->trigger();
    EXPECT_EQ(form->grid().cellString(0, 1), "2.0");
    EXPECT_EQ(card->Edits[0]->text(), QStringLiteral("2.0"));
}

TEST_F(CardWiring, TheSearchFromTheMenuMovesTheGridAndTheCard) {
    form->grid().setCell(1, 3, "une aiguille");
    action(*form, "Rechercherdanstable1")->trigger();
    ASSERT_TRUE(find->isVisible());
    find->Edit1->setText(QStringLiteral("AIGUILLE"));
    find->FindBtn->click();
    EXPECT_EQ(form->grid().Col(), 1);
    EXPECT_EQ(form->grid().Row(), 3);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Enregistrement n°3"));
    EXPECT_EQ(card->Edits[1]->selectedText(), QStringLiteral("aiguille"));
}

} // namespace
} // namespace tablor::test
