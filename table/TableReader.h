#pragma once
// The table file reader: the numbers of the header lines, then one cell per line, row by row,
// straight into a fresh grid. Works on any source of bytes, so the tests and the fuzzer can
// feed it from memory in blocks of any size. Qt-free.

#include "platform/StringGrid.h"
#include "table/ByteSource.h"
#include "table/TableDocument.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tablor {

// A whole table as read from a file, not yet part of any document. Entries of the per-field
// arrays at or beyond the field count are not read (the document keeps its own there).
struct TableContent {
    std::unique_ptr<StringGrid> grid;
    std::int32_t SortField = 0;
    std::int32_t CardWidth = 0;
    std::int32_t CardHeight = 0;
    std::array<std::int32_t, MaxFields> CardLeft{};
    std::array<std::int32_t, MaxFields> CardTop{};
    std::array<std::uint16_t, MaxFields> CopyFlags{};
};

// Reads the whole table. Throws TablorError for a number line that is not a number, an empty
// file, a field count outside 1..40, a row count below 2, and a table whose cells alone would
// need more than `memoryBudget` bytes (refused before anything is allocated). A file cut short
// reads as far as it goes: missing numbers are 0, missing cells empty.
// The cells of a table file from `twoThreadsFrom` bytes on are read by two threads, one half of
// the file each, when the source reads at any place.
inline constexpr std::uint64_t TwoThreadsFrom = std::uint64_t{4} << 20;
TableContent readTable(ByteSource& source, std::uint64_t memoryBudget,
                       std::uint64_t twoThreadsFrom = TwoThreadsFrom);

} // namespace tablor
