#pragma once
// The reader of delimited text (CSV, TSV): what spreadsheets, databases and web sites export.
// Quoting as RFC 4180 has it (quoted separators, doubled quotes, quoted line breaks); the
// separator is found among tab, semicolon and comma from the first records; the text is UTF-8
// (with or without a byte order mark) when its bytes are valid UTF-8, otherwise Windows-1252;
// lines end with CR LF, LF or CR. The first record gives the field names. Qt-free.

#include "platform/HugePages.h"
#include "platform/StringGrid.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tablor {

enum class TextEncoding { Utf8, Windows1252 };

struct DelimitedTable {
    std::unique_ptr<StringGrid> grid; // field names in row 0, at least one record
    char separator = ';';
    TextEncoding encoding = TextEncoding::Utf8;
    // A cell holds one line of Windows-1252: what it cannot hold was replaced, and counted.
    std::uint64_t replacedCharacters = 0; // characters Windows-1252 lacks, now "?"
    std::uint64_t replacedLineBreaks = 0; // quoted line breaks, now a blank
};

// Reads the whole text. Rows shorter than the field names are padded with empty cells.
// Throws TablorError, before the grid is made, for an empty text, more than 40 fields, a row
// longer than the field names, an unterminated quote, and cells that would need more than
// `memoryBudget` bytes.
// When `owner` holds the bytes, it is freed as soon as the cells no longer need them: the cells
// of a UTF-8 text are made from its Windows-1252 form, and the two are not kept at once.
DelimitedTable readDelimited(std::string_view bytes, std::uint64_t memoryBudget,
                             BigBytes* owner = nullptr);

// What the user is told after an import: the replacements, in one French sentence; empty when
// nothing was replaced.
std::string replacementNotice(const DelimitedTable& table);

} // namespace tablor
