#pragma once
// The text that the copy command puts on the clipboard. Qt-free; the window adds the heading and
// turns the Windows-1252 bytes into the clipboard's text.

#include "platform/StringGrid.h"

#include <string>

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

} // namespace tablor
