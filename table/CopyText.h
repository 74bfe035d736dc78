#pragma once
// The text that the copy commands put on the clipboard: the main window's copy of the table or
// the selection, and the record card's copy of chosen fields. Qt-free; the main window adds the
// heading. The clipboard carries UTF-8, so the table's Windows-1252 cells are written in UTF-8
// straight away: a big table's text is built once, at its final size.

#include "platform/StringGrid.h"
#include "table/TableDocument.h"

#include <cstddef>
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
// Their size in UTF-8, and the lines written into memory the caller has sized by it (returns the
// end); copiedLines does both.
std::size_t copiedLinesSize(const StringGrid& grid, const GridRect& cells);
char* writeCopiedLines(const StringGrid& grid, const GridRect& cells, char* out);
std::string copiedLines(const StringGrid& grid, const GridRect& cells);

// The record card's copy: the current record's cells in the chosen fields, left to right, each
// followed by CR LF (nothing when no field is chosen). The choice becomes the document's copy
// flags, kept with the table. `chosen[i]` is field i; a field past its end is not chosen.
std::string copyChosenFields(TableDocument& doc, const std::vector<bool>& chosen);

} // namespace tablor
