#include "platform/CellText.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace tablor {

CellWord TextArena::store(std::string_view text) {
    if (text.size() > MaxCellLength) throw std::length_error("cell text too long");
    const std::size_t need = entrySize(text.size());
    char* at;
    if (need > OwnBlock) {
        // Blocks stay dense.
        at = newBlock(need);
    } else {
        if (need > room_) {
            cursor_ = newBlock(nextBlock_);
            room_ = nextBlock_;
            nextBlock_ = std::min(nextBlock_ * 2, LastBlock);
        }
        at = cursor_;
        cursor_ += need;
        room_ -= need;
    }
    total_ += need;
    if (text.size() >= LengthInEntry) {
        const auto len = static_cast<std::uint32_t>(text.size());
        std::memcpy(at, &len, sizeof len);
        at += sizeof len;
    }
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
    return longWord(at, text.size());
}

char* TextArena::newBlock(std::size_t size) {
    char* p = blocks_.emplace_back(size).data();
    // A word keeps 47 bits of address: a block beyond them could not be told apart from another.
    if (reinterpret_cast<std::uintptr_t>(p) + size >= LongAddressLimit) {
        blocks_.pop_back();
        throw std::bad_alloc();
    }
    return p;
}

void TextArena::adopt(TextArena&& other) {
    blocks_.reserve(blocks_.size() + other.blocks_.size());
    for (auto& block : other.blocks_)
        blocks_.push_back(std::move(block));
    total_ += other.total_;
    garbage_ += other.garbage_;
    other = TextArena();
}

} // namespace tablor
