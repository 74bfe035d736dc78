#pragma once
// Where the table file reader takes its bytes: a file, or memory for the tests and the fuzzer,
// which may hand them over in blocks of any size. Qt-free.

#include <cstddef>
#include <cstdint>

namespace tablor {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes; 0 only at the end. May throw TablorError.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
    // How many bytes are left, when the source knows; the reader sizes its buffer by it.
    virtual std::size_t sizeHint() const { return SIZE_MAX; }

    // Sources that can also read at any place let the reader share a large table between two
    // threads. readAt gives up to `size` bytes from `offset` (counted from the start of the
    // source) without moving the place of read(); 0 only at the end. It may be called from
    // several threads at once.
    virtual bool readsAtAnyPlace() const { return false; }
    virtual std::size_t readAt(std::uint64_t offset, char* buffer, std::size_t size) {
        (void)offset, (void)buffer, (void)size;
        return 0;
    }
};

} // namespace tablor
