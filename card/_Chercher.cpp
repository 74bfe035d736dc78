#include "card/_Chercher.h"

#include "card/_Fiche.h"
#include "platform/AnsiValidator.h"
#include "platform/DesignedGeometry.h"
#include "platform/ErrorHandler.h"
#include "platform/QtAnsi.h"
#include "resources/Resources.h"
#include "table/SearchScan.h"

#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <climits>

namespace tablor {

namespace {

const QString Chercher = QStringLiteral("Chercher");
const QString Suivant = QStringLiteral("Suivant");

// The designed geometry, in pixels at 96 dpi.
constexpr QSize Client{313, 137};
constexpr QRect GroupRect{8, 8, 297, 73};
constexpr QRect EditRect{16, 30, 265, 21}; // inside the group box
constexpr int EditTextMargins = 2;         // a pixel above and below the edit box's text
constexpr QRect FindRect{136, 98, 81, 27};
constexpr QRect CancelRect{224, 98, 81, 27};

} // namespace

TFind::TFind(TableDocument& doc, Platform& platform, TFiche* card, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      doc_(doc), platform_(platform), card_(card) {
    initResources();
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Rechercher"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tablor.svg")));
    setModal(false);

    GroupBox1 = new QGroupBox(QStringLiteral("Mot clé : "), this);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setMaxLength(INT_MAX);
    AnsiValidator::applyTo(Edit1);
    FindBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), Chercher, this);
    FindBtn->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Annuler"), this);
    BitBtn2->setAutoDefault(false);

    connect(Edit1, &QLineEdit::textChanged, this,
            [this] { guarded(platform_, [this] { Edit1Change(); }); });
    connect(FindBtn, &QPushButton::clicked, this,
            [this] { guarded(platform_, [this] { FindBtnClick(); }); });
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { guarded(platform_, [this] { BitBtn2Click(); }); });

    layOut();
    FormCreate();
    FindBtn->setEnabled(false);
}

// The designed geometry, grown by one factor when this machine's font would cut a caption.
void TFind::layOut() {
    double f = 1.0;
    auto fit = [&f](QPushButton* b, const QString& text, const QRect& room) {
        const QString before = b->text();
        b->setText(text);
        const QSize need = b->sizeHint();
        f = std::max(
            {f, double(need.width()) / room.width(), double(need.height()) / room.height()});
        b->setText(before);
    };
    fit(FindBtn, Chercher, FindRect);
    fit(FindBtn, Suivant, FindRect);
    fit(BitBtn2, BitBtn2->text(), CancelRect);
    const int titleWidth = GroupBox1->fontMetrics().horizontalAdvance(GroupBox1->title()) + 24;
    f = std::max(f, double(titleWidth) / GroupRect.width());
    // The edit box keeps its designed height while its frame holds a line of text.
    const int editFrame = Edit1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, Edit1);
    const int editHeight = Edit1->fontMetrics().height() + 2 * editFrame + EditTextMargins;
    f = std::max(f, double(editHeight) / EditRect.height());
    scale_ = growthFactor(f, Client, availableRoom(this));

    GroupBox1->setGeometry(scaledRect(GroupRect, scale_));
    Edit1->setGeometry(scaledRect(EditRect, scale_));
    FindBtn->setGeometry(scaledRect(FindRect, scale_));
    BitBtn2->setGeometry(scaledRect(CancelRect, scale_));
    setFixedSize(scaledSize(Client, scale_));
}

void TFind::FormCreate() {
    SearchCol = 0;
    SearchRow = 1;
    FindBtn->setText(Chercher);
    LastKeyword.clear();
}

void TFind::showDialog() {
    if (!shownOnce_) {
        shownOnce_ = true;
        // The first show puts the window in the middle of the screen.
        centreOnScreen(this);
    }
    show();
    raise();
    activateWindow();
}

bool TFind::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    // Messages shown while the dialog is up belong to it, so they show above it.
    if (event->type() == QEvent::Show) platform_.setDialogOwner(this);
    if (event->type() == QEvent::Hide) platform_.setDialogOwner(nullptr);
    return QDialog::event(event);
}

void TFind::FormActivate() {
    Edit1->setFocus();
}

void TFind::reject() {
    FormClose();
    QDialog::reject();
}

// Closed any way: the next search starts again from the first record; the keyword stays.
void TFind::FormClose() {
    SearchCol = 0;
    SearchRow = 1;
    FindBtn->setText(Chercher);
}

void TFind::BitBtn2Click() {
    close();
}

// Any change of the keyword, even one that gives back the same text, restarts from the top.
void TFind::Edit1Change() {
    const QString text = Edit1->text();
    FindBtn->setEnabled(!text.isEmpty());
    if (text != LastKeyword) FindBtn->setText(Chercher);
    LastKeyword = text;
    SearchRow = 1;
    SearchCol = 0;
}

void TFind::FindBtnClick() {
    StringGrid& g = doc_.StringGrid1;
    const QString typed = Edit1->text();
    const std::string keyword = toAnsi(typed);
    std::optional<SearchHit> hit;
    {
        BusyCursor busy(platform_);
        // A keyword holding a character that no cell can hold is found nowhere (rather than
        // looked for with that character turned into "?").
        if (fromAnsi(keyword) == typed) hit = scanForKeyword(g, keyword, SearchCol, SearchRow);
    }
    if (!hit) {
        platform_.informationBox(QStringLiteral("Texte non trouvé."));
        SearchCol = 0;
        SearchRow = 1;
        FindBtn->setText(Chercher);
        return;
    }
    if (typed == LastKeyword) FindBtn->setText(Suivant);
    g.setCol(hit->col);
    g.setRow(hit->row);
    if (card_) card_->showKeyword(keyword);
    if (hit->col < g.ColCount() - 1) {
        SearchCol = hit->col + 1;
        SearchRow = hit->row;
    } else {
        SearchCol = 0;
        SearchRow = hit->row < g.RowCount() - 1 ? hit->row + 1 : 1;
    }
}

} // namespace tablor
