#pragma once
// Compact storage of cell texts. A cell is one 64-bit word: texts of up to 7 bytes live inside
// the word itself, longer ones in a text arena that the word points to. A million records of
// ten short fields thus cost 80 MB of words and nothing else.

#include "platform/HugePages.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
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

// A long text's word: bit 0 clear, the text's length in bits 1 to 16 and the address of its
// bytes in bits 17 to 63 (user addresses fit 47 bits; the arena refuses a block beyond them).
// A text of LengthInEntry bytes or more has that value in the word and its length, in 32 bits,
// just before its bytes.
inline constexpr int LongLengthShift = 1;
inline constexpr int LongAddressShift = 17;
inline constexpr std::uint32_t LengthInEntry = 0xFFFF;
inline constexpr std::uintptr_t LongAddressLimit = std::uintptr_t{1} << (64 - LongAddressShift);

// Where a long text's bytes are.
inline const char* longTextAt(CellWord w) {
    return reinterpret_cast<const char*>(w >> LongAddressShift);
}

// Arena of long texts: their bytes one after the other, unaligned, the length in the word.
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
    // Takes over the other arena's texts, which stay where they are.
    void adopt(TextArena&& other);
    // store() for a text followed by at least 32 readable bytes (a reader's padded buffer): one
    // of up to 32 bytes is copied by a single 32-byte move while the block has room for it.
    CellWord storePadded(std::string_view text) {
        if (text.size() > 32 || room_ < 32) return store(text);
        char* at = cursor_;
        std::memcpy(at, text.data(), 32);
        cursor_ += text.size();
        room_ -= text.size();
        total_ += text.size();
        return longWord(at, text.size());
    }
    void release(CellWord w) {
        if (!isInline(w)) garbage_ += entrySize(lengthOf(w));
    }
    std::size_t liveBytes() const { return total_ - garbage_; }
    std::size_t garbageBytes() const { return garbage_; }

    static std::size_t lengthOf(CellWord w) {
        const auto n = static_cast<std::uint32_t>((w >> LongLengthShift) & LengthInEntry);
        if (n != LengthInEntry) [[likely]]
            return n;
        std::uint32_t own;
        std::memcpy(&own, longTextAt(w) - sizeof own, sizeof own);
        return own;
    }
    static std::size_t entrySize(std::size_t len) {
        return len < LengthInEntry ? len : len + sizeof(std::uint32_t);
    }

private:
    static CellWord longWord(const char* at, std::size_t len) {
        return (CellWord(reinterpret_cast<std::uintptr_t>(at)) << LongAddressShift) |
               (CellWord(std::min<std::size_t>(len, LengthInEntry)) << LongLengthShift);
    }
    char* newBlock(std::size_t size);

    // Blocks grow from 1 MB to 16 MB with the texts: a small table keeps small blocks, a big
    // one fills huge pages. A text longer than OwnBlock gets a block of its own.
    static constexpr std::size_t FirstBlock = std::size_t{1} << 20;
    static constexpr std::size_t LastBlock = std::size_t{16} << 20;
    static constexpr std::size_t OwnBlock = FirstBlock / 4;
    std::vector<BigBytes> blocks_;
    std::size_t nextBlock_ = FirstBlock;
    char* cursor_ = nullptr;
    std::size_t room_ = 0;
    std::size_t total_ = 0;
    std::size_t garbage_ = 0;
};

// Builds the word for a text, inline when it fits.
inline CellWord makeCell(std::string_view text, TextArena& arena) {
    const std::size_t n = text.size();
    if (n > 7) return arena.store(text);
    // The bytes gathered by a few fixed-size loads, not a copy of variable length, which costs
    // a call: two overlapping 4-byte loads cover 4 to 7 bytes, three single bytes cover 1 to 3.
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    CellWord bytes = 0;
    if (n >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        bytes = head | (CellWord(tail) << (8 * (n - 4)));
    } else if (n > 0) {
        bytes =
            p[0] | (CellWord(p[n / 2]) << (8 * (n / 2))) | (CellWord(p[n - 1]) << (8 * (n - 1)));
    }
    return 1 | (CellWord(n) << 1) | (bytes << 8);
}

// makeCell for a text followed by at least 32 readable bytes (a reader's padded buffer).
inline CellWord makeCellPadded(std::string_view text, TextArena& arena) {
    return text.size() > 7 ? arena.storePadded(text) : makeCell(text, arena);
}

// The text of a cell word. For inline words the view points into the word itself, so it is
// valid only as long as the word stays where it is.
inline std::string_view cellText(const CellWord& w) {
    if (isInline(w)) return {reinterpret_cast<const char*>(&w) + 1, std::size_t((w >> 1) & 7)};
    return {longTextAt(w), TextArena::lengthOf(w)};
}

static_assert(std::endian::native == std::endian::little, "inline cells assume little endian");

} // namespace tablor
