#pragma once
// The main window: the grid that holds the table, the menu bar, the toolbar, the status bar and
// every command on the table as a whole. Each command is a handler named after its menu entry;
// a toolbar button runs the handler of the entry it duplicates. Handlers run inside the general
// error handler, so an error ends the command with the error box and the window goes on.
//
// The handlers are split by the job of their menu, so a command's code is found from its menu
// text: _Tablor.cpp (the window, its menus and toolbar, the side windows, status, the save
// question, closing), DocumentCommands.cpp (Fichier: new, open, save, quit), PrintCommands.cpp
// (Fichier: printer setup, print), TableCommands.cpp (Edition and Table: copy, records, fields,
// search, sort, the field name), CardCommands.cpp (the record card: showing it and what its
// buttons ask of the window), HelpCommands.cpp (Aide: help, about).

#include "platform/Platform.h"
#include "table/TableDocument.h"
#include "table/TableFile.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

namespace tablor {

class StringGridView;
class TFiche;
class TFtri;
class TCopyOpt;
class TFind;
class TablePrinter;
class TAboutBox;
struct CardCommands;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window and runs FormCreate: settings, start table, the table of the command
    // line or of the last run; then its side windows, hidden. `arguments` are the command-line
    // arguments after the program name; `readAhead`, when given, is the command line's table
    // being read while the program starts (see readAheadFor).
    TForm1(Platform& platform, const QStringList& arguments,
           std::unique_ptr<TableReadAhead> readAhead = nullptr, QWidget* parent = nullptr);
    // The table the command line names, read from now on, or null when it names none.
    static std::unique_ptr<TableReadAhead> readAheadFor(const QStringList& arguments);
    ~TForm1() override; // FormDestroy

    TableDocument& document() { return doc_; }
    StringGrid& grid() { return doc_.StringGrid1; }
    StringGridView* gridView() const { return StringGrid1; }
    // The printer settings shared by every print of the run; made by the first print command.
    TablePrinter& tablePrinter();

    // Runs a handler inside the general error handler.
    void run(void (TForm1::*handler)());

    // Shared operations.
    bool ConfirmSave();
    void UpdateStatus();
    void FillCard();

    // Document commands.
    void Nouveau1Click();
    void Ouvrir1Click();
    void Enregistrer1Click();
    void Enregistrersous1Click();
    void Quitter1Click();
    // Printing.
    void Configurationimprimante1Click();
    void Imprimer1Click();
    // Records and fields, search, sort, copy.
    void Copier1Click();
    void Ajouterligne1Click();
    void Supprimerligne1Click();
    void Ajoutercolonne1Click();
    void Supprimercolonne1Click();
    void Effacerlesenregistrements1Click();
    void Rechercherdanstable1Click();
    void trierlesenregistrements1Click();
    // A mouse press on the grid: the cell under it (row 0 = header; col -1 beyond the last
    // field), the button, the buttons held and keys, and whether it is a double click's second.
    void StringGrid1MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons,
                              Qt::KeyboardModifiers keys, bool doubleClick, int col, int row);
    // The record card.
    void Voirenregistrement1Click();
    void Affichageparenregistrement1Click();
    // Help and about.
    void N1rubriquesdelaide1Click();
    void Aproposde1Click();

    // Grid and window events.
    void StringGrid1SetEditText();
    void StringGrid1Click();
    void StringGrid1MouseMove();
    void Timer1Timer();

    // The status panels 0 to 5, for the commands and the tests.
    QLabel* panel(int i) const { return panels_[i]; }

protected:
    void closeEvent(QCloseEvent* event) override; // FormCloseQuery, then FormClose
    void showEvent(QShowEvent* event) override;   // FormShow
    bool event(QEvent* event) override;           // hints into panel 0
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A table file or delimited text dropped on the window opens as the open command would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void createSideWindows();
    CardCommands cardCommands();
    void FormCreate(const QStringList& arguments);
    bool FormCloseQuery();
    void FormClose();
    void setPanel(int i, const QString& text);
    void watchForFrame();
    void loadTable(const std::string& path); // LoadTable and the title that follows it
    // ImportDelimited and the title that follows it; returns the notice of what was replaced.
    std::string importDelimited(const std::string& path);
    // Opens a table file, or imports delimited text (by its extension), then applies the card
    // layout, fills the card and tells what the import replaced: the open command's steps.
    void openFile(const std::string& path);
    void openDropped(); // the file dropped on the window (droppedPath_), after the save question
    void SortRecords(int col);
    QString settingsPath() const;
    // Sets the title prefix for a table file's display name, or for no file.
    void setTitleFor(const std::string& fileName);
    static QString displayName(const QString& path);

    Platform& platform_;
    TableDocument doc_;
    std::unique_ptr<TableReadAhead> readAhead_; // the start table, until it is loaded
    StringGridView* StringGrid1 = nullptr;
    std::array<QLabel*, 6> panels_{};
    QTimer* Timer1 = nullptr;
    QString titlePrefix_;
    bool shownOnce_ = false;
    QSize wantedFrame_;      // the outer frame's size from the settings
    QSize placedFrameExtra_; // what the frame added when the window was first placed
    QString lastOpenName_ = QStringLiteral("*.tbr");
    QString lastSaveName_ = QStringLiteral("*.tbr");
    std::string droppedPath_;

    // The side windows and the run's printer belong to the window alone; the side windows are
    // made once, in start-up order, by createSideWindows and go before the table they show.
    std::unique_ptr<TAboutBox> AboutBox1;
    std::unique_ptr<TFiche> Fiche;
    std::unique_ptr<TFtri> Ftri;
    std::unique_ptr<TFind> Find;
    std::unique_ptr<TCopyOpt> CopyOpt;
    std::unique_ptr<TablePrinter> Printer;

    // Menu entries and toolbar buttons, by their designer names (also their object names).
    QAction *Nouveau1, *Ouvrir1, *Enregistrer1, *Enregistrersous1, *Configurationimprimante1,
        *Imprimer1, *Quitter1, *Copier1, *Ajouterligne1, *Supprimerligne1, *Ajoutercolonne1,
        *Supprimercolonne1, *Rechercherdanstable1, *Voirenregistrement1, *trierlesenregistrements1,
        *Effacerlesenregistrements1, *Affichageparenregistrement1, *N1rubriquesdelaide1,
        *Aproposde1;
    QMenu* Options1 = nullptr;
    QAction *ToolButton1, *ToolButton2, *ToolButton3, *ToolButton4, *ToolButton6, *ToolButton7,
        *ToolButton8, *ToolButton9, *ToolButton10, *tlbtnTrier, *ToolButton13, *ToolButton14,
        *ToolButton16, *ToolButton18, *ToolButton19;
    QToolBar* ToolBar1 = nullptr;
};

} // namespace tablor
