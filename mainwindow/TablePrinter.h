#pragma once
// The printer settings of the run: the printer the user last chose (in the print dialog or the
// printer setup), its paper and orientation, and the print dialog's last range and copy count.
// Shared by the table listing and the record card's print; nothing of it is stored on disk.

#include "platform/Platform.h"

#include <memory>

class QPrinter;

namespace tablor {

class TablePrinter {
public:
    TablePrinter();
    ~TablePrinter();

    QPrinter& printer() { return *printer_; }
    // What the print dialog offers next time: the last range confirmed (everything at first).
    PrintChoice lastChoice;

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace tablor
