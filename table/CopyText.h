#pragma once
// The text that the copy commands put on the clipboard: the main window's copy of the table or
// the selection, and the record card's copy of chosen fields. Qt-free; the windows add the
// heading and turn the Windows-1252 bytes into the clipboard's text.

#include "platform/StringGrid.h"
#include "table/TableDocument.h"

#include <string>
#include <vector>

namespace tablor {

struct CopyRange {
    GridRect cells;
    bool isSelection = false; // false: the whole table, because no more than one cell is selected
};

// The selection when it holds more than one cell, else every record and every field.
CopyRange copyRangeOf(const StringGrid& grid);

// The lines under the heading: an empty line, then for each row of the range its non-empty cells,
// left to right, one a line, and an empty line after the row. Every line ends with CR LF.
std::string copiedLines(const StringGrid& grid, const GridRect& cells);

// The record card's copy: the current record's cells in the chosen fields, left to right, each
// followed by CR LF (nothing when no field is chosen). The choice becomes the document's copy
// flags, kept with the table. `chosen[i]` is field i; a field past its end is not chosen.
std::string copyChosenFields(TableDocument& doc, const std::vector<bool>& chosen);

} // namespace tablor
