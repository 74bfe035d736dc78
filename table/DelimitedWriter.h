#pragma once
// The writer of delimited text: the field names, then the records, one line each ended by
// CR LF; by default UTF-8 with a byte order mark and semicolons, which a French spreadsheet
// opens directly. Qt-free.

#include "platform/StringGrid.h"
#include "table/DelimitedReader.h"
#include "table/TableWriter.h"

namespace tablor {

struct DelimitedFormat {
    char separator = ';'; // tab, semicolon or comma
    TextEncoding encoding = TextEncoding::Utf8;
};

// A field is quoted only when it must be for the text to read back as it was: when it holds a
// quote, a line break or any of the three separators (a comma in a semicolon file would
// otherwise let a reader that guesses the separator take the comma).
void writeDelimited(const StringGrid& grid, const DelimitedFormat& format, ByteSink& sink);

} // namespace tablor
