#pragma once
// The text that the copy commands put on the clipboard: the main window's copy of the table or
// the selection, and the record card's copy of chosen fields. Qt-free; the main window adds the
// heading. The clipboard carries UTF-8, so the table's Windows-1252 cells are written in UTF-8
// straight away: a big table's text is built once, at its final size, and only when asked for.

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

// The copy command's text: the heading, given in UTF-8 with its line end, then the lines under
// it: an empty line, then for each row of the range its non-empty cells, left to right, one a
// line, and an empty line after the row. Every line ends with CR LF. It reads a snapshot of the
// range, so it stays the text of the table as it was when copied, whatever becomes of the table.
class CopiedText {
public:
    CopiedText(std::string heading, GridSnapshot cells);
    // The size in UTF-8, and the text written into memory of that size.
    std::size_t size() const;
    void write(char* out) const;
    std::string text() const;

private:
    std::string heading_;
    GridSnapshot cells_;
};

// A copy of more cells than this, and of at least a quarter of the table's, keeps its snapshot
// and leaves its text to be written when a program asks for it: the text of a big table would
// otherwise sit beside the table. A smaller one is written at once, so that its snapshot does not
// keep a big table's columns and texts alive once the table is closed or changed.
inline constexpr std::size_t CopiedAtOnceCells = 65536;
bool copiedOnDemand(const StringGrid& grid, const GridRect& cells);

// The record card's copy: the current record's cells in the chosen fields, left to right, each
// followed by CR LF (nothing when no field is chosen). The choice becomes the document's copy
// flags, kept with the table. `chosen[i]` is field i; a field past its end is not chosen.
std::string copyChosenFields(TableDocument& doc, const std::vector<bool>& chosen);

} // namespace tablor
