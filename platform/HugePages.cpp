#include "platform/HugePages.h"

#include <malloc.h>
#include <sys/mman.h>

namespace tablor {
namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

// A block ends on a huge page when most of its last one would be used; otherwise that end is
// left to small pages, which only take what is touched.
std::size_t bigSize(std::size_t bytes) {
    const std::size_t tail = bytes % HugePage;
    return tail >= HugePage / 2 ? bytes - tail + HugePage : bytes;
}

} // namespace

void* allocateBig(std::size_t bytes) {
    if (bytes < HugePage) return ::operator new(bytes);
    // glibc raises its mapping threshold to the size of each mapped block it frees, up to
    // 32 MB, and then serves smaller blocks from its heap, where freed ones stay resident: a
    // computation that frees one big array and takes another would hold both. With the
    // threshold fixed, big blocks are mapped and go back to the system when they are freed.
    [[maybe_unused]] static const bool mapped = mallopt(M_MMAP_THRESHOLD, HugePage);
    const std::size_t size = bigSize(bytes);
    void* p = ::operator new (size, std::align_val_t{HugePage});
    madvise(p, size - size % HugePage, MADV_HUGEPAGE);
    return p;
}

void freeBig(void* p, std::size_t bytes) noexcept {
    if (bytes < HugePage)
        ::operator delete(p);
    else
        ::operator delete (p, std::align_val_t{HugePage});
}

} // namespace tablor
