#include "platform/HugePages.h"

#include <sys/mman.h>

namespace tablor {
namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

// Big blocks take whole huge pages: a part of one at the end would be small pages.
std::size_t bigSize(std::size_t bytes) {
    return (bytes + HugePage - 1) & ~(HugePage - 1);
}

} // namespace

void* allocateBig(std::size_t bytes) {
    if (bytes < HugePage) return ::operator new(bytes);
    void* p = ::operator new (bigSize(bytes), std::align_val_t{HugePage});
    madvise(p, bigSize(bytes), MADV_HUGEPAGE);
    return p;
}

void freeBig(void* p, std::size_t bytes) noexcept {
    if (bytes < HugePage)
        ::operator delete(p, bytes);
    else
        ::operator delete (p, bigSize(bytes), std::align_val_t{HugePage});
}

} // namespace tablor
