#include "about/About.h"

#include "about/AboutLayout.h"
#include "about/AboutTexts.h"
#include "platform/Ansi.h"
#include "platform/DesignedGeometry.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>

#include <array>
#include <memory>

namespace tablor {

namespace {

// The window's font stands in for 8-point "MS Sans Serif" (11 pixels high); the product name
// is the same at 10 points (13 pixels), bold.
QFont windowFont() {
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(11);
    return f;
}

QLabel* textLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // The texts come from outside (properties, locale): never read them as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

std::string toAnsiText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return ansi::fromUtf8(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString fromAnsiText(const std::string& bytes) {
    return fromUtf8(ansi::toUtf8(bytes));
}

} // namespace

TFAbout::TFAbout(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      platform_(platform) {
    initResources();
    setWindowTitle(QStringLiteral("A propos de..."));
    setFont(windowFont());

    // The button face behind the button text: black on grey in a light theme, and as readable
    // in a dark one, since both colours come from the same palette.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ButtonText));
    setPalette(pal);
    setAutoFillBackground(true);

    // Members in declaration order, which is also their stacking order.
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    Image1 = new QLabel(this);
    Image1->setAccessibleName(QStringLiteral("Tablor"));
    lblPhysMem = textLabel(this);
    lblPhysRes = textLabel(this);
    Line1 = new TLine(this);
    Line2 = new TLine(this);
    for (TLine* line : {Line1, Line2}) {
        // The designed points, then the style: from now on painting works the points out.
        line->setFromX(0);
        line->setToX(195);
        line->setFromY(4);
        line->setToY(4);
        line->setLine(TLineType::ltHorizontal);
    }
    Line2->Pen().setColor(Qt::white);
    Label1 = textLabel(this);
    QFont bold = windowFont();
    bold.setPixelSize(13);
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = textLabel(this);
    Label3 = textLabel(this);
    FImage = new QLabel(this);
    FImage->setAccessibleName(QStringLiteral("Icône de Tablor"));

    Button1->setFocus();
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    FormCreate();
    fitToTexts();
}

void TFAbout::FormCreate() {
    platform_.beep();
    const MemoryStatus memory = platform_.memoryStatus();
    const QByteArray separator = QLocale().groupSeparator().toUtf8();
    lblPhysMem->setText(fromUtf8(
        physicalMemoryLine(memory.totalBytes, std::string_view(separator.constData(),
                                                               std::size_t(separator.size())))));
    lblPhysRes->setText(fromUtf8(freeMemoryLine(memory.loadPercent)));
}

void TFAbout::setTexts(const QString& productName, const QString& version,
                       const QString& copyright) {
    Label1->setText(productName);
    Label2->setText(version);
    Label3->setText(copyright);
    fitToTexts();
}

QPixmap TFAbout::picture(const QString& resource, QSize size) const {
    const qreal ratio = devicePixelRatioF();
    QImageReader reader(resource);
    reader.setScaledSize(size * ratio);
    QPixmap pixmap = QPixmap::fromImage(reader.read());
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void TFAbout::fitToTexts() {
    struct Placed {
        QLabel* label;
        QPoint design;
        int limitTop; // the design row its text must stay above
    };
    const std::array<Placed, 5> texts{{
        {Label1, about::Label1, about::Label2.y()},
        {Label2, about::Label2, about::Label3.y()},
        {Label3, about::Label3, about::Line1.top() + 4}, // the row the separator draws on
        {lblPhysMem, about::lblPhysMem, about::lblPhysRes.y()},
        {lblPhysRes, about::lblPhysRes, about::Button1.top()},
    }};
    std::array<about::MeasuredText, 5> measured;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        QLabel* label = texts[i].label;
        label->adjustSize();
        measured[i] = {texts[i].design.x(), texts[i].design.y(), label->width(), label->height(),
                       texts[i].limitTop};
    }
    QSize room = availableRoom(parentWidget());
    if (room.isEmpty()) room = platform_.screenSize();
    scale_ = growthFactor(about::neededScale(measured), about::Client, room);

    for (const Placed& t : texts)
        t.label->move(scaled(t.design.x(), scale_), scaled(t.design.y(), scale_));
    Button1->setGeometry(scaledRect(about::Button1, scale_));
    Image1->setGeometry(scaledRect(about::Image1, scale_));
    FImage->setGeometry(scaledRect(about::FImage, scale_));
    // The lines keep the thickness they give themselves, and the white one stays exactly one
    // row under the black one at any factor, or the separator would no longer look engraved.
    const QRect line1 = scaledRect(about::Line1, scale_);
    Line1->setGeometry(line1.left(), line1.top(), line1.width(), about::Line1.height());
    Line2->setGeometry(line1.left(), line1.top() + 1, line1.width(), about::Line2.height());

    Image1->setPixmap(picture(QStringLiteral(":/about/banner.svg"), Image1->size()));
    // The application's own icon, or the program's picture when none is set yet.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = QIcon(QStringLiteral(":/icons/tablor.svg"));
    FImage->setPixmap(icon.pixmap(FImage->size()));

    setFixedSize(scaledSize(about::Client, scale_));
    if (QScreen* screen =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TAboutBox::TAboutBox(Platform& platform, QWidget* owner) : platform_(platform), owner_(owner) {
    setProductName(QStringLiteral("Tablor"));
    setVersion(QStringLiteral("Version 1.0 pour Win 9x et Win XP"));
    setCopyright(QStringLiteral("Copyright © 2026 Tablor"));
}

QString TAboutBox::ProductName() const {
    return fromAnsiText(productName_);
}
void TAboutBox::setProductName(const QString& text) {
    productName_ = truncatedAboutText(toAnsiText(text));
}
QString TAboutBox::Version() const {
    return fromAnsiText(version_);
}
void TAboutBox::setVersion(const QString& text) {
    version_ = truncatedAboutText(toAnsiText(text));
}
QString TAboutBox::Copyright() const {
    return fromAnsiText(copyright_);
}
void TAboutBox::setCopyright(const QString& text) {
    copyright_ = truncatedAboutText(toAnsiText(text));
}

void TAboutBox::Execute() {
    std::unique_ptr<TFAbout> form;
    try {
        form = std::make_unique<TFAbout>(platform_, owner_.data());
    } catch (const std::exception&) {
        // The window could not be built: a beep and nothing more.
        platform_.beep();
        return;
    }
    form->setTexts(ProductName(), Version(), Copyright());
    // The window goes when it closes, and also when showing it fails.
    platform_.execDialog(*form);
}

} // namespace tablor
