#pragma once
// The printed listing of the table: a heading, an empty line, then one line per record with
// every cell of the range followed by a blank. Qt-free.

#include "platform/PrinterTextStream.h"
#include "platform/StringGrid.h"

#include <string_view>

namespace tablor {

// What the print command prints: the grid's selection, or every record and field.
GridRect printRange(const StringGrid& grid, bool selectionOnly);

// Writes `copies` copies of the listing of `range`, a new page between two copies.
void writeListing(PrinterTextStream& out, const StringGrid& grid, const GridRect& range,
                  std::string_view heading, int copies);

} // namespace tablor
