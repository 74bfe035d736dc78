#pragma once
// Everything modal or external that a command needs from the desktop: message boxes, dialogs,
// clipboard, busy cursor, beep, memory, screen, clock. The windows receive a Platform and never
// call Qt's static dialogs themselves, so tests can answer every question from a script.
// QtPlatform is the real one; tests/support/ScriptedPlatform the scripted one.

#include "platform/MemoryStatus.h"
#include "platform/PrinterTextStream.h"

#include <QByteArray>
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QImage;
class QPrinter;
class QWidget;

namespace tablor {

enum class Answer { Yes, No, Cancel };

struct FileDialogRequest {
    // The file types offered, the first one chosen at first, each with the extension added to a
    // name typed without one while it is chosen.
    QStringList filters = {QStringLiteral("Tablor (*.tbr)")};
    QStringList defaultSuffixes = {QStringLiteral("tbr")};
    QString initialName; // folder and name the dialog starts from
};

// The file a file dialog was left with, and the number of the file type chosen in it.
struct FileChoice {
    FileChoice(const QString& p = {}, int f = 0) : path(p), filter(f) {}
    QString path;
    int filter = 0;
};

// The print dialog's answer: what to print and how many copies.
struct PrintChoice {
    bool selection = false; // the selection rather than everything
    int copies = 1;
};

// A print job under way: the canvas its text is drawn on.
class PrintJob : public PrintCanvas {
public:
    // Ends the job, handing it to the printer service; throws TablorError when refused.
    virtual void finish() = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    // The window that dialogs belong to.
    virtual void setMainWindow(QWidget* window) = 0;
    // While `window` is shown, the message boxes and the input query belong to it rather than
    // to the main window: a window that stays on top would hide them otherwise, and the focus
    // goes back to it when they close. Null gives them back to the main window.
    virtual void setDialogOwner(QWidget* window) = 0;

    // Error box: caption ProgramName, error icon, OK. The text is shown as given.
    virtual void errorBox(const QString& text) = 0;
    // Information box: caption "Information", information icon, "OK".
    virtual void informationBox(const QString& text) = 0;
    // Question with Yes, No and Cancel, Yes the default; closing the box answers Cancel.
    virtual Answer questionBox(const QString& caption, const QString& text) = 0;
    // Input query with "OK" and "Annuler"; nothing when cancelled.
    virtual std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                              const QString& value, int maxLength) = 0;

    // Open and save dialogs; the chosen path, or nothing when cancelled. The save dialog asks
    // before replacing an existing file.
    virtual std::optional<FileChoice> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<FileChoice> saveFileName(const FileDialogRequest& request) = 0;

    // Runs one of our own dialogs modally; returns QDialog::Accepted or Rejected.
    virtual int execDialog(QDialog& dialog) = 0;

    // Puts plain text, given in UTF-8, on the clipboard; throws TablorError when it cannot.
    // The bytes are handed over as they are: a whole table's text is not copied again.
    virtual void setClipboardText(const QByteArray& utf8) = 0;
    // The same for a text written only when a program asks for it, each time it asks: `utf8`
    // makes its bytes, or throws when it cannot, and the program then gets no text. A big
    // table's text then never sits on the clipboard beside the table.
    virtual void setClipboardTextOnDemand(std::function<QByteArray()> utf8) = 0;
    // Lets go of the text this program put on the clipboard, before a new one is built: a
    // whole table's text is then not held twice. Another program's text stays.
    virtual void dropOwnClipboardText() = 0;

    // Printing, on the printer settings the caller keeps for the run.
    // The print dialog (printer, range, copies), starting from `last`; nothing when cancelled.
    // The printer keeps what the user chose; its own copy count stays 1, as the caller prints
    // the copies itself.
    virtual std::optional<PrintChoice> printDialog(QPrinter& printer, const PrintChoice& last) = 0;
    // The font dialog, starting from `initial`; nothing when cancelled.
    virtual std::optional<QFont> fontDialog(const QFont& initial) = 0;
    // The printer setup dialog (printer, paper, orientation); false when cancelled.
    virtual bool printerSetupDialog(QPrinter& printer) = 0;
    // Starts the job `title` on the printer, text in `font` at its own physical size. Throws
    // TablorError when no printer is available or the job is refused.
    virtual std::unique_ptr<PrintJob> startPrintJob(QPrinter& printer, const QString& title,
                                                    const QFont& font) = 0;
    // One job of one page: the image at the top-left corner of the printable area, at its
    // physical size (`dotsPerInch` of the image). Throws TablorError like startPrintJob.
    virtual void printImage(QPrinter& printer, const QString& title, const QImage& image,
                            double dotsPerInch) = 0;

    // The hourglass cursor on or off; use BusyCursor rather than calling this.
    virtual void setBusy(bool busy) = 0;
    virtual void beep() = 0;

    virtual MemoryStatus memoryStatus() = 0;
    virtual QSize screenSize() = 0;
    // Full path of the running executable.
    virtual QString executablePath() = 0;
    // Today's date in the user's short date format, the time in the long time format.
    virtual QString shortDate() = 0;
    virtual QString longTime() = 0;
};

// The hourglass for as long as it lives; the normal cursor comes back after an error too.
class BusyCursor {
public:
    explicit BusyCursor(Platform& p) : p_(p) { p_.setBusy(true); }
    ~BusyCursor() { p_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& p_;
};

} // namespace tablor
