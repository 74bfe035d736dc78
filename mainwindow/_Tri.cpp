#include "mainwindow/_Tri.h"

#include "platform/DesignedGeometry.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace tablor {

namespace {
const QSize Client(313, 137);
const QRect GroupBox1At(16, 16, 281, 65);
const QRect ComboBox1At(16, 24, 249, 21); // inside the group box
const QRect BitBtn1At(136, 96, 75, 25);
const QRect BitBtn2At(216, 96, 75, 25);
} // namespace

TFtri::TFtri(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Ftri"));
    setWindowTitle(QStringLiteral("Opération de tri"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tablor.svg")));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    GroupBox1 = new QGroupBox(QStringLiteral("Tri selon  : "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(10);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Annuler"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    scale_ = captionFitFactor({{GroupBox1, GroupBox1->title(), QSize(GroupBox1At.width(), 24)},
                               {ComboBox1, QStringLiteral("Xg"), ComboBox1At.size()},
                               {BitBtn1, BitBtn1->text(), BitBtn1At.size()},
                               {BitBtn2, BitBtn2->text(), BitBtn2At.size()}},
                              Client);
    GroupBox1->setGeometry(scaledRect(GroupBox1At, scale_));
    ComboBox1->setGeometry(scaledRect(ComboBox1At, scale_));
    BitBtn1->setGeometry(scaledRect(BitBtn1At, scale_));
    BitBtn2->setGeometry(scaledRect(BitBtn2At, scale_));
    setFixedSize(scaledSize(Client, scale_));
}

void TFtri::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

} // namespace tablor
