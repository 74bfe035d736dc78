#include "table/LineReader.h"

#include "table/ByteMask.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tablor {
namespace {

constexpr char CtrlZ = 26;
constexpr std::size_t BlockSize = std::size_t{1} << 20;
// Readable bytes after the end of the buffer's data: a window of 64 bytes is searched at once.
constexpr std::size_t Padding = 64;

// A block, or less for a source known to be smaller (one byte more than it holds, so the buffer
// is not full when the end comes).
std::size_t bufferSizeFor(std::size_t hint) {
    return hint >= BlockSize ? BlockSize : std::max<std::size_t>(hint + 1, 64);
}

char* allocate(std::size_t size) {
    char* p = static_cast<char*>(std::malloc(size + Padding));
    if (!p) throw std::bad_alloc();
    std::memset(p + size, 0, Padding);
    return p;
}

} // namespace

void LineReader::Free::operator()(char* p) const {
    std::free(p);
}

LineReader::LineReader(ByteSource& source)
    : source_(source), size_(bufferSizeFor(source.sizeHint())), buf_(allocate(size_)) {}

void LineReader::scanWindow() {
    const std::size_t n = std::min<std::size_t>(end_ - scanned_, 64);
    ends_ = bytesAmong(buf_.get() + scanned_, '\n');
    if (n < 64) ends_ &= (std::uint64_t{1} << n) - 1;
    endsBase_ = scanned_;
    scanned_ += n;
}

void LineReader::fill() {
    if (begin_ > 0) {
        std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        scanned_ -= begin_;
        begin_ = 0;
    }
    if (end_ == size_) grow();
    // A block at a time, so a long line costs no more memory than its own bytes.
    const std::size_t n = source_.read(buf_.get() + end_, std::min(size_ - end_, BlockSize));
    taken_ += n;
    if (n == 0) eof_ = true;
    if (const void* z = std::memchr(buf_.get() + end_, CtrlZ, n)) {
        end_ = std::size_t(static_cast<const char*>(z) - buf_.get());
        eof_ = true;
    } else {
        end_ += n;
    }
}

// One line longer than the buffer: make room for it, twice as much, but not much more than the
// source still holds. Large blocks are moved by the system, not copied.
void LineReader::grow() {
    const std::size_t rest = source_.sizeHint();
    std::size_t bigger = size_ * 2;
    if (rest < bigger - size_) bigger = size_ + std::max(rest + 1, BlockSize);
    char* p = static_cast<char*>(std::realloc(buf_.get(), bigger + Padding));
    if (!p) throw std::bad_alloc();
    (void)buf_.release();
    buf_.reset(p);
    std::memset(p + bigger, 0, Padding);
    size_ = bigger;
}

LineCount countLineEnds(ByteSource& source, std::uint64_t from, std::uint64_t to) {
    const std::size_t block =
        std::size_t(std::min<std::uint64_t>(to - from, std::size_t{256} << 10));
    const auto buffer = std::make_unique_for_overwrite<char[]>(block);
    LineCount count;
    while (from < to) {
        const std::size_t n = source.readAt(from, buffer.get(),
                                            std::size_t(std::min<std::uint64_t>(block, to - from)));
        if (n == 0) break;
        const char* p = buffer.get();
        std::size_t i = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), ctrlZ = _mm_set1_epi8(CtrlZ);
        __m128i zs = _mm_setzero_si128();
        while (i + 16 <= n) {
            // Byte counters, added up before any of them can wrap.
            __m128i lfs = _mm_setzero_si128();
            const std::size_t stop = std::min(n - (n - i) % 16, i + 255 * 16);
            for (; i < stop; i += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                lfs = _mm_sub_epi8(lfs, _mm_cmpeq_epi8(v, lf));
                zs = _mm_or_si128(zs, _mm_cmpeq_epi8(v, ctrlZ));
            }
            const __m128i sums = _mm_sad_epu8(lfs, _mm_setzero_si128());
            count.lineEnds += std::uint64_t(_mm_cvtsi128_si32(sums)) +
                              std::uint64_t(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
        }
        if (_mm_movemask_epi8(zs) != 0) count.ctrlZ = true;
#endif
        for (; i < n; ++i) {
            count.lineEnds += p[i] == '\n';
            count.ctrlZ |= p[i] == CtrlZ;
        }
        from += n;
    }
    return count;
}

std::uint64_t nextLineStart(ByteSource& source, std::uint64_t from, std::uint64_t to) {
    const std::size_t block =
        std::size_t(std::min<std::uint64_t>(to - from, std::size_t{64} << 10));
    const auto buffer = std::make_unique_for_overwrite<char[]>(block);
    while (from < to) {
        const std::size_t n = source.readAt(from, buffer.get(),
                                            std::size_t(std::min<std::uint64_t>(block, to - from)));
        if (n == 0) break;
        if (const void* lf = std::memchr(buffer.get(), '\n', n))
            return from + std::uint64_t(static_cast<const char*>(lf) - buffer.get()) + 1;
        from += n;
    }
    return to;
}

} // namespace tablor
