#include "card/_Fiche.h"
#include "platform/DesignedGeometry.h"
#include "platform/WindowPlacement.h"

#include "card/CardClientArea.h"
#include "platform/Ansi.h"
#include "platform/AnsiValidator.h"
#include "platform/ErrorHandler.h"
#include "platform/QtAnsi.h"
#include "resources/Resources.h"
#include "table/CopyText.h"
#include "table/SearchScan.h"
#include "table/Settings.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace tablor {

namespace {

const QString CaptionStart = QStringLiteral("Enregistrement n°");
// The caption's record number is read from at most this many characters after the "°".
constexpr int CaptionNumberChars = 255;
// An edit box's width before the card is first filled, as designed.
constexpr int DesignedEditWidth = 121;
// The card's client area is kept between these sizes, whatever the table file says.
constexpr QSize SmallestCard(60, 60);
constexpr QSize LargestCard(16000, 16000);

// The card's font: the program's, made small enough for a label 13 pixels high, so that no
// caption is cut.
QFont cardFont(QFont font) {
    int pixels = QFontInfo(font).pixelSize();
    while (QFontMetrics(font).height() > card::LabelHeight && pixels > 6) {
        font.setPixelSize(--pixels);
    }
    return font;
}

} // namespace

TFiche::TFiche(TableDocument& doc, Platform& platform, const std::string& settingsPath,
               CardCommands commands, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), doc_(doc), platform_(platform),
      commands_(std::move(commands)) {
    initResources();
    setObjectName(QStringLiteral("Fiche"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tablor.svg")));
    setWindowTitle(CaptionStart + QStringLiteral("1"));
    setFont(cardFont(font()));

    ControlBar1 = new QWidget(this);
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    ControlBar1->setFixedHeight(card::BandHeight);
    buildToolBar();

    area_ = new CardClientArea(card::BandHeight, this);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ControlBar1);
    layout->addWidget(area_, 1);
    layout->addWidget(StatusBar1);

    // The edit boxes are created in field order, which is also their tab order.
    for (int i = 0; i < card::Pairs; ++i) {
        auto* label = new QLabel(area_->page());
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        Labels[i] = label;
    }
    for (int i = 0; i < card::Pairs; ++i) {
        auto* edit = new QLineEdit(area_->page());
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setMaxLength(INT_MAX); // a cell may be longer than a line edit's usual limit
        AnsiValidator::applyTo(edit);
        edit->resize(DesignedEditWidth, card::EditHeight);
        connect(edit, &QLineEdit::textChanged, this,
                [this, i] { run([this, i] { ModifieListe(i); }); });
        Edits[i] = edit;
        left_[i] = card::designLeft(i);
        top_[i] = card::designTop(i);
        shown_[i] = true;
    }
    placeAll();
    FormCreate(settingsPath);
}

void TFiche::buildToolBar() {
    ToolBar1 = new QToolBar(ControlBar1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    // The buttons carry no hints; screen readers still get their names.
    auto button = [this](const char* picture, const QString& name, void (TFiche::*handler)()) {
        QAction* a = ToolBar1->addAction(
            QIcon(QStringLiteral(":/card/%1.svg").arg(QLatin1String(picture))), QString());
        ToolBar1->widgetForAction(a)->setAccessibleName(name);
        connect(a, &QAction::triggered, this,
                [this, handler] { run([this, handler] { (this->*handler)(); }); });
        return a;
    };
    tlbtnPremier =
        button("premier", QStringLiteral("Premier enregistrement"), &TFiche::tlbtnPremierClick);
    tlbtnPrecedent = button("precedent", QStringLiteral("Enregistrement précédent"),
                            &TFiche::tlbtnPrecedentClick);
    tlbtnSuivant =
        button("suivant", QStringLiteral("Enregistrement suivant"), &TFiche::tlbtnSuivantClick);
    tlbtnDernier =
        button("dernier", QStringLiteral("Dernier enregistrement"), &TFiche::tlbtnDernierClick);
    ToolBar1->addSeparator();
    ToolButton6 =
        button("ajouter", QStringLiteral("Ajouter un enregistrement"), &TFiche::ToolButton6Click);
    ToolButton7 = button("supprimer", QStringLiteral("Supprimer cet enregistrement"),
                         &TFiche::ToolButton7Click);
    ToolBar1->addSeparator();
    ToolButton9 = button("chercher", QStringLiteral("Rechercher"), &TFiche::ToolButton9Click);
    ToolButton10 =
        button("imprimer", QStringLiteral("Imprimer la fiche"), &TFiche::ToolButton10Click);
    ToolButton11 =
        button("copier", QStringLiteral("Copier des champs"), &TFiche::ToolButton11Click);
    layOutToolBar(ToolBar1);
    ToolBar1->adjustSize();
    ToolBar1->move(0, std::max(0, (card::BandHeight - ToolBar1->height()) / 2));
}

void TFiche::run(const std::function<void()>& handler) {
    guarded(platform_, handler);
}

void TFiche::FormCreate(const std::string& settingsPath) {
    const CardPosition at = readCardPosition(settingsPath);
    move(at.x, at.y);
    ApplyCardLayout();
    // Filled at once, so that the edit boxes never hold anything but the table's cells.
    FillCard();
}

// --- filling and writing back -----------------------------------------------------------------

int TFiche::shownRecord() const {
    const QString title = windowTitle();
    const qsizetype degree = title.indexOf(QChar(0xB0));
    return degree < 0 ? 0 : title.mid(degree + 1, CaptionNumberChars).toInt();
}

void TFiche::FillCard() {
    const StringGrid& g = doc_.StringGrid1;
    const int r = g.Row();
    const int fields = std::min(g.ColCount(), card::Pairs);
    setWindowTitle(CaptionStart + QString::number(r));

    bool moved = false;
    filling_ = true;
    for (int i = 0; i < fields; ++i) {
        if (!shown_[i]) {
            shown_[i] = true;
            Labels[i]->show();
            Edits[i]->show();
            moved = true;
        }
        if (Edits[i]->width() != g.colWidth(i)) {
            Edits[i]->resize(g.colWidth(i), card::EditHeight);
            moved = true;
        }
        const std::string_view cell = g.cell(i, r);
        Edits[i]->setReadOnly(!shownWhole(cell));
        const QString text = shownText(cell);
        if (Edits[i]->text() != text) Edits[i]->setText(text);
        const QString caption = shownText(g.cell(i, 0));
        if (Labels[i]->text() != caption) {
            Labels[i]->setText(caption);
            Edits[i]->setAccessibleName(caption); // a screen reader names the box by its field
            Labels[i]->resize(Labels[i]->sizeHint().width(), card::LabelHeight);
            moved = true;
        }
    }
    for (int i = fields; i < card::Pairs; ++i) {
        if (shown_[i]) {
            shown_[i] = false;
            Labels[i]->hide();
            Edits[i]->hide();
            moved = true;
        }
    }
    filling_ = false;

    const int last = g.RowCount() - 1;
    tlbtnPremier->setEnabled(r != 1);
    tlbtnPrecedent->setEnabled(r != 1);
    tlbtnSuivant->setEnabled(r != last);
    tlbtnDernier->setEnabled(r != last);
    if (moved) updateBounds();
}

// Every change of an edit box's text reaches the cell of the shown record at once.
void TFiche::ModifieListe(int pair) {
    if (filling_) return;
    StringGrid& g = doc_.StringGrid1;
    const int r = shownRecord();
    if (pair >= g.ColCount() || r < 1 || r >= g.RowCount()) return;
    if (Edits[pair]->isReadOnly()) return; // it shows only the start of a long cell
    const std::string text = toAnsi(Edits[pair]->text());
    if (g.cell(pair, r) != text) {
        g.setCell(pair, r, text);
        doc_.Modified = true;
    }
}

// --- layout -------------------------------------------------------------------------------

void TFiche::ApplyCardLayout() {
    const int fields = std::min(doc_.StringGrid1.ColCount(), card::Pairs);
    for (int i = 0; i < fields; ++i) {
        left_[i] = doc_.CardLeft[i];
        top_[i] = doc_.CardTop[i];
    }
    outer_ = QSize(doc_.CardWidth, doc_.CardHeight);
    placeAll();
    applyOuterSize();
}

void TFiche::ResetCardLayout() {
    for (int i = 0; i < card::Pairs; ++i) {
        left_[i] = defaultCardLeft(i);
        top_[i] = defaultCardTop(i);
    }
    outer_ = QSize(DefaultCardWidth, DefaultCardHeight);
    placeAll();
    applyOuterSize();
}

void TFiche::placePair(int pair) {
    Labels[pair]->move(area_->toPage({left_[pair], top_[pair]}));
    Edits[pair]->move(area_->toPage({left_[pair], top_[pair] + card::EditBelowLabel}));
}

void TFiche::placeAll() {
    updateBounds();
    for (int i = 0; i < card::Pairs; ++i)
        placePair(i);
}

// The page of the client area covers every shown pair.
void TFiche::updateBounds() {
    QRect bounds;
    for (int i = 0; i < card::Pairs; ++i) {
        if (!shown_[i]) continue;
        bounds |= QRect(QPoint(left_[i], top_[i]), Labels[i]->size());
        bounds |= QRect(QPoint(left_[i], top_[i] + card::EditBelowLabel), Edits[i]->size());
    }
    if (area_->setContentBounds(bounds))
        for (int i = 0; i < card::Pairs; ++i)
            placePair(i);
}

// The table file holds the card's outer size; the window gets it less the frame the window
// manager draws. Until the user resizes the card, the size given is the size reported, so a
// table saved without touching the card keeps its numbers.
void TFiche::applyOuterSize() {
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    clientAsked_ = (outer_ - frame).expandedTo(SmallestCard).boundedTo(LargestCard);
    resize(clientAsked_);
}

void TFiche::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() != clientAsked_) {
        outer_ = frameGeometry().size();
        clientAsked_ = size();
    }
}

// --- showing ------------------------------------------------------------------------------

QPoint TFiche::cardPosition() const {
    return pos();
}

void TFiche::ShowCard() {
    if (!shownOnce_) {
        shownOnce_ = true;
        // The first show puts the window in the middle of the screen.
        centreOnScreen(this);
    }
    show();
    raise();
    activateWindow();
}

bool TFiche::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) run([this] { FormActivate(); });
    return QWidget::event(event);
}

void TFiche::FormActivate() {
    FillCard();
}

void TFiche::showKeyword(const std::string& keyword) {
    const KeywordMatcher matcher(keyword);
    const int fields = std::min(doc_.StringGrid1.ColCount(), card::Pairs);
    for (int i = 0; i < fields; ++i) {
        const std::size_t at = matcher.find(toAnsi(Edits[i]->text()));
        if (at == std::string::npos) continue;
        if (isVisible()) raise(); // a hidden card stays hidden
        Edits[i]->setFocus();
        Edits[i]->setSelection(int(at), int(keyword.size()));
    }
}

// --- dragging labels ------------------------------------------------------------------------

bool TFiche::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(Labels.begin(), Labels.end(), watched);
    if (found == Labels.end()) return QWidget::eventFilter(watched, event);
    const int pair = int(found - Labels.begin());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Label1MouseDown(pair, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove:
        Label1MouseMove(pair, static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        Label1MouseUp(pair);
        return true;
    default:
        return false;
    }
}

void TFiche::Label1MouseDown(int, QPoint at) {
    Dragging = true;
    DragX = at.x();
    DragY = at.y();
}

void TFiche::Label1MouseMove(int pair, QPoint at) {
    if (!Dragging) return;
    left_[pair] += at.x() - DragX;
    top_[pair] += at.y() - DragY;
    placePair(pair);
    updateBounds();
}

void TFiche::Label1MouseUp(int pair) {
    Dragging = false;
    left_[pair] = card::snapToGrid(left_[pair]);
    top_[pair] = card::snapToGrid(top_[pair]);
    placePair(pair);
    updateBounds();
}

// --- toolbar --------------------------------------------------------------------------------

// Column 0 first, then the row: each real change refills the card through the grid.
void TFiche::goToRow(int row) {
    StringGrid& g = doc_.StringGrid1;
    g.setCol(0);
    g.setRow(row);
}

void TFiche::tlbtnPremierClick() {
    goToRow(1);
}

void TFiche::tlbtnPrecedentClick() {
    goToRow(std::max(doc_.StringGrid1.Row() - 1, 1));
}

void TFiche::tlbtnSuivantClick() {
    goToRow(std::min(doc_.StringGrid1.Row() + 1, doc_.StringGrid1.RowCount() - 1));
}

void TFiche::tlbtnDernierClick() {
    goToRow(doc_.StringGrid1.RowCount() - 1);
}

void TFiche::ToolButton6Click() {
    if (commands_.addRecord) commands_.addRecord();
    Edits[0]->setFocus();
}

// Deletes the record in the caption, without asking: the grid's selection becomes that whole
// record and the main window's delete command does the rest.
void TFiche::ToolButton7Click() {
    StringGrid& g = doc_.StringGrid1;
    const int r = shownRecord();
    if (r < 1 || r >= g.RowCount()) return;
    const int last = g.ColCount() - 1;
    g.moveTo(last, r);
    g.setSelection({0, r, last, r});
    if (commands_.deleteRecords) commands_.deleteRecords();
}

void TFiche::ToolButton9Click() {
    if (commands_.search) commands_.search();
}

// The card as it is drawn, toolbar and status strip included, at its size on screen.
void TFiche::ToolButton10Click() {
    if (!commands_.print) return;
    const QImage picture = grab().toImage();
    commands_.print(picture, logicalDpiX());
}

void TFiche::ToolButton11Click() {
    if (!commands_.chooseFields) return;
    const StringGrid& g = doc_.StringGrid1;
    const int fields = std::min(g.ColCount(), card::Pairs);
    QStringList names;
    std::vector<bool> ticked;
    for (int i = 0; i < fields; ++i) {
        names << shownText(g.cell(i, 0));
        ticked.push_back(doc_.CopyFlags[i] == 1);
    }
    const std::optional<std::vector<bool>> chosen = commands_.chooseFields(names, ticked);
    if (!chosen) return;
    // With no field chosen the clipboard is left empty.
    platform_.setClipboardText(
        QByteArray::fromStdString(ansi::toUtf8(copyChosenFields(doc_, *chosen))));
}

} // namespace tablor
