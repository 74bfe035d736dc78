#pragma once
// A working array of plain values for one computation (sort keys, permutations), left
// uninitialised. Large ones are in huge pages: a computation that reads and writes them at
// random places then misses the address translation caches far less. Qt-free.

#include "platform/HugePages.h"

#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>

namespace tablor {

template <class T> class ScratchArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    ScratchArray() = default;
    explicit ScratchArray(std::size_t n) : bytes_(n * sizeof(T)), size_(n) {}
    ScratchArray(ScratchArray&& other) noexcept
        : bytes_(std::move(other.bytes_)), size_(std::exchange(other.size_, 0)) {}
    ScratchArray& operator=(ScratchArray&& other) noexcept {
        ScratchArray gone(std::move(*this));
        bytes_ = std::move(other.bytes_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }

    // Gives the memory back at once, for a computation whose peak is made of these arrays.
    void reset() { *this = ScratchArray(); }

    std::size_t size() const { return size_; }
    T* data() { return reinterpret_cast<T*>(bytes_.data()); }
    const T* data() const { return reinterpret_cast<const T*>(bytes_.data()); }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    T* begin() { return data(); }
    T* end() { return data() + size_; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size_; }
    operator std::span<T>() { return {data(), size_}; }
    operator std::span<const T>() const { return {data(), size_}; }

private:
    BigBytes bytes_;
    std::size_t size_ = 0;
};

} // namespace tablor
