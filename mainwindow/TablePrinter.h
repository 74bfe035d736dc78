#pragma once
// The printer settings of the run: the printer the user last chose (in the print dialog or the
// printer setup), its paper and orientation, and the print dialog's last range and copy count.
// Shared by the table listing and the record card's print; nothing of it is stored on disk.

#include "platform/Platform.h"

#include <QObject>

#include <memory>

class QImage;
class QPrinter;

namespace tablor {

class TForm1;

class TablePrinter : public QObject {
    Q_OBJECT
public:
    explicit TablePrinter(QObject* parent = nullptr);
    ~TablePrinter() override;

    // The form's printer, made on first use.
    static TablePrinter& of(TForm1& form);

    QPrinter& printer() { return *printer_; }
    // What the print dialog offers next time: the last range confirmed (everything at first).
    PrintChoice lastChoice;

private:
    std::unique_ptr<QPrinter> printer_;
};

// Prints the record card's picture on the run's printer, job "Tablor 1.0 - Fiche".
void printCardPicture(TForm1& form, const QImage& picture, double dotsPerInch);

} // namespace tablor
