#pragma once
// Compact storage of cell texts. A cell is one 64-bit word: texts of up to 7 bytes live inside
// the word itself, longer ones in a text arena that the word points to. A million records of
// ten short fields thus cost 80 MB of words and nothing else.

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tablor {

using CellWord = std::uint64_t;

// The longest text a cell can hold: its length is kept in 32 bits.
inline constexpr std::size_t MaxCellLength = UINT32_MAX;

// The empty cell: inline, length 0.
inline constexpr CellWord EmptyCell = 1;

inline bool isInline(CellWord w) {
    return (w & 1) != 0;
}

// Arena of long texts. Each entry is a 32-bit length followed by the bytes, 4-byte aligned.
// Entries are never moved while in use; released ones only count as garbage until the owner
// compacts (copies the live texts into a fresh arena).
class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;
    TextArena(TextArena&&) noexcept = default;
    TextArena& operator=(TextArena&&) noexcept = default;

    CellWord store(std::string_view text);
    void release(CellWord w) {
        if (!isInline(w)) garbage_ += entrySize(lengthOf(w));
    }
    std::size_t liveBytes() const { return total_ - garbage_; }
    std::size_t garbageBytes() const { return garbage_; }

    static std::uint32_t lengthOf(CellWord w) {
        std::uint32_t n;
        std::memcpy(&n, reinterpret_cast<const char*>(w), sizeof n);
        return n;
    }
    static std::size_t entrySize(std::size_t len) { return (len + 4 + 3) & ~std::size_t{3}; }

private:
    static constexpr std::size_t BlockSize = std::size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* cursor_ = nullptr;
    std::size_t room_ = 0;
    std::size_t total_ = 0;
    std::size_t garbage_ = 0;
};

// Builds the word for a text, inline when it fits.
inline CellWord makeCell(std::string_view text, TextArena& arena) {
    if (text.size() <= 7) {
        CellWord w = 1 | (CellWord(text.size()) << 1);
        std::memcpy(reinterpret_cast<char*>(&w) + 1, text.data(), text.size());
        return w;
    }
    return arena.store(text);
}

// The text of a cell word. For inline words the view points into the word itself, so it is
// valid only as long as the word stays where it is.
inline std::string_view cellText(const CellWord& w) {
    if (isInline(w)) return {reinterpret_cast<const char*>(&w) + 1, std::size_t((w >> 1) & 7)};
    const char* p = reinterpret_cast<const char*>(w);
    return {p + 4, TextArena::lengthOf(w)};
}

static_assert(std::endian::native == std::endian::little, "inline cells assume little endian");

} // namespace tablor
