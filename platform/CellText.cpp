#include "platform/CellText.h"

#include <stdexcept>

namespace tablor {

CellWord TextArena::store(std::string_view text) {
    if (text.size() > MaxCellLength) throw std::length_error("cell text too long");
    const std::size_t need = entrySize(text.size());
    char* at;
    if (need > BlockSize / 4) {
        // A long text gets a block of its own, so blocks stay small and dense.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(need));
        at = blocks_.back().get();
    } else {
        if (need > room_) {
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(BlockSize));
            cursor_ = blocks_.back().get();
            room_ = BlockSize;
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

} // namespace tablor
