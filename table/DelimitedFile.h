#pragma once
// Importing delimited files as tables and exporting tables as delimited files. Qt-free; the
// callers show the busy cursor, refresh the window and report errors through the general error
// handler.

#include "table/DelimitedWriter.h"
#include "table/TableDocument.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tablor {

// True for the names the import takes: .csv, .tsv and .txt, in any letter case.
bool isDelimitedFileName(std::string_view path);

// Reads the delimited file at path and, only when the whole file read well, makes it the
// document as an untitled table: its cells, column widths 64, the members as a new table
// starts them, no file name, not modified, current cell (0, 1). Returns the notice of what
// was replaced (empty when nothing was). Throws TablorError; doc is then untouched.
std::string ImportDelimited(TableDocument& doc, const std::string& path);
// The same over bytes in memory, with the cells limited to `memoryBudget` bytes.
std::string ImportDelimitedFromBytes(TableDocument& doc, std::string_view bytes,
                                     std::uint64_t memoryBudget);

// Writes the table as delimited text to path, through the same safe output file as the table
// writer (nothing is left of a failed export). Does not touch the document.
void ExportDelimited(const TableDocument& doc, const DelimitedFormat& format,
                     const std::string& path);
std::string ExportDelimitedToBytes(const TableDocument& doc, const DelimitedFormat& format);

} // namespace tablor
