// The main window's start-up, title and status bar, the save question and the document
// commands (new, open, save, save as, close), with the import and export of delimited text and
// files dropped on the window, through the scripted platform.

#include "MainWindowFixture.h"

#include "platform/StringGridView.h"
#include "platform/WindowPlacement.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tablor;
using namespace tablor::test;

namespace {

// Two fields, Nom and Ville, one record Martin / Lyon, default layout.
const std::string SmallTable =
    "2\r\n2\r\n0\r\n327\r\n450\r\n64\r\n8\r\n40\r\n1\r\n64\r\n8\r\n88\r\n1\r\n"
    "Nom\r\nVille\r\nMartin\r\nLyon\r\n";

// Three records of one field.
const std::string ThreeRecords = "1\r\n4\r\n0\r\n327\r\n450\r\n80\r\n8\r\n40\r\n1\r\nVille\r\n"
                                 "Lyon\r\nNantes\r\nBr\xe9st\r\n";

QString title(const QString& prefix, const QString& count) {
    return prefix + count + QStringLiteral(") - 08/12/2026");
}

} // namespace

TEST(MainWindowStart, UntitledStartTable) {
    MainWindowFixture f;
    TForm1& w = f.start();
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier SANS NOM (", "1 enregistrement"));
    EXPECT_EQ(w.panel(0)->text(), "Tablor 1.0");
    EXPECT_EQ(w.panel(1)->text(), "Table : ");
    EXPECT_EQ(w.panel(2)->text(), "Enr : 1");
    EXPECT_EQ(w.panel(3)->text(), "Items : 10");
    EXPECT_EQ(w.panel(4)->text(), "Date : 08/12/2026");
    EXPECT_EQ(w.panel(5)->text(), "12:34:56");
    EXPECT_FALSE(action(w, "tlbtnTrier")->isEnabled());
    EXPECT_EQ(w.grid().ColCount(), 10);
    EXPECT_EQ(w.grid().RowCount(), 2);
    EXPECT_EQ(w.grid().cell(0, 0), "Colonne 1");
    EXPECT_EQ(w.grid().cell(9, 0), "Colonne 10");
    EXPECT_FALSE(w.document().Modified);
    EXPECT_TRUE(w.document().FileName.empty());
    // First run: as large as the screen, fitted into the room the screen leaves for windows.
    EXPECT_EQ(w.size(), f.platform.screen.boundedTo(availableArea(&w).size()));
}

TEST(MainWindowStart, OpensTheTableOfTheCommandLine) {
    MainWindowFixture f;
    f.write("liste.clients.tbr", ThreeRecords);
    TForm1& w = f.start({f.path("liste.clients.tbr")});
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier liste (", "3 enregistrements"));
    EXPECT_EQ(w.panel(1)->text(), "Table : liste.clients.tbr");
    EXPECT_EQ(w.panel(3)->text(), "Items : 1");
    EXPECT_TRUE(action(w, "tlbtnTrier")->isEnabled());
    EXPECT_EQ(w.grid().cell(0, 3), "Br\xe9st");
    EXPECT_EQ(w.grid().colWidth(0), 80);
    EXPECT_EQ(w.grid().Row(), 1);
}

TEST(MainWindowStart, LastTableOfTheSettingsUnlessTheCommandLineNamesAnother) {
    MainWindowFixture f;
    f.write("villes.tbr", ThreeRecords);
    f.write("tablor.ini", "[DernierFichier]\r\nFichier=" + f.nativePath("villes.tbr") + "\r\n");
    EXPECT_EQ(f.start().document().FileName, f.nativePath("villes.tbr"));

    // A missing file on the command line wins over the settings: the untitled table.
    MainWindowFixture g;
    g.write("villes.tbr", ThreeRecords);
    g.write("tablor.ini", "[DernierFichier]\r\nFichier=" + g.nativePath("villes.tbr") + "\r\n");
    TForm1& w = g.start({QStringLiteral("-debug")});
    EXPECT_TRUE(w.document().FileName.empty());
    EXPECT_EQ(w.panel(1)->text(), "Table : ");
    EXPECT_TRUE(g.platform.errors.isEmpty());
}

TEST(MainWindowStart, UnreadableStartTableShowsTheErrorAndStartsUntitled) {
    MainWindowFixture f;
    f.write("casse.tbr", "2\r\nabc\r\n");
    TForm1& w = f.start({f.path("casse.tbr")});
    ASSERT_EQ(f.platform.errors.size(), 1);
    EXPECT_EQ(f.platform.errors[0], "Saisie numérique incorrecte.");
    EXPECT_TRUE(w.document().FileName.empty());
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier SANS NOM (", "1 enregistrement"));
    EXPECT_EQ(w.grid().ColCount(), 10);

    // A folder or a pipe is refused at once, by name.
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.path("tube.tbr")).constData(), 0600), 0);
    for (const QString& path : {f.path("tube.tbr"), f.path("")}) {
        MainWindowFixture g;
        TForm1& other = g.start({path});
        ASSERT_EQ(g.platform.errors.size(), 1);
        EXPECT_EQ(g.platform.errors[0], path + " n'est pas un fichier ordinaire.");
        EXPECT_TRUE(other.document().FileName.empty());
    }
}

TEST(SaveQuestion, CancelKeepsEverythingAndNoStopsAsking) {
    MainWindowFixture f;
    f.write("villes.tbr", ThreeRecords);
    TForm1& w = f.start();
    w.document().Modified = true;

    f.platform.questionAnswers = {Answer::Cancel};
    w.Ouvrir1Click();
    EXPECT_EQ(
        f.platform.questions,
        QStringList{" Confirmation... |La Table a été modifiée. Voulez-vous l'enregistrer ? "});
    EXPECT_TRUE(f.platform.openRequests.isEmpty());
    EXPECT_TRUE(w.document().Modified);

    f.platform.questionAnswers = {Answer::No};
    f.platform.openAnswers = {f.path("villes.tbr")};
    w.Ouvrir1Click();
    EXPECT_EQ(f.platform.openRequests.size(), 1);
    EXPECT_EQ(f.platform.openRequests[0].filters,
              QStringList({"Tablor (*.tbr)", "Texte délimité (*.csv *.tsv *.txt)"}));
    EXPECT_EQ(f.platform.openRequests[0].defaultSuffixes.value(0), "tbr");
    EXPECT_EQ(f.platform.openRequests[0].initialName, "*.tbr");
    EXPECT_FALSE(w.document().Modified);
    EXPECT_EQ(w.document().RecordCount, 3);
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier villes (", "3 enregistrements"));
}

TEST(SaveQuestion, YesThenCancelledSaveAsKeepsTheWindowOpen) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.document().Modified = true;
    f.platform.questionAnswers = {Answer::Yes};
    f.platform.saveAnswers = {std::nullopt};
    QCloseEvent close;
    QCoreApplication::sendEvent(&w, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(w.document().Modified);
    EXPECT_FALSE(QFile::exists(f.path("tablor.ini"))); // settings are written only on a real close
}

TEST(DocumentCommands, SaveAsWritesTheTableAndTitlesIt) {
    MainWindowFixture f;
    f.write("in.tbr", SmallTable);
    TForm1& w = f.start({f.path("in.tbr")});
    w.grid().setCell(1, 1, "Lyon 3\xe8me");
    w.document().Modified = true;
    f.platform.saveAnswers = {f.path("copie.tbr")};
    w.Enregistrersous1Click();
    EXPECT_FALSE(w.document().Modified);
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier copie (", "1 enregistrement"));
    std::string expected = SmallTable;
    expected.replace(expected.find("Lyon"), 4, "Lyon 3\xe8me");
    EXPECT_EQ(f.read("copie.tbr"), expected);
    EXPECT_EQ(f.read("in.tbr"), SmallTable); // the file it came from is untouched
}

TEST(DocumentCommands, SaveOfAnUntitledTableAsksForANameAndCancelWritesNothing) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.document().Modified = true;
    f.platform.saveAnswers = {std::nullopt};
    w.Enregistrer1Click();
    EXPECT_EQ(f.platform.saveRequests.size(), 1);
    EXPECT_TRUE(w.document().FileName.empty());
    EXPECT_TRUE(w.document().Modified);
}

TEST(DocumentCommands, FailedOpenLeavesTheTableAsItWas) {
    MainWindowFixture f;
    f.write("in.tbr", SmallTable);
    f.write("vide.tbr", "");
    TForm1& w = f.start({f.path("in.tbr")});
    w.grid().setCell(0, 1, "Durand");
    w.document().Modified = true;
    const QString before = w.windowTitle();
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.path("tube.tbr")).constData(), 0600), 0);
    f.platform.questionAnswers = {Answer::No, Answer::No};
    f.platform.openAnswers = {f.path("vide.tbr"), f.path("tube.tbr")};
    w.run(&TForm1::Ouvrir1Click);
    w.run(&TForm1::Ouvrir1Click);
    ASSERT_EQ(f.platform.errors.size(), 2);
    EXPECT_EQ(f.platform.errors[1], f.path("tube.tbr") + " n'est pas un fichier ordinaire.");
    EXPECT_EQ(w.windowTitle(), before);
    EXPECT_EQ(w.document().FileName, f.nativePath("in.tbr"));
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(w.grid().cell(0, 1), "Durand");
    EXPECT_EQ(f.platform.busyDepth, 0);
}

TEST(DocumentCommands, NewTableNamesNoFileUntilTheNextRefresh) {
    MainWindowFixture f;
    f.write("villes.tbr", ThreeRecords);
    TForm1& w = f.start({f.path("villes.tbr")});
    w.document().SortField = 3;
    w.document().CopyFlags[5] = 0;
    w.Nouveau1Click();
    EXPECT_EQ(w.panel(1)->text(), "Table : SANS NOM");
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier SANS NOM (", "1 enregistrement"));
    EXPECT_EQ(w.grid().ColCount(), 10);
    EXPECT_EQ(w.grid().RowCount(), 2);
    EXPECT_EQ(w.grid().cell(0, 0), "Colonne 1");
    EXPECT_EQ(w.grid().cell(0, 1), "");
    EXPECT_EQ(w.grid().colWidth(0), 64);
    EXPECT_EQ(w.document().SortField, 0);
    EXPECT_EQ(w.document().CopyFlags[5], 1);
    w.UpdateStatus();
    EXPECT_EQ(w.panel(1)->text(), "Table : ");
}

TEST(DocumentCommands, ClosingWritesTheSettings) {
    MainWindowFixture f;
    f.write("villes.tbr", ThreeRecords);
    f.write("tablor.ini", "[Colonnes]\r\nA=1\r\n[Autre]\r\nB=2\r\n[Fiche]\r\nZ=9\r\n");
    TForm1& w = f.start({f.path("villes.tbr")});
    QCloseEvent close;
    QCoreApplication::sendEvent(&w, &close);
    EXPECT_TRUE(close.isAccepted());
    const std::string ini = f.read("tablor.ini");
    EXPECT_NE(ini.find("Fichier=" + f.nativePath("villes.tbr") + "\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[Fen\xeatre]\r\n"), std::string::npos);
    EXPECT_NE(ini.find("Maxi=0\r\n"), std::string::npos);
    EXPECT_NE(ini.find("[Autre]\r\nB=2\r\n"), std::string::npos);
    EXPECT_EQ(ini.find("Colonnes"), std::string::npos);
    EXPECT_EQ(ini.find("Z=9"), std::string::npos);
}

TEST(MainWindowShell, HintsAndBannerInPanelZero) {
    MainWindowFixture f;
    TForm1& w = f.start();
    QStatusTipEvent hint(QStringLiteral("Rechercher"));
    QCoreApplication::sendEvent(&w, &hint);
    EXPECT_EQ(w.panel(0)->text(), "Rechercher");
    action(w, "Ajouterligne1")->trigger(); // its status refresh brings the banner back
    EXPECT_EQ(w.panel(0)->text(), "Tablor 1.0");
    QCoreApplication::sendEvent(&w, &hint);
    QTest::mouseMove(w.gridView()->viewport(), QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), QPointF(10, 10), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.gridView()->viewport(), &move);
    EXPECT_EQ(w.panel(0)->text(), "Tablor 1.0");
    EXPECT_EQ(action(w, "ToolButton13")->toolTip(), "Rechercher");
    EXPECT_FALSE(action(w, "ToolButton14")->isVisible());
    EXPECT_FALSE(action(w, "Voirenregistrement1")->isVisible());
    EXPECT_FALSE(w.findChild<QMenu*>(QStringLiteral("Options1"))->menuAction()->isVisible());

    // Screen readers hear the toolbar, and every control in it, by a French name.
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(w.findChild<QToolBar*>(QStringLiteral("ToolBar1")));
    EXPECT_EQ(bar->text(QAccessible::Name), QStringLiteral("Barre d'outils"));
    for (int i = 0; i < bar->childCount(); ++i) {
        QAccessibleInterface* child = bar->child(i);
        if (child->role() == QAccessible::Client) continue; // a separator
        EXPECT_FALSE(child->text(QAccessible::Name).isEmpty()) << i;
    }
}

TEST(MainWindowShell, TypingInACellMarksTheTableModifiedAtOnce) {
    MainWindowFixture f;
    TForm1& w = f.start();
    w.show();
    StringGridView* view = w.gridView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A);
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(w.grid().cell(0, 1), "a");
    auto* editor = view->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    for (const QString& ch :
         {QStringLiteral("b"), QString::fromUtf8("é"), QString::fromUtf8("€")}) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, ch);
        QCoreApplication::sendEvent(editor, &key);
    }
    EXPECT_EQ(w.grid().cell(0, 1), "ab\xe9\x80"); // each keystroke reached the store, in cp1252
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(w.grid().Col(), 1);
    EXPECT_EQ(w.grid().cell(0, 1), "ab\xe9\x80");
}

TEST(MainWindowShell, LayoutChangesDoNotMarkTheTableModified) {
    MainWindowFixture f;
    f.write("in.tbr", SmallTable);
    TForm1& w = f.start({f.path("in.tbr")});
    StringGridView* view = w.gridView();
    view->horizontalHeader()->resizeSection(1, 120);
    EXPECT_EQ(w.grid().colWidth(1), 120);
    view->horizontalHeader()->moveSection(1, 0);
    EXPECT_EQ(w.grid().cell(0, 0), "Ville");
    EXPECT_EQ(w.grid().cell(0, 1), "Lyon");
    EXPECT_EQ(w.grid().colWidth(0), 120);
    EXPECT_EQ(view->horizontalHeader()->visualIndex(0), 0);
    EXPECT_FALSE(w.document().Modified);
}

TEST(DelimitedText, ExportLeavesTheDocumentAndImportMakesAnUntitledTable) {
    MainWindowFixture f;
    f.write("in.tbr", SmallTable);
    f.write("in.csv", "Nom;Note\r\n\"Dupont\r\nJean\";\xE4\xB8\xAD\r\n");
    TForm1& w = f.start({f.path("in.tbr")});
    w.document().Modified = true;
    const QString titled = w.windowTitle();

    // Enregistrer sous with the CSV type: an export; the .tbr stays the document.
    f.platform.saveAnswers = {FileChoice(f.path("out.csv"), 1)};
    w.run(&TForm1::Enregistrersous1Click);
    EXPECT_EQ(f.platform.saveRequests[0].filters,
              QStringList({"Tablor (*.tbr)", "Texte CSV (*.csv)"}));
    EXPECT_EQ(f.read("out.csv"), "\xEF\xBB\xBFNom;Ville\r\nMartin;Lyon\r\n");
    EXPECT_EQ(w.panel(0)->text(), "Exporté : out.csv");
    EXPECT_EQ(w.document().FileName, f.nativePath("in.tbr"));
    EXPECT_TRUE(w.document().Modified);
    EXPECT_EQ(w.windowTitle(), titled);
    EXPECT_EQ(f.read("in.tbr"), SmallTable);

    // Ouvrir on delimited text: the save question, then an untitled table and one message.
    f.platform.questionAnswers = {Answer::No};
    f.platform.openAnswers = {f.path("in.csv")};
    w.run(&TForm1::Ouvrir1Click);
    EXPECT_EQ(f.platform.questions.size(), 1);
    EXPECT_EQ(w.grid().cell(0, 1), "Dupont Jean");
    EXPECT_EQ(w.grid().cell(1, 1), "?");
    EXPECT_EQ(f.platform.informations,
              QStringList{"1 caractère sans équivalent remplacé par « ? »; 1 saut de ligne "
                          "remplacé par un blanc."});
    EXPECT_EQ(w.windowTitle(), title("Tablor 1.0 - Fichier SANS NOM (", "1 enregistrement"));
    EXPECT_TRUE(w.document().FileName.empty());
    EXPECT_FALSE(w.document().Modified);
    // Enregistrer asks for a .tbr name: the imported file is never overwritten as a table.
    f.platform.saveAnswers = {std::nullopt};
    w.run(&TForm1::Enregistrer1Click);
    EXPECT_EQ(f.platform.saveRequests.size(), 2);
    EXPECT_TRUE(f.platform.errors.isEmpty());
}

TEST(DelimitedText, CommandLineAndDropOpenDelimitedTextAndTables) {
    MainWindowFixture f;
    f.write("in.tbr", SmallTable);
    f.write("in.TSV", "A\tB\n1\t2\n3\n");
    TForm1& w = f.start({f.path("in.TSV")});
    EXPECT_EQ(w.grid().RowCount(), 3);
    EXPECT_EQ(w.grid().cell(1, 0), "B");
    EXPECT_TRUE(w.document().FileName.empty());
    EXPECT_TRUE(f.platform.informations.isEmpty());

    auto drop = [&](const QString& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(f.path(name))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&w, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&w, &dropped);
        QCoreApplication::processEvents();
        return true;
    };
    EXPECT_FALSE(drop("picture.png")); // refused without a message
    w.document().Modified = true;
    f.platform.questionAnswers = {Answer::No};
    EXPECT_TRUE(drop("in.tbr"));
    EXPECT_EQ(f.platform.questions.size(), 1);
    EXPECT_EQ(w.document().FileName, f.nativePath("in.tbr"));
    EXPECT_EQ(w.grid().cell(0, 1), "Martin");
    EXPECT_TRUE(f.platform.errors.isEmpty());
    EXPECT_TRUE(f.platform.informations.isEmpty());
}
