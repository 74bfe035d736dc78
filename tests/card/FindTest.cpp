#include "card/CardFixture.h"
#include "card/_Chercher.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tablor::test {
namespace {

// A table of five fields and three records with "clé" in record 2, fields 1 and 4, and a
// search dialog working on it and on the card.
class FindTest : public ::testing::Test {
protected:
    void SetUp() override {
        StringGrid& g = f.doc.StringGrid1;
        g.setCell(0, 0, "Cl\xE9");
        g.setCell(1, 2, "une CL\xC9 ou une cl\xE9"); // CLÉ (accented capital) is not clé
        g.setCell(4, 2, "ma Cl\xE9");
        g.setCell(0, 3, "fin");
        card = &f.make();
        find = std::make_unique<TFind>(f.doc, f.platform, card);
        find->showDialog();
    }
    // Types the keyword into the dialog as a person would.
    void type(const QString& keyword) {
        find->Edit1->clear();
        typeText(find->Edit1, keyword);
    }
    void press() { QTest::mouseClick(find->FindBtn, Qt::LeftButton); }
    std::pair<int, int> current() const {
        return {f.doc.StringGrid1.Col(), f.doc.StringGrid1.Row()};
    }

    CardFixture f{5, 3};
    TFiche* card = nullptr;
    std::unique_ptr<TFind> find;
};

TEST_F(FindTest, FindsOccurrenceAfterOccurrenceThenSaysNotFoundAndStartsAgain) {
    EXPECT_EQ(find->windowTitle(), QStringLiteral("Rechercher"));
    EXPECT_EQ(find->GroupBox1->title(), QStringLiteral("Mot clé : "));
    EXPECT_EQ(find->FindBtn->text(), QStringLiteral("Chercher"));
    type(QStringLiteral("clé"));
    EXPECT_TRUE(find->FindBtn->isEnabled());

    press();
    EXPECT_EQ(current(), (std::pair<int, int>{1, 2})); // the lower-case one, not CLÉ
    EXPECT_EQ(find->FindBtn->text(), QStringLiteral("Suivant"));
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Enregistrement n°2"));
    EXPECT_EQ(card->Edits[1]->selectedText(), QStringLiteral("clé"));
    EXPECT_EQ(card->Edits[1]->selectionStart(), 15);
    EXPECT_EQ(card->Edits[4]->selectedText(), QStringLiteral("Clé"));
    EXPECT_EQ(card->focusWidget(), card->Edits[4]); // the last matching box
    EXPECT_EQ(find->SearchCol, 2);
    EXPECT_EQ(find->SearchRow, 2);

    press();
    EXPECT_EQ(current(), (std::pair<int, int>{4, 2}));
    EXPECT_EQ(find->SearchCol, 0);
    EXPECT_EQ(find->SearchRow, 3);

    press();
    EXPECT_EQ(f.platform.informations, QStringList{QStringLiteral("Texte non trouvé.")});
    EXPECT_EQ(current(), (std::pair<int, int>{4, 2})); // the grid stays where it was
    EXPECT_EQ(find->FindBtn->text(), QStringLiteral("Chercher"));

    press();
    EXPECT_EQ(current(), (std::pair<int, int>{1, 2}));
    EXPECT_EQ(f.platform.informations.size(), 1);
    EXPECT_EQ(f.platform.busyDepth, 0);
}

TEST_F(FindTest, AHitInTheLastCellStartsOverWithoutAMessage) {
    f.doc.StringGrid1.setCell(4, 3, "terminus");
    f.doc.StringGrid1.setCell(0, 1, "TERMINUS");
    type(QStringLiteral("terminus"));
    press();
    press();
    EXPECT_EQ(current(), (std::pair<int, int>{4, 3}));
    EXPECT_EQ(find->SearchRow, 1);
    EXPECT_EQ(find->SearchCol, 0);
    press();
    EXPECT_EQ(current(), (std::pair<int, int>{0, 1}));
    EXPECT_TRUE(f.platform.informations.isEmpty());
}

TEST_F(FindTest, ChangingTheKeywordOrClosingRestartsFromTheFirstRecord) {
    type(QStringLiteral("clé"));
    press();
    EXPECT_EQ(find->SearchRow, 2);
    QTest::keyClick(find->Edit1, Qt::Key_X);
    QTest::keyClick(find->Edit1, Qt::Key_Backspace); // the same text again: still a restart
    EXPECT_EQ(find->SearchRow, 1);
    EXPECT_EQ(find->SearchCol, 0);
    EXPECT_EQ(find->FindBtn->text(), QStringLiteral("Chercher"));
    press();
    EXPECT_EQ(current(), (std::pair<int, int>{1, 2}));

    // While the dialog is up, messages belong to it, so they show above it.
    EXPECT_EQ(f.platform.dialogOwner, find.get());
    QTest::keyClick(find.get(), Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    EXPECT_EQ(f.platform.dialogOwner, nullptr);
    EXPECT_EQ(find->SearchRow, 1);
    EXPECT_EQ(find->FindBtn->text(), QStringLiteral("Chercher"));
    find->showDialog();
    EXPECT_EQ(find->Edit1->text(), QStringLiteral("clé")); // the keyword stays
    press();
    EXPECT_EQ(current(), (std::pair<int, int>{1, 2}));

    QTest::mouseClick(find->BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(find->isVisible());
    EXPECT_EQ(find->SearchRow, 1);
}

TEST_F(FindTest, EmptyKeywordsAndNamesFindNothingAndUnwritableCharactersAreRefused) {
    EXPECT_FALSE(find->FindBtn->isEnabled());
    QTest::keyClick(find.get(), Qt::Key_Return); // Enter with nothing to look for
    EXPECT_TRUE(f.platform.informations.isEmpty());

    type(QStringLiteral("Clé ")); // a blank counts: no "clé" in the table has one after it
    QTest::keyClick(find->Edit1, Qt::Key_Return);
    EXPECT_EQ(f.platform.informations.size(), 1);
    f.doc.StringGrid1.setCell(0, 3, "la cl\xE9 de");
    QTest::keyClick(find->Edit1, Qt::Key_Return);
    EXPECT_EQ(current(), (std::pair<int, int>{0, 3}));

    type(QStringLiteral("CLÉ")); // É is not folded: only the accented capital matches
    press();
    EXPECT_EQ(current(), (std::pair<int, int>{1, 2}));
    EXPECT_EQ(card->Edits[1]->selectionStart(), 4);

    f.doc.StringGrid1.setCell(0, 0, "fin?");
    type(QStringLiteral("finŝ")); // ŝ has no Windows-1252 byte: refused as it is typed
    EXPECT_EQ(find->Edit1->text(), QStringLiteral("fin"));
    type(QStringLiteral("Cl\u00e9"));
    f.doc.StringGrid1.setCell(1, 2, "");
    f.doc.StringGrid1.setCell(4, 2, "");
    f.doc.StringGrid1.setCell(0, 3, "");
    press(); // only in the field names
    EXPECT_EQ(f.platform.informations.size(), 2);
}

TEST_F(FindTest, CaptionsFitTheirButtons) {
    for (const QString& text : {QStringLiteral("Chercher"), QStringLiteral("Suivant")}) {
        find->FindBtn->setText(text);
        EXPECT_LE(find->FindBtn->sizeHint().width(), find->FindBtn->width()) << text.toStdString();
    }
    EXPECT_LE(find->BitBtn2->sizeHint().width(), find->BitBtn2->width());
    EXPECT_TRUE(find->isVisible());
    EXPECT_TRUE(find->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(find->isModal());
}

} // namespace
} // namespace tablor::test
