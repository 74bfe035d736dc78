#include "mainwindow/_Tablor.h"

#include "about/About.h"
#include "card/_Chercher.h"
#include "card/_Fiche.h"
#include "help/hh.h"
#include "mainwindow/TablePrinter.h"
#include "mainwindow/_Copier.h"
#include "mainwindow/_Tri.h"
#include "platform/DesignedGeometry.h"
#include "platform/ErrorHandler.h"
#include "platform/InterfaceFont.h"
#include "platform/ProgramName.h"
#include "platform/StringGridView.h"
#include "platform/WindowPlacement.h"
#include "resources/Resources.h"
#include "table/DelimitedFile.h"
#include "table/Settings.h"
#include "table/StartTable.h"
#include "table/TableFile.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tablor {

namespace {
const QString Banner = QString::fromLatin1(ProgramName);
constexpr int StatusBarHeight = 19;
// How long, and how often, the window looks for the frame a window manager gives it.
constexpr int FrameWatchInterval = 40;
constexpr int FrameWatchTicks = 75;

QString fromNative(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}
} // namespace

TForm1::TForm1(Platform& platform, const QStringList& arguments,
               std::unique_ptr<TableReadAhead> readAhead, QWidget* parent)
    : QMainWindow(parent), platform_(platform), readAhead_(std::move(readAhead)) {
    platform_.setMainWindow(this);
    initResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/tablor.svg")));
    StringGrid1 = new StringGridView(grid(), this);
    setCentralWidget(StringGrid1);
    setAcceptDrops(true);
    buildMenus();
    buildToolBar();
    buildStatusBar();

    connect(StringGrid1, &StringGridView::editTextChanged, this,
            [this] { run(&TForm1::StringGrid1SetEditText); });
    connect(StringGrid1, &StringGridView::mousePressed, this,
            [this](Qt::MouseButton b, Qt::MouseButtons bs, Qt::KeyboardModifiers k, bool dbl,
                   int col, int row) {
                guarded(platform_, [&] { StringGrid1MouseDown(b, bs, k, dbl, col, row); });
            });
    connect(StringGrid1, &StringGridView::mouseMoved, this, [this] { StringGrid1MouseMove(); });
    grid().onClick = [this] { run(&TForm1::StringGrid1Click); };

    AboutBox1 = std::make_unique<TAboutBox>(platform_, this);
    AboutBox1->setProductName(QStringLiteral("Tablor"));
    AboutBox1->setVersion(QStringLiteral("Version 1.0 pour Win 9x et Win XP"));

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { run(&TForm1::Timer1Timer); });
    Timer1->start();

    FormCreate(arguments);
    readAhead_.reset();
    StringGrid1->setFocus();
    createSideWindows();
}

TForm1::~TForm1() {
    // The side windows go first, the last made first: they show the table, which dies with
    // the window.
    CopyOpt.reset();
    Find.reset();
    Ftri.reset();
    Fiche.reset();

    // FormDestroy: no help window outlives the program.
    CloseAllHelp();

    // The view goes before the table it shows, which is a member and dies first otherwise.
    grid().onClick = nullptr;
    delete StringGrid1;
}

// The record card, the sort dialog, the search dialog and the copy options, hidden, in this
// order. The card takes its layout from the table the window has just opened.
void TForm1::createSideWindows() {
    Fiche = std::make_unique<TFiche>(doc_, platform_, settingsPath().toStdString(), cardCommands(),
                                     this);
    Ftri = std::make_unique<TFtri>(this);
    Find = std::make_unique<TFind>(doc_, platform_, Fiche.get(), this);
    CopyOpt = std::make_unique<TCopyOpt>(this);
}

TablePrinter& TForm1::tablePrinter() {
    if (!Printer) Printer = std::make_unique<TablePrinter>();
    return *Printer;
}

void TForm1::run(void (TForm1::*handler)()) {
    guarded(platform_, [this, handler] { (this->*handler)(); });
}

QString TForm1::settingsPath() const {
    return QString::fromStdString(
        settingsPathForUser(QFile::encodeName(platform_.executablePath()).toStdString()));
}

// --- building the window -------------------------------------------------------------------

void TForm1::buildMenus() {
    auto entry = [this](const char* name, QMenu* menu, const QString& text,
                        void (TForm1::*handler)()) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, handler] { run(handler); });
        return a;
    };
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    Nouveau1 = entry("Nouveau1", fichier, QStringLiteral("&Nouveau"), &TForm1::Nouveau1Click);
    Ouvrir1 = entry("Ouvrir1", fichier, QStringLiteral("&Ouvrir"), &TForm1::Ouvrir1Click);
    Enregistrer1 =
        entry("Enregistrer1", fichier, QStringLiteral("&Enregistrer"), &TForm1::Enregistrer1Click);
    Enregistrersous1 = entry("Enregistrersous1", fichier, QStringLiteral("Enregistrer &sous..."),
                             &TForm1::Enregistrersous1Click);
    fichier->addSeparator();
    Configurationimprimante1 =
        entry("Configurationimprimante1", fichier, QStringLiteral("&Configuration imprimante..."),
              &TForm1::Configurationimprimante1Click);
    Imprimer1 = entry("Imprimer1", fichier, QStringLiteral("&Imprimer"), &TForm1::Imprimer1Click);
    fichier->addSeparator();
    Quitter1 = entry("Quitter1", fichier, QStringLiteral("&Quitter"), &TForm1::Quitter1Click);

    QMenu* edition = menuBar()->addMenu(QStringLiteral("&Edition"));
    Copier1 = entry("Copier1", edition, QStringLiteral("&Copier"), &TForm1::Copier1Click);

    QMenu* table = menuBar()->addMenu(QStringLiteral("&Table"));
    Ajouterligne1 = entry("Ajouterligne1", table, QStringLiteral("Ajouter &enregistrement"),
                          &TForm1::Ajouterligne1Click);
    Supprimerligne1 = entry("Supprimerligne1", table, QStringLiteral("Supprimer e&nregistrement"),
                            &TForm1::Supprimerligne1Click);
    Ajoutercolonne1 = entry("Ajoutercolonne1", table, QStringLiteral("Ajouter &colonne"),
                            &TForm1::Ajoutercolonne1Click);
    Supprimercolonne1 = entry("Supprimercolonne1", table, QStringLiteral("Supprimer c&olonne"),
                              &TForm1::Supprimercolonne1Click);
    table->addSeparator();
    Rechercherdanstable1 =
        entry("Rechercherdanstable1", table, QStringLiteral("Rechercher dans table"),
              &TForm1::Rechercherdanstable1Click);
    table->addSeparator();
    Voirenregistrement1 =
        entry("Voirenregistrement1", table, QStringLiteral("&Voir les enregistrements"),
              &TForm1::Voirenregistrement1Click);
    Voirenregistrement1->setVisible(false);
    trierlesenregistrements1 =
        entry("trierlesenregistrements1", table, QStringLiteral("&Trier les enregistrements"),
              &TForm1::trierlesenregistrements1Click);
    table->addSeparator();
    Effacerlesenregistrements1 =
        entry("Effacerlesenregistrements1", table, QStringLiteral("&Effacer les enregistrements"),
              &TForm1::Effacerlesenregistrements1Click);

    Options1 = menuBar()->addMenu(QStringLiteral("&Options"));
    Options1->setObjectName(QStringLiteral("Options1"));
    Affichageparenregistrement1 = entry("Affichageparenregistrement1", Options1,
                                        QStringLiteral("Affichage par &enregistrement"),
                                        &TForm1::Affichageparenregistrement1Click);
    Affichageparenregistrement1->setCheckable(true);
    Options1->menuAction()->setVisible(false);

    QMenu* aide = menuBar()->addMenu(QStringLiteral("&Aide"));
    N1rubriquesdelaide1 =
        entry("N1rubriquesdelaide1", aide, QStringLiteral("&Rubriques de l'aide..."),
              &TForm1::N1rubriquesdelaide1Click);
    aide->addSeparator();
    Aproposde1 =
        entry("Aproposde1", aide, QStringLiteral("A &propos de..."), &TForm1::Aproposde1Click);
}

void TForm1::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("Barre d'outils")); // its name for screen readers
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    // The button that shows the buttons a narrow window cannot hold.
    if (auto* more = ToolBar1->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Autres boutons"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setMouseTracking(true);
    ToolBar1->installEventFilter(this);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto button = [this](const char* name, int picture, const QString& hint,
                         void (TForm1::*handler)()) {
        QAction* a = ToolBar1->addAction(
            QIcon(QStringLiteral(":/toolbar/%1.svg").arg(picture, 2, 10, QLatin1Char('0'))), hint);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        connect(a, &QAction::triggered, this, [this, handler] { run(handler); });
        return a;
    };
    ToolButton1 =
        button("ToolButton1", 0, QStringLiteral("Nouvelle table"), &TForm1::Nouveau1Click);
    ToolButton2 = button("ToolButton2", 1, QStringLiteral("Ouvrir table"), &TForm1::Ouvrir1Click);
    ToolButton3 =
        button("ToolButton3", 2, QStringLiteral("Enregistrer table"), &TForm1::Enregistrer1Click);
    ToolButton4 =
        button("ToolButton4", 3, QStringLiteral("Imprimer table"), &TForm1::Imprimer1Click);
    ToolBar1->addSeparator();
    ToolButton6 = button("ToolButton6", 4, QStringLiteral("Ajouter enregistrement"),
                         &TForm1::Ajouterligne1Click);
    ToolButton7 = button("ToolButton7", 5, QStringLiteral("Retirer enregistrement"),
                         &TForm1::Supprimerligne1Click);
    ToolButton8 =
        button("ToolButton8", 6, QStringLiteral("Ajouter colonne"), &TForm1::Ajoutercolonne1Click);
    ToolButton9 = button("ToolButton9", 7, QStringLiteral("Retirer colonne"),
                         &TForm1::Supprimercolonne1Click);
    ToolBar1->addSeparator();
    ToolButton10 = button("ToolButton10", 8, QStringLiteral("Effacer enregistrements"),
                          &TForm1::Effacerlesenregistrements1Click);
    tlbtnTrier = button("tlbtnTrier", 9, QStringLiteral("Trier enregistrements"),
                        &TForm1::trierlesenregistrements1Click);
    ToolButton13 = button("ToolButton13", 10, QStringLiteral("Rechercher"),
                          &TForm1::Rechercherdanstable1Click);
    ToolButton14 =
        button("ToolButton14", 11, QStringLiteral("Voir fiche"), &TForm1::Voirenregistrement1Click);
    ToolButton14->setVisible(false);
    ToolButton16 =
        button("ToolButton16", 12, QStringLiteral("Copier enregistrements"), &TForm1::Copier1Click);
    ToolBar1->addSeparator();
    ToolButton18 = button("ToolButton18", 13, QStringLiteral("Aide application"),
                          &TForm1::N1rubriquesdelaide1Click);
    ToolButton19 =
        button("ToolButton19", 14, QStringLiteral("Quitter application"), &TForm1::Quitter1Click);
    layOutToolBar(ToolBar1);
}

void TForm1::buildStatusBar() {
    // Panel 0 takes the width the five others leave; the others keep at least their width
    // and grow rather than clip a long text.
    static constexpr int Widths[6] = {0, 150, 60, 72, 100, 50};
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(Widths[i]);
        panels_[i] = label;
        if (i == 0)
            bar->addWidget(label, 1);
        else
            bar->addPermanentWidget(label);
    }
    // Panel 0 keeps room for the banner.
    panels_[0]->setMinimumWidth(panels_[0]->fontMetrics().horizontalAdvance(Banner) +
                                2 * panels_[0]->frameWidth() + 2);
    setPanel(0, Banner);
    // 19 pixels high as designed, or what the panels' font needs.
    bar->setFixedHeight(textRowHeight(panels_[0]->fontMetrics(), StatusBarHeight));
}

void TForm1::setPanel(int i, const QString& text) {
    panels_[i]->setText(text);
}

// --- start-up ------------------------------------------------------------------------------

namespace {
std::string startFileName(const QStringList& arguments) {
    return QFile::encodeName(arguments.first()).toStdString();
}
} // namespace

std::unique_ptr<TableReadAhead> TForm1::readAheadFor(const QStringList& arguments) {
    if (arguments.isEmpty()) return nullptr;
    const std::string path = startFileName(arguments);
    if (isDelimitedFileName(path)) return nullptr;
    return std::make_unique<TableReadAhead>(path);
}

void TForm1::FormCreate(const QStringList& arguments) {
    resetToStartTable(doc_);

    const std::string ini = settingsPath().toStdString();
    const QSize screen = platform_.screenSize();
    const MainWindowSettings s = readMainWindowSettings(ini, screen.width(), screen.height());
    doc_.FileName = s.lastFile;
    // The settings describe the outer frame; it is fitted into the screen when first shown.
    wantedFrame_ = QSize(s.w, s.h);
    if (s.maximised) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // The saved left and top give way to the centring at the first show; moving there first
        // could put the window on no screen at all.
        resize(fittedFrame(QRect(QPoint(0, 0), wantedFrame_), availableArea(this), true).size());
    }

    setTitleFor({});
    UpdateStatus();

    if (!arguments.isEmpty()) doc_.FileName = startFileName(arguments);

    // A file of any kind is loaded, so that what is not a regular file is refused by name.
    const QFileInfo startFile(fromNative(doc_.FileName));
    if (!doc_.FileName.empty() && startFile.exists()) {
        // Delimited text comes in as an untitled table, telling what it replaced.
        const std::string path = doc_.FileName;
        std::string notice;
        if (!guarded(platform_, [&] {
                if (isDelimitedFileName(path))
                    notice = importDelimited(path);
                else
                    loadTable(path);
            })) {
            // The failed load left the start table as it was: untitled.
            doc_.FileName.clear();
            UpdateStatus();
        } else if (!notice.empty()) {
            platform_.informationBox(QString::fromStdString(notice));
        }
    } else {
        doc_.FileName.clear();
        UpdateStatus();
    }
    Timer1Timer();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // The first show centres the window with the size it has, fitted into the screen.
    if (!isMaximized()) {
        placedFrameExtra_ = frameGeometry().size() - size();
        placeFrameCentred(this, wantedFrame_);
        watchForFrame();
    }
    // FormShow: the card comes along when the record view option is ticked.
    if (Affichageparenregistrement1->isChecked()) Fiche->ShowCard();
}

// --- title and status ----------------------------------------------------------------------

QString TForm1::displayName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

void TForm1::setTitleFor(const std::string& fileName) {
    const QString name =
        fileName.empty() ? QStringLiteral("SANS NOM") : displayName(fromNative(fileName));
    titlePrefix_ = Banner + QStringLiteral(" - Fichier ") + name + QStringLiteral(" (");
}

void TForm1::UpdateStatus() {
    const QString date = platform_.shortDate();
    const int n = doc_.RecordCount;
    setWindowTitle(
        titlePrefix_ + QString::number(n) +
        (n >= 2 ? QStringLiteral(" enregistrements") : QStringLiteral(" enregistrement")) +
        QStringLiteral(") - ") + date);
    tlbtnTrier->setEnabled(n != 1);
    setPanel(0, Banner);
    setPanel(1, QStringLiteral("Table : ") +
                    (doc_.FileName.empty() ? QString()
                                           : QFileInfo(fromNative(doc_.FileName)).fileName()));
    setPanel(2, QStringLiteral("Enr : ") + QString::number(n));
    setPanel(3, QStringLiteral("Items : ") + QString::number(grid().ColCount()));
    setPanel(4, QStringLiteral("Date : ") + date);
}

void TForm1::Timer1Timer() {
    setPanel(5, platform_.longTime());
}

// A window manager frames the window some time after it is first shown, and says nothing
// when it has: the window looks for its frame for a short while, and once the frame's
// thickness is known it is placed again, so that its title bar and status bar are on screen.
void TForm1::watchForFrame() {
    auto* watch = new QTimer(this);
    watch->setInterval(FrameWatchInterval);
    connect(watch, &QTimer::timeout, this, [this, watch, ticks = 0]() mutable {
        // While the manager is still framing the window its frame can look smaller than it;
        // a frame that grows again (a title bar after the borders) places the window again.
        const QSize extra = frameGeometry().size() - size();
        if (extra != placedFrameExtra_ && extra.width() >= 0 && extra.height() >= 0 &&
            !isMaximized() && !isFullScreen()) {
            placedFrameExtra_ = extra;
            placeFrameCentred(this, wantedFrame_);
        }
        if (++ticks >= FrameWatchTicks) watch->deleteLater();
    });
    watch->start();
}

bool TForm1::event(QEvent* event) {
    // The hint of whatever the mouse points at goes to panel 0 (empty for entries without one).
    if (event->type() == QEvent::StatusTip) {
        setPanel(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ToolBar1 && event->type() == QEvent::MouseMove) {
        // Outside the buttons the banner comes back.
        const auto* e = static_cast<QMouseEvent*>(event);
        if (!qobject_cast<QToolButton*>(ToolBar1->childAt(e->position().toPoint())))
            StringGrid1MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::StringGrid1MouseMove() {
    setPanel(0, Banner);
}

// --- grid events ---------------------------------------------------------------------------

void TForm1::StringGrid1SetEditText() {
    doc_.Modified = true;
}

void TForm1::StringGrid1Click() {
    FillCard();
}

void TForm1::FillCard() {
    Fiche->FillCard();
}

// --- the save question and closing ---------------------------------------------------------

bool TForm1::ConfirmSave() {
    if (!doc_.Modified) return true;
    switch (platform_.questionBox(
        QStringLiteral(" Confirmation... "),
        QStringLiteral("La Table a été modifiée. Voulez-vous l'enregistrer ? "))) {
    case Answer::Yes:
        Enregistrer1Click();
        return !doc_.Modified;
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool TForm1::FormCloseQuery() {
    return ConfirmSave();
}

void TForm1::FormClose() {
    SettingsAtClose s;
    s.lastFile = doc_.FileName;
    // The place and size of the outer frame, title bar and borders included.
    const QRect frame = frameGeometry();
    s.x = frame.x();
    s.y = frame.y();
    s.w = frame.width();
    s.h = frame.height();
    s.maximised = isMaximized();
    const QPoint cardAt = Fiche->cardPosition();
    s.cardX = cardAt.x();
    s.cardY = cardAt.y();
    writeSettingsAtClose(settingsPath().toStdString(), s);
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    guarded(platform_, [&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    guarded(platform_, [this] { FormClose(); });
    event->accept();
}

} // namespace tablor
