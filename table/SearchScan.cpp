#include "table/SearchScan.h"

#include "table/StartThread.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <future>
#include <vector>

namespace tablor {

namespace {

inline char upper(char ch) {
    return (ch >= 'a' && ch <= 'z') ? char(ch - ('a' - 'A')) : ch;
}
inline char lower(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? char(ch + ('a' - 'A')) : ch;
}

constexpr std::uint64_t Ones = 0x0101010101010101ull;
constexpr std::uint64_t HighBits = 0x8080808080808080ull;
constexpr std::uint64_t TopByteHigh = 0x8000000000000000ull;

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

// The high bit of every zero byte of the word. A byte just above a zero byte may be marked as
// well (the borrow runs on); a zero byte is never missed.
inline std::uint64_t zeroBytes(std::uint64_t w) {
    return (w - Ones) & ~w & HighBits;
}

// The high bit of the bytes where a keyword may start in a text d bytes longer than it: bytes
// 1 to d + 1 of a cell word (byte 0 is the tag), no further than its last byte.
constexpr std::uint64_t startBytes(int d) {
    const std::uint64_t first =
        d >= 7 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * (d + 1))) - 1;
    return (first << 8) & HighBits;
}

// Whether the text starts with the keyword, the text's letters upper-cased.
inline bool startsWith(const char* text, std::string_view upperKeyword) {
    for (std::size_t j = 0; j < upperKeyword.size(); ++j)
        if (upper(text[j]) != upperKeyword[j]) return false;
    return true;
}

} // namespace

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = upper(ch);
    return out;
}

KeywordMatcher::KeywordMatcher(std::string_view keyword) : upper_(upperAscii(keyword)) {
    const std::size_t m = upper_.size();
    if (m >= 1) {
        firstUpper_ = Ones * static_cast<unsigned char>(upper_[0]);
        firstLower_ = Ones * static_cast<unsigned char>(lower(upper_[0]));
    }
    if (m >= 2) second_ = Ones * static_cast<unsigned char>(upper_[1]);
    if (m <= 7) {
        std::memcpy(&packed_, upper_.data(), m);
        mask_ = (std::uint64_t{1} << (8 * m)) - 1;
        for (std::size_t length = m; length < 8; ++length)
            starts_[length] = startBytes(int(length - m));
    }
}

// In eight upper-cased bytes, the bytes holding the keyword's first letter followed by its
// second (the last byte on its first letter alone), give or take a few more.
inline std::uint64_t KeywordMatcher::candidates(std::uint64_t upperText) const {
    std::uint64_t marks = zeroBytes(upperText ^ firstUpper_);
    if (upper_.size() >= 2) marks &= (zeroBytes(upperText ^ second_) >> 8) | TopByteHigh;
    return marks;
}

std::size_t KeywordMatcher::find(std::string_view text) const {
    const std::size_t m = upper_.size();
    if (m == 0) return 0;
    if (text.size() < m) return std::string_view::npos;
    const char* t = text.data();
    const std::size_t last = text.size() - m; // the last place the keyword may start
    if (text.size() < 8) {
        for (std::size_t i = 0; i <= last; ++i)
            if (startsWith(t + i, upper_)) return i;
        return std::string_view::npos;
    }
    // Eight bytes at a time, looking only where the first letters are.
    for (std::size_t i = 0; i <= last; i += 8) {
        const std::size_t at = std::min(i, text.size() - 8);
        std::uint64_t chunk;
        std::memcpy(&chunk, t + at, 8);
        std::uint64_t marks = candidates(upperWord(chunk));
        while (marks != 0) {
            const std::size_t pos = at + std::size_t(std::countr_zero(marks) / 8);
            marks &= marks - 1;
            if (pos < i) continue; // looked at with the previous eight bytes
            if (pos > last) return std::string_view::npos;
            if (startsWith(t + pos, upper_)) return pos;
        }
    }
    return std::string_view::npos;
}

// A text of up to seven bytes lives in the cell word itself, after the tag byte. Most cells
// don't hold the keyword's first letter in either case, which a few operations on the whole
// word tell.
inline bool KeywordMatcher::occursInline(CellWord cell) const {
    if (upper_.empty()) return true;
    const std::uint64_t starts = starts_[(cell >> 1) & 7];
    if ((zeroBytes(cell ^ firstUpper_) | zeroBytes(cell ^ firstLower_)) & starts) {
        const std::uint64_t text = upperWord(cell);
        for (int at = 1; at < 8; ++at)
            if ((starts >> (8 * at + 7)) & 1 && ((text >> (8 * at)) & mask_) == packed_)
                return true;
    }
    return false;
}

bool KeywordMatcher::occursIn(const CellWord& cell) const {
    if (isInline(cell)) return occursInline(cell);
    return find(cellText(cell)) != std::string_view::npos;
}

int KeywordMatcher::firstIn(const CellWord* cells, int from, int to) const {
    if (upper_.empty()) return std::min(from, to);
    // A keyword too long for a text kept in a cell word can only be in a long text.
    const std::uint64_t shortOnes = upper_.size() <= 7 ? 1 : 0;
    const std::uint64_t up = firstUpper_, low = firstLower_;
    constexpr std::uint64_t TextBytes = HighBits & ~std::uint64_t{0x80}; // not the tag byte
    // Sixty-four cells at a time: a pass without branches marks the long texts and the short
    // ones holding the keyword's first letter in either case; only those get a closer look.
    for (int r = from; r < to; r += 64) {
        const int n = std::min(64, to - r);
        std::uint64_t closer = 0;
        for (int i = 0; i < n; ++i) {
            const CellWord cell = cells[r + i];
            const std::uint64_t marks = (zeroBytes(cell ^ up) | zeroBytes(cell ^ low)) & TextBytes;
            const std::uint64_t look = (~cell & 1) | (shortOnes & std::uint64_t(marks != 0));
            closer |= look << i;
        }
        while (closer != 0) {
            const int i = std::countr_zero(closer);
            closer &= closer - 1;
            if (occursIn(cells[r + i])) return r + i;
        }
    }
    return to;
}

namespace {

// The first hit in rows [top, end), record by record: blocks of rows, each scanned column after
// column (a column's cells lie side by side), keeping the hit that comes first record by record:
// a later column only wins with an earlier row. Gives up, with no hit, once `stop` is set.
std::optional<SearchHit> scanRows(const KeywordMatcher& matcher,
                                  const std::vector<const CellWord*>& cols, int startCol,
                                  int startRow, int top, int end, const std::atomic<bool>& stop) {
    constexpr int Block = 2048;
    for (; top < end && !stop.load(std::memory_order_relaxed); top += Block) {
        const int blockEnd = std::min(end, top + Block);
        int hitRow = blockEnd, hitCol = 0;
        for (int c = 0; c < int(cols.size()); ++c) {
            // In the start row the scan begins at the start column.
            const int from = (top == startRow && c < startCol) ? top + 1 : top;
            const int r = matcher.firstIn(cols[c], from, hitRow);
            if (r < hitRow) {
                hitRow = r;
                hitCol = c;
            }
        }
        if (hitRow < blockEnd) return SearchHit{hitCol, hitRow};
    }
    return std::nullopt;
}

} // namespace

std::optional<SearchHit> scanForKeyword(const StringGrid& grid, std::string_view keyword,
                                        int startCol, int startRow, std::size_t twoThreadsFrom) {
    const KeywordMatcher matcher(keyword);
    const int fields = grid.ColCount();
    const int rows = grid.RowCount();
    std::vector<const CellWord*> cols(fields);
    for (int c = 0; c < fields; ++c)
        cols[c] = grid.column(c).data();
    const int firstRow = std::max(startRow, 1);
    if (firstRow >= rows) return std::nullopt;
    std::atomic<bool> stop{false};
    const std::size_t cells = std::size_t(rows - firstRow) * std::size_t(fields);
    if (cells < twoThreadsFrom || rows - firstRow < 2)
        return scanRows(matcher, cols, startCol, startRow, firstRow, rows, stop);

    // A big table is read by two threads, a half each: a search that finds nothing costs the
    // time of one half. A hit in the first half comes first, so it stops the second.
    const int middle = firstRow + (rows - firstRow) / 2;
    std::future<std::optional<SearchHit>> secondHalf;
    if (!startThread(secondHalf, [&] {
            return scanRows(matcher, cols, startCol, startRow, middle, rows, stop);
        }))
        return scanRows(matcher, cols, startCol, startRow, firstRow, rows, stop);
    const std::optional<SearchHit> first =
        scanRows(matcher, cols, startCol, startRow, firstRow, middle, stop);
    if (first) stop = true;
    const std::optional<SearchHit> second = secondHalf.get();
    return first ? first : second;
}

} // namespace tablor
