#include "table/SearchScan.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tablor {

namespace {

inline char upper(char ch) {
    return (ch >= 'a' && ch <= 'z') ? char(ch - ('a' - 'A')) : ch;
}

constexpr std::uint64_t Ones = 0x0101010101010101ull;
constexpr std::uint64_t HighBits = 0x8080808080808080ull;

// Upper-cases the eight bytes of a word at once: a byte b below 128 is a lower-case letter
// when b + (128 - 'a') reaches 128 and b + (128 - 'z' - 1) does not; no sum carries into the
// next byte. Bytes of 128 and above keep their value.
inline std::uint64_t upperWord(std::uint64_t w) {
    const std::uint64_t low7 = w & ~HighBits;
    const std::uint64_t atLeastA = low7 + (0x80 - 'a') * Ones;
    const std::uint64_t aboveZ = low7 + (0x80 - 'z' - 1) * Ones;
    const std::uint64_t lower = atLeastA & ~aboveZ & ~w & HighBits;
    return w - (lower >> 2); // 0x80 >> 2 = 0x20, the case bit
}

} // namespace

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = upper(ch);
    return out;
}

KeywordMatcher::KeywordMatcher(std::string_view keyword) : upper_(upperAscii(keyword)) {
    if (upper_.size() <= 7) {
        std::memcpy(&packed_, upper_.data(), upper_.size());
        mask_ = (std::uint64_t{1} << (8 * upper_.size())) - 1;
    }
}

std::size_t KeywordMatcher::find(std::string_view text) const {
    const std::size_t m = upper_.size();
    if (m == 0) return 0;
    if (text.size() < m) return std::string_view::npos;
    const char first = upper_[0];
    const char* t = text.data();
    const std::size_t last = text.size() - m;
    for (std::size_t i = 0; i <= last; ++i) {
        if (upper(t[i]) != first) continue;
        std::size_t j = 1;
        while (j < m && upper(t[i + j]) == upper_[j])
            ++j;
        if (j == m) return i;
    }
    return std::string_view::npos;
}

// A text of up to seven bytes lives in the cell word itself, after the tag byte.
bool KeywordMatcher::occursInline(CellWord cell) const {
    const std::size_t length = (cell >> 1) & 7;
    const std::size_t m = upper_.size();
    if (length < m) return false;
    const std::uint64_t text = upperWord(cell) >> 8;
    for (std::size_t s = 0; s + m <= length; ++s)
        if (((text >> (8 * s)) & mask_) == packed_) return true;
    return false;
}

bool KeywordMatcher::occursIn(const CellWord& cell) const {
    if (isInline(cell)) return upper_.size() <= 7 && occursInline(cell);
    return find(cellText(cell)) != std::string_view::npos;
}

std::optional<SearchHit> scanForKeyword(const StringGrid& grid, std::string_view keyword,
                                        int startCol, int startRow) {
    const KeywordMatcher matcher(keyword);
    const int fields = grid.ColCount();
    std::vector<const CellWord*> cols(fields);
    for (int c = 0; c < fields; ++c)
        cols[c] = grid.column(c).data();

    const int firstRow = std::max(startRow, 1);
    for (int r = firstRow; r < grid.RowCount(); ++r) {
        const int firstCol = r == startRow ? std::max(startCol, 0) : 0;
        for (int c = firstCol; c < fields; ++c)
            if (matcher.occursIn(cols[c][r])) return SearchHit{c, r};
    }
    return std::nullopt;
}

} // namespace tablor
