#include "platform/CellText.h"

#include <algorithm>
#include <stdexcept>

namespace tablor {

CellWord TextArena::store(std::string_view text) {
    if (text.size() > MaxCellLength) throw std::length_error("cell text too long");
    const std::size_t need = entrySize(text.size());
    char* at;
    if (need > OwnBlock) {
        // Blocks stay dense.
        at = blocks_.emplace_back(need).data();
    } else {
        if (need > room_) {
            cursor_ = blocks_.emplace_back(nextBlock_).data();
            room_ = nextBlock_;
            nextBlock_ = std::min(nextBlock_ * 2, LastBlock);
        }
        at = cursor_;
        cursor_ += need;
        room_ -= need;
    }
    const auto len = static_cast<std::uint32_t>(text.size());
    std::memcpy(at, &len, sizeof len);
    std::memcpy(at + 4, text.data(), text.size());
    total_ += need;
    return reinterpret_cast<CellWord>(at);
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
