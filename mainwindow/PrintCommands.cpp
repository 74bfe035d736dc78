// Printing the table and the printer setup.

#include "mainwindow/TablePrinter.h"
#include "mainwindow/_Tablor.h"

#include "platform/ProgramName.h"
#include "platform/QtAnsi.h"
#include "platform/StringGridView.h"
#include "table/PrintListing.h"

namespace tablor {

// The listing of the table or of the selection, in the font the user picks, as many copies as
// asked, in one job. The font's size is its physical size on paper.
void TForm1::Imprimer1Click() {
    TablePrinter& printer = tablePrinter();
    const std::optional<PrintChoice> choice =
        platform_.printDialog(printer.printer(), printer.lastChoice);
    if (!choice) return;
    printer.lastChoice = *choice;
    const std::optional<QFont> font = platform_.fontDialog(StringGrid1->font());
    if (!font) return;

    QString heading = windowTitle();
    if (choice->selection) heading += QStringLiteral(" (sélection)");
    // The cursor stays as it is while printing.
    const std::unique_ptr<PrintJob> job = platform_.startPrintJob(
        printer.printer(), QString::fromLatin1(ProgramName) + QStringLiteral(" - Fichier"), *font);
    PrinterTextStream out(*job);
    writeListing(out, grid(), printRange(grid(), choice->selection), toAnsi(heading),
                 choice->copies);
    job->finish();
}

void TForm1::Configurationimprimante1Click() {
    platform_.printerSetupDialog(tablePrinter().printer());
}

} // namespace tablor
