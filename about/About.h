#pragma once
// The about box: TAboutBox holds the three texts to show and, at each Execute, builds the about
// window TFAbout, shows it modally and destroys it. The window shows a banner, the program's
// icon, the texts, an engraved separator and two lines about the machine's memory, and beeps
// when it is built.

#include "about/Lines.h"
#include "platform/Platform.h"

#include <QDialog>
#include <QPointer>

#include <string>

class QLabel;
class QPushButton;

namespace tablor {

class TFAbout : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate: icon, beep, memory lines.
    TFAbout(Platform& platform, QWidget* parent = nullptr);

    // Sets the three texts and refits the window to them.
    void setTexts(const QString& productName, const QString& version, const QString& copyright);

    // The factor the window is drawn at: 1 when every text fits the designed geometry.
    double layoutScale() const { return scale_; }

    QPushButton* Button1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblPhysMem = nullptr;
    QLabel* lblPhysRes = nullptr;
    TLine* Line1 = nullptr;
    TLine* Line2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* FImage = nullptr;

private:
    void FormCreate();
    void Button1Click() { accept(); }
    // Places everything at the factor that keeps every text whole.
    void fitToTexts();
    QPixmap picture(const QString& resource, QSize size) const;

    Platform& platform_;
    double scale_ = 1.0;
};

class TAboutBox {
public:
    // A component of `owner` (the main window), which the about window is centred over and
    // belongs to while it is shown.
    TAboutBox(Platform& platform, QWidget* owner);

    // Each text is 8-bit (Windows-1252) and holds at most 100 characters: a longer one keeps
    // its first 100, and a character that Windows-1252 lacks becomes "?".
    QString ProductName() const;
    void setProductName(const QString& text);
    QString Version() const;
    void setVersion(const QString& text);
    QString Copyright() const;
    void setCopyright(const QString& text);

    // Builds the about window, shows it modally and destroys it. When the window cannot be
    // built, beeps and returns without a word.
    void Execute();

private:
    Platform& platform_;
    QPointer<QWidget> owner_;
    std::string productName_, version_, copyright_; // Windows-1252 bytes
};

} // namespace tablor
