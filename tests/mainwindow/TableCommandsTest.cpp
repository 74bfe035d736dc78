// Records and fields, the field name query, the sort dialog and the copy command, through the
// window's own menu entries and the scripted platform.

#include "MainWindowFixture.h"

#include "mainwindow/_Tri.h"
#include "platform/StringGridView.h"
#include "table/CopyText.h"
#include "table/TableFile.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <random>

using namespace tablor;
using namespace tablor::test;

namespace {

using Rows = std::vector<std::vector<std::string>>; // rows[0] holds the field names

void fill(TForm1& w, const Rows& rows) {
    StringGrid& g = w.grid();
    g.setSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            g.setCell(c, r, rows[r][c]);
    w.document().RecordCount = g.RowCount() - 1;
    w.UpdateStatus();
}

Rows contents(const StringGrid& g) {
    Rows rows(g.RowCount());
    for (int r = 0; r < g.RowCount(); ++r)
        rows[r] = g.rowStrings(r);
    return rows;
}

QString title(const QString& count) {
    return QStringLiteral("Tablor 1.0 - Fichier SANS NOM (") + count +
           QStringLiteral(") - 08/12/2026");
}

// A sort dialog script: checks what the dialog offers, picks entry `pick` (or leaves the
// preselection when negative) and answers `result`.
std::function<int(QDialog&)> sortDialog(int pick, int result, int* preselected = nullptr,
                                        QStringList* entries = nullptr) {
    return [=](QDialog& d) {
        auto& dialog = dynamic_cast<TFtri&>(d);
        if (preselected) *preselected = dialog.ComboBox1->currentIndex();
        if (entries) {
            entries->clear();
            for (int i = 0; i < dialog.ComboBox1->count(); ++i)
                *entries << dialog.ComboBox1->itemText(i);
        }
        if (pick >= 0) dialog.ComboBox1->setCurrentIndex(pick);
        return result;
    };
}

// The same exchange sort, written out line by line.
void referenceSort(Rows& rows, int col) {
    const int n = static_cast<int>(rows.size()) - 1;
    int gap = n;
    do {
        gap /= 2;
        bool exchanged;
        do {
            exchanged = false;
            for (int row = 1; row <= n - gap; ++row) {
                const auto& a = rows[row][col];
                const auto& b = rows[row + gap][col];
                if (std::lexicographical_compare(
                        b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
                            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
                        })) {
                    std::swap(rows[row], rows[row + gap]);
                    exchanged = true;
                }
            }
        } while (exchanged);
    } while (gap > 1);
}

} // namespace

TEST(TableCommands, AddRecordRefreshesTitleStatusAndSortButton) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.grid().moveTo(4, 1);
    action(w, "ToolButton6")->trigger();
    EXPECT_EQ(w.grid().RowCount(), 3);
    EXPECT_EQ(w.document().RecordCount, 2);
    EXPECT_EQ(w.grid().Col(), 0);
    EXPECT_EQ(w.grid().Row(), 2);
    EXPECT_TRUE(w.document().Modified);
    EXPECT_TRUE(action(w, "tlbtnTrier")->isEnabled());
    EXPECT_EQ(w.windowTitle(), title("2 enregistrements"));
    EXPECT_EQ(w.panel(2)->text(), "Enr : 2");
    EXPECT_EQ(f.platform.busyCount, 0);
}

TEST(TableCommands, DeleteRecordsDownToOneEmptyRecord) {
    MainWindowFixture f;
    TForm1& w = f.start();
    fill(w, {{"n", "m"}, {"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}, {"6", ""}});
    w.grid().moveTo(1, 2);
    w.grid().setSelection({1, 2, 1, 4});
    action(w, "Supprimerligne1")->trigger();
    EXPECT_EQ(contents(w.grid()), (Rows{{"n", "m"}, {"1", ""}, {"5", ""}, {"6", ""}}));
    EXPECT_EQ(w.grid().Col(), 0);
    EXPECT_EQ(w.document().RecordCount, 3);
    EXPECT_EQ(w.panel(2)->text(), "Enr : 3");
    EXPECT_EQ(w.windowTitle(), title("3 enregistrements"));
    EXPECT_EQ(f.platform.busyCount, 1);
    EXPECT_EQ(f.platform.busyDepth, 0);

    w.grid().moveTo(0, 1);
    w.grid().setSelection({0, 1, 0, 3});
    action(w, "ToolButton7")->trigger();
    EXPECT_EQ(contents(w.grid()), (Rows{{"n", "m"}, {"", ""}}));
    EXPECT_EQ(w.windowTitle(), title("1 enregistrement"));
    EXPECT_FALSE(action(w, "tlbtnTrier")->isEnabled());
    EXPECT_TRUE(w.document().Modified);
}

TEST(TableCommands, FieldsComeAndGoUpToForty) {
    MainWindowFixture f;
    TForm1& w = f.start();
    for (int i = 0; i < 29; ++i)
        action(w, "Ajoutercolonne1")->trigger();
    EXPECT_EQ(w.grid().ColCount(), 39);
    w.document().Modified = false;
    action(w, "ToolButton8")->trigger();
    EXPECT_EQ(w.grid().cell(39, 0), "Champ 40");
    EXPECT_EQ(w.grid().Col(), 39);
    EXPECT_EQ(w.panel(3)->text(), "Items : 40");
    EXPECT_TRUE(w.document().Modified);
    EXPECT_TRUE(f.platform.informations.isEmpty());

    w.document().Modified = false;
    action(w, "Ajoutercolonne1")->trigger();
    EXPECT_EQ(f.platform.informations, QStringList{"40 champs maximum."});
    EXPECT_EQ(w.grid().ColCount(), 40);
    EXPECT_FALSE(w.document().Modified);

    w.grid().moveTo(1, 1);
    w.grid().setSelection({1, 1, 38, 1});
    action(w, "ToolButton9")->trigger();
    EXPECT_EQ(w.grid().rowStrings(0), (std::vector<std::string>{"Colonne 1", "Champ 40"}));
    EXPECT_EQ(w.panel(3)->text(), "Items : 2");
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(f.platform.busyDepth, 0);
}

TEST(TableCommands, BlankingKeepsRecordsNamesAndTitle) {
    MainWindowFixture f;
    TForm1& w = f.start();
    fill(w, {{"a", "b"}, {"1", "2"}, {"3", "4"}});
    const QString before = w.windowTitle();
    action(w, "ToolButton10")->trigger();
    EXPECT_EQ(contents(w.grid()), (Rows{{"a", "b"}, {"", ""}, {"", ""}}));
    EXPECT_EQ(w.windowTitle(), before);
    EXPECT_TRUE(w.document().Modified);
}

TEST(TableCommands, OnlyAPlainRightPressOnAFieldNameAsksForANewName) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.grid().setColCount(3);
    const auto R = Qt::RightButton;
    // Refused: a key held, the left button, two buttons, a double click, a record cell, the
    // header past the last field.
    w.StringGrid1MouseDown(R, R, Qt::ControlModifier, false, 1, 0);
    w.StringGrid1MouseDown(R, R, Qt::ShiftModifier, false, 1, 0);
    w.StringGrid1MouseDown(R, R, Qt::AltModifier, false, 1, 0);
    w.StringGrid1MouseDown(Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, false, 1, 0);
    w.StringGrid1MouseDown(R, R | Qt::LeftButton, Qt::NoModifier, false, 1, 0);
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, true, 1, 0);
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 1, 1);
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, -1, 0);
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 3, 0);
    EXPECT_TRUE(f.platform.inputQueries.isEmpty());

    // Unchanged text: nothing happens.
    f.platform.inputAnswers = {QStringLiteral("Colonne 2"), std::nullopt, QStringLiteral("Ville"),
                               QString(), QStringLiteral("Prénom\r\nsuite")};
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 1, 0);
    EXPECT_EQ(f.platform.inputQueries, QStringList{"Tablor|Nom du champ :|Colonne 2|255"});
    EXPECT_FALSE(w.document().Modified);
    // Cancelled.
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 1, 0);
    EXPECT_FALSE(w.document().Modified);
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 1, 0);
    EXPECT_EQ(w.grid().cell(1, 0), "Ville");
    EXPECT_TRUE(w.document().Modified);
    // An empty name is a name.
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 2, 0);
    EXPECT_EQ(w.grid().cell(2, 0), "");
    // Accents are stored as Windows-1252; a line break would split the table file's line.
    w.StringGrid1MouseDown(R, R, Qt::NoModifier, false, 0, 0);
    EXPECT_EQ(w.grid().cell(0, 0), "Pr\xE9nom");
}

TEST(TableCommands, ARightClickOnTheHeaderReachesTheQuery) {
    MainWindowFixture f;
    TForm1& w = f.start();
    QHeaderView* header = w.gridView()->horizontalHeader();
    const QPoint second(header->sectionViewportPosition(1) + 5, header->height() / 2);
    f.platform.inputAnswers = {QStringLiteral("Ville")};
    QTest::mousePress(header->viewport(), Qt::RightButton, Qt::NoModifier, second);
    EXPECT_EQ(w.grid().cell(1, 0), "Ville");
    QTest::mousePress(header->viewport(), Qt::RightButton, Qt::ControlModifier, second);
    EXPECT_EQ(f.platform.inputQueries.size(), 1);
}

TEST(TableCommands, SortThroughTheDialog) {
    MainWindowFixture f;
    TForm1& w = f.start();
    fill(w, {{"n", "cl\xE9", "x", "y"},
             {"1", "a", "p", "q"},
             {"2", "b", "", ""},
             {"3", "a", "r", ""},
             {"4", "a", "", "s"},
             {"5", "c", "t", "u"}});
    w.grid().moveTo(2, 3);
    int preselected = -2;
    QStringList entries;
    f.platform.dialogScripts = {sortDialog(1, QDialog::Accepted, &preselected, &entries)};
    action(w, "trierlesenregistrements1")->trigger();
    EXPECT_EQ(entries, (QStringList{"n", "clé", "x", "y"}));
    EXPECT_EQ(preselected, 0);
    EXPECT_EQ(contents(w.grid()), (Rows{{"n", "cl\xE9", "x", "y"},
                                        {"1", "a", "p", "q"},
                                        {"4", "a", "", "s"},
                                        {"3", "a", "r", ""},
                                        {"2", "b", "", ""},
                                        {"5", "c", "t", "u"}}));
    EXPECT_EQ(w.document().SortField, 1);
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(w.grid().Col(), 0);
    EXPECT_EQ(w.grid().Row(), 1);
    EXPECT_EQ(f.platform.busyCount, 1);
    EXPECT_EQ(f.platform.busyDepth, 0);

    // The choice is offered again; cancelling changes nothing.
    w.document().Modified = false;
    f.platform.dialogScripts = {sortDialog(3, QDialog::Rejected, &preselected)};
    action(w, "tlbtnTrier")->trigger();
    EXPECT_EQ(preselected, 1);
    EXPECT_EQ(w.document().SortField, 1);
    EXPECT_FALSE(w.document().Modified);

    // Beyond the last field (after deletions) the first is offered.
    w.document().SortField = 4;
    f.platform.dialogScripts = {sortDialog(-1, QDialog::Rejected, &preselected)};
    action(w, "tlbtnTrier")->trigger();
    EXPECT_EQ(preselected, 0);

    // A negative field, from a damaged file: nothing chosen, and OK sorts nothing.
    w.document().SortField = -3;
    const Rows before = contents(w.grid());
    f.platform.dialogScripts = {sortDialog(-1, QDialog::Accepted, &preselected)};
    action(w, "tlbtnTrier")->trigger();
    EXPECT_EQ(preselected, -1);
    EXPECT_EQ(contents(w.grid()), before);
    EXPECT_FALSE(w.document().Modified);
    EXPECT_TRUE(f.platform.errors.isEmpty());
}

TEST(TableCommands, SortingOneRecordStillMarksAndMoves) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.grid().moveTo(3, 1);
    f.platform.dialogScripts = {sortDialog(2, QDialog::Accepted)};
    action(w, "trierlesenregistrements1")->trigger();
    EXPECT_EQ(w.document().SortField, 2);
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(w.grid().Col(), 0);
}

TEST(TableCommands, ReshapedAndSortedTablesSaveLikeTheReference) {
    std::mt19937 rng(11);
    const std::vector<std::string> keys = {
        "", "a", "a", "B", "b", "\xE9t\xE9", "10", "9", "longer than seven", "longer than seven!"};
    for (int round = 0; round < 8; ++round) {
        // A random table of 4 fields, saved, then opened through the window.
        TableDocument start;
        Rows expected(1);
        for (int c = 0; c < 4; ++c)
            expected[0].push_back("F" + std::to_string(c));
        const int records = 5 + static_cast<int>(rng() % 60);
        for (int r = 0; r < records; ++r) {
            expected.emplace_back();
            for (int c = 0; c < 4; ++c)
                expected.back().push_back(keys[rng() % keys.size()]);
        }
        start.StringGrid1.setSize(4, records + 1);
        for (int r = 0; r <= records; ++r)
            for (int c = 0; c < 4; ++c)
                start.StringGrid1.setCell(c, r, expected[r][c]);
        start.RecordCount = records;

        MainWindowFixture f;
        f.write("t.tbr", SaveTableToBytes(start, DocumentCardLayout(start)));
        TForm1& w = f.start({f.path("t.tbr")});
        ASSERT_EQ(w.document().RecordCount, records);

        // Sort on field 2, delete records 2 and 3, delete field 0, add a field, rename it,
        // add a record, sort on field 0.
        f.platform.dialogScripts = {sortDialog(2, QDialog::Accepted)};
        action(w, "trierlesenregistrements1")->trigger();
        referenceSort(expected, 2);
        w.grid().setSelection({1, 2, 2, 3});
        action(w, "Supprimerligne1")->trigger();
        expected.erase(expected.begin() + 2, expected.begin() + 4);
        w.grid().setSelection({0, 1, 0, 1});
        action(w, "Supprimercolonne1")->trigger();
        for (auto& row : expected)
            row.erase(row.begin());
        action(w, "Ajoutercolonne1")->trigger();
        for (auto& row : expected)
            row.push_back("");
        expected[0].back() = "Champ 4";
        f.platform.inputAnswers = {QStringLiteral("Dernier")};
        w.StringGrid1MouseDown(Qt::RightButton, Qt::RightButton, Qt::NoModifier, false, 3, 0);
        expected[0].back() = "Dernier";
        action(w, "Ajouterligne1")->trigger();
        expected.emplace_back(4, "");
        f.platform.dialogScripts = {sortDialog(0, QDialog::Accepted)};
        action(w, "trierlesenregistrements1")->trigger();
        referenceSort(expected, 0);
        action(w, "Enregistrer1")->trigger();
        ASSERT_TRUE(f.platform.errors.isEmpty());

        TableDocument reference;
        reference.StringGrid1.setSize(4, static_cast<int>(expected.size()));
        for (int r = 0; r < reference.StringGrid1.RowCount(); ++r)
            for (int c = 0; c < 4; ++c)
                reference.StringGrid1.setCell(c, r, expected[r][c]);
        reference.RecordCount = reference.StringGrid1.RowCount() - 1;
        reference.SortField = 0;
        ASSERT_EQ(f.read("t.tbr"), SaveTableToBytes(reference, DocumentCardLayout(reference)))
            << "round " << round;
    }
}

TEST(TableCommands, CopyPutsTheTableOrTheSelectionOnTheClipboard) {
    MainWindowFixture f;
    TForm1& w = f.start();
    fill(w, {{"A", "B", "C"}, {"x", "", "z"}, {"\xE9t\xE9", "v", "w"}});
    w.grid().moveTo(1, 1);
    action(w, "Copier1")->trigger();
    const QString t = w.windowTitle();
    ASSERT_EQ(f.platform.clipboard.size(), 1);
    EXPECT_EQ(f.platform.clipboard[0], t + "\r\n\r\nx\r\nz\r\n\r\nété\r\nv\r\nw\r\n\r\n");

    w.grid().setSelection({1, 1, 2, 2});
    action(w, "ToolButton16")->trigger();
    EXPECT_EQ(f.platform.clipboard[1], t + " (sélection)\r\n\r\nz\r\n\r\nv\r\nw\r\n\r\n");
    EXPECT_EQ(f.platform.busyCount, 2);
    EXPECT_FALSE(w.document().Modified);
    EXPECT_TRUE(f.platform.clipboardOnDemand.empty()) << "a small copy is written at once";
}

// A big copy is written when a program asks for it, each time: whatever the table goes through
// after the copy, up to its window closing, it pastes as the table was when copied.
TEST(TableCommands, ABigCopyPastesTheTableAsCopiedWhateverFollows) {
    MainWindowFixture f;
    TForm1& w = f.start();
    const int records = int(CopiedAtOnceCells / 3) + 1;
    Rows rows{{"A", "B", "C"}};
    for (int r = 1; r <= records; ++r)
        rows.push_back({"r" + std::to_string(r),
                        r % 3 ? "" : "un texte assez long " + std::to_string(r), "\xE9"});
    fill(w, rows);
    w.grid().moveTo(1, 1);
    action(w, "Copier1")->trigger();
    ASSERT_EQ(f.platform.clipboardOnDemand.size(), 1u);
    ASSERT_TRUE(f.platform.clipboard.isEmpty());
    const auto pasted = [&f] { return f.platform.clipboardOnDemand[0](); };
    const QByteArray copied = pasted();
    ASSERT_TRUE(copied.startsWith(
        (w.windowTitle() + QStringLiteral("\r\n\r\nr1\r\né\r\n\r\nr2\r\né\r\n\r\nr3\r\nun texte "))
            .toUtf8()));
    ASSERT_TRUE(copied.endsWith("\r\n\r\n"));

    // A few cells of the big table are written at once.
    w.grid().setSelection({0, 1, 2, 10});
    action(w, "Copier1")->trigger();
    EXPECT_EQ(f.platform.clipboard.size(), 1);
    EXPECT_EQ(f.platform.clipboardOnDemand.size(), 1u);

    f.write("autre.tbr", SaveTableToBytes(TableDocument(), DocumentCardLayout(TableDocument())));
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"edit",
         [&] {
             w.grid().setCell(1, 3, "court");
             w.grid().setCell(0, 2, "bien plus long");
         }},
        {"rename",
         [&] {
             f.platform.inputAnswers = {QStringLiteral("Nom")};
             w.StringGrid1MouseDown(Qt::RightButton, Qt::RightButton, Qt::NoModifier, false, 0, 0);
         }},
        {"add record", [&] { action(w, "Ajouterligne1")->trigger(); }},
        {"add field", [&] { action(w, "Ajoutercolonne1")->trigger(); }},
        {"sort",
         [&] {
             f.platform.dialogScripts = {sortDialog(1, QDialog::Accepted)};
             action(w, "trierlesenregistrements1")->trigger();
         }},
        {"delete records",
         [&] {
             w.grid().setSelection({0, 2, 0, 500});
             action(w, "Supprimerligne1")->trigger();
         }},
        {"delete field",
         [&] {
             w.grid().setSelection({0, 1, 0, 1});
             action(w, "Supprimercolonne1")->trigger();
         }},
        {"move field", [&] { w.grid().moveColumn(0, 2); }},
        {"blank", [&] { action(w, "Effacerlesenregistrements1")->trigger(); }},
        {"open",
         [&] {
             f.platform.questionAnswers = {Answer::No};
             f.platform.openAnswers = {f.path("autre.tbr")};
             w.Ouvrir1Click();
         }},
        {"new", [&] { w.Nouveau1Click(); }},
        {"close", [&] { f.form.reset(); }},
    };
    for (const auto& [name, change] : changes) {
        change();
        ASSERT_EQ(pasted(), copied) << "after: " << name;
    }
    EXPECT_TRUE(f.platform.errors.isEmpty());
}

TEST(TableCommands, AClipboardThatWontOpenIsReported) {
    MainWindowFixture f;
    TForm1& w = f.start();
    f.platform.clipboardFails = true;
    action(w, "Copier1")->trigger();
    EXPECT_EQ(f.platform.errors, QStringList{"Impossible d'ouvrir le Presse-papiers."});
    EXPECT_EQ(f.platform.busyDepth, 0);
}
