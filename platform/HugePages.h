#pragma once
// Memory for big arrays (the cells' columns, a whole file), in 2 MB pages where the system
// allows: filling 80 MB then costs forty page faults instead of twenty thousand. Smaller
// blocks come from the ordinary heap. Qt-free, Linux.

#include <cstddef>
#include <new>
#include <utility>

namespace tablor {

// Throws std::bad_alloc. Free with the same size.
void* allocateBig(std::size_t bytes);
void freeBig(void* p, std::size_t bytes) noexcept;

// A block of bytes from allocateBig (a whole file, a text converted whole), freed when it goes.
class BigBytes {
public:
    BigBytes() = default;
    explicit BigBytes(std::size_t size)
        : data_(size ? static_cast<char*>(allocateBig(size)) : nullptr), size_(size) {}
    ~BigBytes() {
        if (data_) freeBig(data_, size_);
    }
    BigBytes(BigBytes&& other) noexcept : data_(other.data_), size_(other.size_) {
        other.data_ = nullptr;
        other.size_ = 0;
    }
    BigBytes& operator=(BigBytes&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        return *this;
    }
    char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// For std::vector: the words of a column grow into huge pages as the table grows.
template <class T> struct BigAllocator {
    using value_type = T;
    BigAllocator() = default;
    template <class U> BigAllocator(const BigAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(allocateBig(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { freeBig(p, n * sizeof(T)); }
    // An element added without a value is left unset, for readers that write every word once.
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(p)) U;
        else
            ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U> bool operator==(const BigAllocator<U>&) const noexcept { return true; }
};

} // namespace tablor
