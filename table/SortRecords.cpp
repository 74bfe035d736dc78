#include "table/SortRecords.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <limits>
#include <utility>

namespace tablor {

namespace {

// Seven bytes of a text from `offset` on, most significant first, then the number of bytes left
// there, capped at 8. Texts with the same bytes before `offset` compare like these keys, except
// that equal keys whose last byte is 8 (more than seven bytes left in both) need the bytes that
// follow.
constexpr std::uint64_t MoreToCome = 8;

std::uint64_t chunkKey(std::string_view t, std::size_t offset) {
    const std::size_t rest = t.size() - offset;
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, t.data() + offset, std::min<std::size_t>(rest, 8));
    return (__builtin_bswap64(bytes) & ~std::uint64_t{0xFF}) | std::min<std::size_t>(rest, 8);
}

std::uint64_t firstChunkKey(const CellWord& w) {
    // Inline words hold the length in byte 0 and the text in bytes 1 to 7, zeros after it.
    if (isInline(w)) return __builtin_bswap64(w >> 8) | ((w >> 1) & 7);
    return chunkKey(cellText(w), 0);
}

struct KeyEntry {
    std::uint64_t key;
    std::uint32_t index;
};

// Least significant digit first, 8 bits a pass; a pass whose digit is the same for every entry
// is skipped, which is most of them when keys share their first bytes.
void radixSortByKey(std::span<KeyEntry> entries, std::vector<KeyEntry>& buffer) {
    const std::size_t n = entries.size();
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (const KeyEntry& e : entries)
        for (int d = 0; d < 8; ++d)
            ++counts[d][(e.key >> (8 * d)) & 0xFF];

    buffer.resize(std::max(buffer.size(), n));
    std::span<KeyEntry> from = entries, to(buffer.data(), n);
    for (int d = 0; d < 8; ++d) {
        const auto& count = counts[d];
        if (std::find(count.begin(), count.end(), n) != count.end()) continue;
        std::array<std::uint32_t, 256> start;
        std::uint32_t sum = 0;
        for (int b = 0; b < 256; ++b) {
            start[b] = sum;
            sum += count[b];
        }
        for (const KeyEntry& e : from)
            to[start[(e.key >> (8 * d)) & 0xFF]++] = e;
        std::swap(from, to);
    }
    if (from.data() != entries.data()) std::copy(from.begin(), from.end(), entries.begin());
}

// Puts entries whose texts agree before `offset`, and go on past it, in byte order of the rest.
// Runs that still agree are taken up from a work list rather than by recursion, so that many long
// texts sharing long beginnings cannot exhaust the stack.
void orderByTextFrom(std::span<KeyEntry> entries, std::span<const CellWord> keys,
                     std::size_t offset, std::vector<KeyEntry>& buffer) {
    auto textOf = [&](const KeyEntry& e) { return cellText(keys[e.index]); };
    struct Run {
        std::size_t begin, size, offset;
    };
    std::vector<Run> work{{0, entries.size(), offset}};
    while (!work.empty()) {
        const Run run = work.back();
        work.pop_back();
        const std::span<KeyEntry> part = entries.subspan(run.begin, run.size);
        if (part.size() < 32) {
            std::sort(part.begin(), part.end(), [&](const KeyEntry& a, const KeyEntry& b) {
                return textOf(a).substr(run.offset) < textOf(b).substr(run.offset);
            });
            continue;
        }
        // Skip at once the bytes that every text of the run shares.
        const std::string_view first = textOf(part.front());
        std::size_t common = first.size();
        for (const KeyEntry& e : part) {
            const std::string_view t = textOf(e);
            std::size_t m = run.offset;
            const std::size_t limit = std::min(common, t.size());
            while (m < limit && t[m] == first[m])
                ++m;
            common = m;
        }
        for (KeyEntry& e : part)
            e.key = chunkKey(textOf(e), common);
        radixSortByKey(part, buffer);
        for (std::size_t i = 0; i < part.size();) {
            std::size_t j = i + 1;
            while (j < part.size() && part[j].key == part[i].key)
                ++j;
            if ((part[i].key & 0xFF) == MoreToCome && j - i > 1)
                work.push_back({run.begin + i, j - i, common + 7});
            i = j;
        }
    }
}

} // namespace

std::vector<std::uint32_t> keyRanks(std::span<const CellWord> keys) {
    const std::size_t n = keys.size();
    assert(n < std::numeric_limits<std::uint32_t>::max());
    std::vector<KeyEntry> entries(n);
    for (std::size_t i = 0; i < n; ++i)
        entries[i] = {firstChunkKey(keys[i]), static_cast<std::uint32_t>(i)};
    std::vector<KeyEntry> buffer;
    radixSortByKey(entries, buffer);
    // Texts longer than seven bytes with the same first seven: order them by the rest.
    for (std::size_t i = 0; i < n;) {
        std::size_t j = i + 1;
        while (j < n && entries[j].key == entries[i].key)
            ++j;
        if ((entries[i].key & 0xFF) == MoreToCome && j - i > 1)
            orderByTextFrom(std::span(entries).subspan(i, j - i), keys, 7, buffer);
        i = j;
    }

    std::vector<std::uint32_t> ranks(n);
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) {
            // Inline words are equal exactly when their texts are.
            const CellWord a = keys[entries[i - 1].index], b = keys[entries[i].index];
            if (isInline(a) || isInline(b) ? a != b : cellText(a) != cellText(b)) ++rank;
        }
        ranks[entries[i].index] = rank;
    }
    return ranks;
}

std::vector<int> exchangeSortOrder(std::span<const std::uint32_t> ranks) {
    const std::size_t n = ranks.size();
    assert(n <= static_cast<std::size_t>(std::numeric_limits<int>::max()));
    // Each place holds the rank of its record (high half) and the record (low half).
    std::vector<std::uint64_t> places(n);
    std::uint32_t maxRank = 0;
    for (std::size_t i = 0; i < n; ++i) {
        places[i] = (std::uint64_t{ranks[i]} << 32) | i;
        maxRank = std::max(maxRank, ranks[i]);
    }

    if (n >= 2) {
        // Where each rank's places start in rank order: the same at every stage.
        std::vector<std::uint32_t> rankStart(std::size_t{maxRank} + 1, 0);
        for (std::uint32_t r : ranks)
            ++rankStart[r];
        std::uint32_t sum = 0;
        for (std::uint32_t& s : rankStart)
            sum += std::exchange(s, sum);

        std::vector<std::uint32_t> cursor(rankStart.size());
        std::vector<std::uint32_t> byRank(n); // places listed by rank, ties in place order
        std::vector<std::uint32_t> chainNext;
        std::vector<std::uint64_t> sorted(n);
        for (std::size_t gap = n / 2;; gap /= 2) {
            // Stable sort of every chain of places `gap` apart: walking all places by rank, each
            // one goes to the next free place of its own chain.
            std::copy(rankStart.begin(), rankStart.end(), cursor.begin());
            for (std::size_t p = 0; p < n; ++p)
                byRank[cursor[places[p] >> 32]++] = static_cast<std::uint32_t>(p);
            chainNext.resize(gap);
            for (std::size_t c = 0; c < gap; ++c)
                chainNext[c] = static_cast<std::uint32_t>(c);
            // p % gap without a division: Lemire's fast remainder for 32-bit operands.
            const std::uint64_t inverse = ~std::uint64_t{0} / gap + 1;
            for (std::uint32_t p : byRank) {
                const std::uint64_t low = inverse * p;
                const auto chain =
                    static_cast<std::uint32_t>((static_cast<unsigned __int128>(low) * gap) >> 64);
                const std::uint32_t to = chainNext[chain];
                chainNext[chain] = to + static_cast<std::uint32_t>(gap);
                sorted[to] = places[p];
            }
            places.swap(sorted);
            if (gap <= 1) break;
        }
    }

    std::vector<int> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = static_cast<int>(places[i] & 0xFFFFFFFFu);
    return order;
}

void sortRecordsOn(StringGrid& grid, int col) {
    const std::span<const CellWord> records = grid.column(col).subspan(1);
    const std::vector<int> order = exchangeSortOrder(keyRanks(records));
    grid.permuteRecords(order);
}

} // namespace tablor
