#include "mainwindow/_Copier.h"

#include "platform/DesignedGeometry.h"
#include "platform/InterfaceFont.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace tablor {

namespace {
const QSize Client(312, 314);
const QRect GroupBox1At(16, 16, 281, 161);
const QRect ListBox1At(16, 24, 249, 121); // inside GroupBox1
const QRect GroupBox2At(16, 184, 281, 65);
const QRect Button1At(16, 24, 115, 25); // inside GroupBox2
const QRect Button2At(152, 24, 113, 25);
const QRect OKBtnAt(128, 272, 75, 25);
const QRect CancelBtnAt(216, 272, 75, 25);
constexpr int ListLineHeight = 13;

// The field list's lines: as designed, or taller when the font needs it.
class ListLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(textRowHeight(option.fontMetrics, ListLineHeight));
        return size;
    }
};
} // namespace

TCopyOpt::TCopyOpt(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CopyOpt"));
    setWindowTitle(QStringLiteral("Copier les colonnes"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    GroupBox1 = new QGroupBox(QStringLiteral("Champs : "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new ListLineDelegate(ListBox1));
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Button1 = new QPushButton(QStringLiteral("Tout sélectionner"), GroupBox2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Tout désélectionner"), GroupBox2);
    Button2->setObjectName(QStringLiteral("Button2"));
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Annuler"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    // Only OK answers Enter, wherever the focus is.
    for (QPushButton* b : {Button1, Button2, CancelBtn})
        b->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TCopyOpt::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TCopyOpt::Button2Click);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    scale_ = captionFitFactor({{GroupBox1, GroupBox1->title(), QSize(GroupBox1At.width(), 24)},
                               {Button1, Button1->text(), Button1At.size()},
                               {Button2, Button2->text(), Button2At.size()},
                               {OKBtn, OKBtn->text(), OKBtnAt.size()},
                               {CancelBtn, CancelBtn->text(), CancelBtnAt.size()}},
                              Client);
    GroupBox1->setGeometry(scaledRect(GroupBox1At, scale_));
    ListBox1->setGeometry(scaledRect(ListBox1At, scale_));
    GroupBox2->setGeometry(scaledRect(GroupBox2At, scale_));
    Button1->setGeometry(scaledRect(Button1At, scale_));
    Button2->setGeometry(scaledRect(Button2At, scale_));
    OKBtn->setGeometry(scaledRect(OKBtnAt, scale_));
    CancelBtn->setGeometry(scaledRect(CancelBtnAt, scale_));
    setFixedSize(scaledSize(Client, scale_));
}

void TCopyOpt::Button1Click() {
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setSelected(true);
}

void TCopyOpt::Button2Click() {
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->item(i)->setSelected(false);
}

void TCopyOpt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    OKBtn->setFocus();
}

} // namespace tablor
