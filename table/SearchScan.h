#pragma once
// The search through the records: a keyword found inside cells, only the ASCII letters a to z
// folded to upper case (accented letters are compared as they are). Qt-free.

#include "platform/CellText.h"
#include "platform/StringGrid.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tablor {

// The text with a-z changed to A-Z and every other byte left as it is.
std::string upperAscii(std::string_view text);

// One keyword, ready to be looked for in many cells.
class KeywordMatcher {
public:
    explicit KeywordMatcher(std::string_view keyword);

    // Where the keyword first occurs in the text, both upper-cased; npos when it does not.
    std::size_t find(std::string_view text) const;
    bool occursIn(const CellWord& cell) const;
    // The first of cells[from] to cells[to - 1] that holds the keyword; `to` when none does.
    int firstIn(const CellWord* cells, int from, int to) const;

private:
    bool occursInline(CellWord cell) const;
    std::uint64_t candidates(std::uint64_t upperText) const;

    std::string upper_;
    // The keyword's bytes, when it is short enough to live in a cell word, and their mask.
    std::uint64_t packed_ = 0;
    std::uint64_t mask_ = 0;
    // The keyword's first letter in both cases, and its second, in every byte of a word.
    std::uint64_t firstUpper_ = 0, firstLower_ = 0, second_ = 0;
    // For each length of a text kept in a cell word, the bytes where the keyword may start.
    std::uint64_t starts_[8] = {};
};

struct SearchHit {
    int col = 0;
    int row = 1;
    bool operator==(const SearchHit&) const = default;
};

// The first cell holding the keyword, record by record and field by field within a record:
// in the start row from startCol, in every later row from field 0, up to the last record.
// Row 0 (the field names) is never searched. A start beyond the table finds nothing.
// From `twoThreadsFrom` cells to search on, two threads share the records.
inline constexpr std::size_t TwoThreadSearchFrom = std::size_t{1} << 20;
std::optional<SearchHit> scanForKeyword(const StringGrid& grid, std::string_view keyword,
                                        int startCol, int startRow,
                                        std::size_t twoThreadsFrom = TwoThreadSearchFrom);

} // namespace tablor
