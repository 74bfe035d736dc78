#include "table/SortRecords.h"

#include "platform/ScratchArray.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstring>
#include <limits>
#include <utility>

namespace tablor {

namespace {

// Seven bytes of a text from `offset` on, most significant first, in bits 4 to 59, then the
// number of bytes left there, capped at 8, in bits 0 to 3. Texts with the same bytes before
// `offset` compare like these keys, except that equal keys whose count is 8 (more than seven
// bytes left in both) need the bytes that follow.
constexpr std::uint64_t MoreToCome = 8;
constexpr int KeyBits = 60;

bool goesOn(std::uint64_t key) {
    return (key & 0xF) == MoreToCome;
}

std::uint64_t chunkKey(std::string_view t, std::size_t offset) {
    const std::size_t rest = t.size() - offset;
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, t.data() + offset, std::min<std::size_t>(rest, 8));
    return ((__builtin_bswap64(bytes) & ~std::uint64_t{0xFF}) >> 4) |
           std::min<std::size_t>(rest, 8);
}

std::uint64_t firstChunkKey(const CellWord& w) {
    // Inline words hold the length in byte 0 and the text in bytes 1 to 7, zeros after it.
    if (isInline(w)) return (__builtin_bswap64(w >> 8) >> 4) | ((w >> 1) & 7);
    return chunkKey(cellText(w), 0);
}

// A key and the index of its record, packed in 12 bytes rather than padded to 16: two arrays of
// them are the largest memory of the ranking.
class KeyEntry {
public:
    KeyEntry() = default;
    KeyEntry(std::uint64_t key, std::uint32_t index) {
        setKey(key);
        std::memcpy(bytes_ + 8, &index, 4);
    }
    std::uint64_t key() const {
        std::uint64_t key;
        std::memcpy(&key, bytes_, 8);
        return key;
    }
    void setKey(std::uint64_t key) { std::memcpy(bytes_, &key, 8); }
    std::uint32_t index() const {
        std::uint32_t index;
        std::memcpy(&index, bytes_ + 8, 4);
        return index;
    }

private:
    unsigned char bytes_[12];
};
static_assert(sizeof(KeyEntry) == 12);

bool byKey(const KeyEntry& a, const KeyEntry& b) {
    return a.key() < b.key();
}

// Least significant digit first, `DigitBits` bits a pass; a pass whose digit is the same for
// every entry is skipped, which is most of them when keys share their first bytes. Wide digits
// make few passes over a large array; narrow ones keep the counting cheap for small runs.
template <int DigitBits>
void radixSortByKey(std::span<KeyEntry> entries, std::span<KeyEntry> buffer) {
    constexpr int Digits = (KeyBits + DigitBits - 1) / DigitBits;
    constexpr std::size_t Buckets = std::size_t{1} << DigitBits;
    constexpr std::uint64_t Mask = Buckets - 1;
    const std::size_t n = entries.size();
    std::array<std::array<std::uint32_t, Buckets>, Digits> counts{};
    for (const KeyEntry& e : entries) {
        const std::uint64_t key = e.key();
        for (int d = 0; d < Digits; ++d)
            ++counts[d][(key >> (DigitBits * d)) & Mask];
    }

    std::span<KeyEntry> from = entries, to = buffer.first(n);
    for (int d = 0; d < Digits; ++d) {
        auto& start = counts[d];
        if (std::find(start.begin(), start.end(), n) != start.end()) continue;
        std::uint32_t sum = 0;
        for (std::uint32_t& s : start)
            sum += std::exchange(s, sum);
        for (const KeyEntry& e : from)
            to[start[(e.key() >> (DigitBits * d)) & Mask]++] = e;
        std::swap(from, to);
    }
    if (from.data() != entries.data()) std::copy(from.begin(), from.end(), entries.begin());
}

// Runs shorter than this are sorted by comparisons: a counting pass would cost more.
constexpr std::size_t ShortRun = 32;

// Puts entries in order of their keys, by counting for all but short runs.
void sortByKey(std::span<KeyEntry> entries, std::span<KeyEntry> buffer) {
    if (entries.size() < ShortRun)
        std::sort(entries.begin(), entries.end(), byKey);
    else if (entries.size() < (std::size_t{1} << 14))
        radixSortByKey<8>(entries, buffer);
    else
        radixSortByKey<12>(entries, buffer);
}

// A run of entries still to be put in order from `offset` on.
struct TextRun {
    std::size_t begin, size, offset;
};

// Puts entries whose texts agree before `offset`, and go on past it, in byte order of the rest.
// Runs that still agree are taken up from a work list rather than by recursion, so that many long
// texts sharing long beginnings cannot exhaust the stack; the list is the caller's, kept from one
// call to the next so that the many small runs allocate nothing.
void orderByTextFrom(std::span<KeyEntry> entries, std::span<const CellWord> keys,
                     std::size_t offset, std::span<KeyEntry> buffer, std::vector<TextRun>& work) {
    auto textOf = [&](const KeyEntry& e) { return cellText(keys[e.index()]); };
    work.assign({{0, entries.size(), offset}});
    while (!work.empty()) {
        const TextRun run = work.back();
        work.pop_back();
        const std::span<KeyEntry> part = entries.subspan(run.begin, run.size);
        if (part.size() < ShortRun) {
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
            e.setKey(chunkKey(textOf(e), common));
        radixSortByKey<8>(part, buffer);
        for (std::size_t i = 0; i < part.size();) {
            std::size_t j = i + 1;
            while (j < part.size() && part[j].key() == part[i].key())
                ++j;
            if (goesOn(part[i].key()) && j - i > 1)
                work.push_back({run.begin + i, j - i, common + 7});
            i = j;
        }
    }
}

// The entries of all keys in order of their first seven bytes. They are first dealt out by
// the twelve highest bits in which the keys differ, straight from the cell words, then each of
// those buckets is sorted on its own: the second array only needs the size of the largest
// bucket, and a bucket's sort runs in the caches.
constexpr int TopDigitBits = 12;

ScratchArray<KeyEntry> entriesInKeyOrder(std::span<const CellWord> keys,
                                         ScratchArray<KeyEntry>& buffer) {
    const std::size_t n = keys.size();
    constexpr std::size_t Buckets = std::size_t{1} << TopDigitBits;
    constexpr std::uint64_t Mask = Buckets - 1;
    std::array<std::uint32_t, Buckets> counts{};
    // The first count guesses the keys differ in their first byte; it is done again when they
    // do not.
    int shift = KeyBits - TopDigitBits;
    std::uint64_t varying = 0;
    const std::uint64_t firstKey = n ? firstChunkKey(keys[0]) : 0;
    for (const CellWord& w : keys) {
        const std::uint64_t key = firstChunkKey(w);
        varying |= key ^ firstKey;
        ++counts[(key >> shift) & Mask];
    }
    if (const int width = std::bit_width(varying); width < KeyBits) {
        shift = std::max(width - TopDigitBits, 0);
        counts.fill(0);
        for (const CellWord& w : keys)
            ++counts[(firstChunkKey(w) >> shift) & Mask];
    }

    std::uint32_t sum = 0, largest = 0;
    for (std::uint32_t& c : counts) {
        largest = std::max(largest, c);
        sum += std::exchange(c, sum);
    }
    ScratchArray<KeyEntry> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t key = firstChunkKey(keys[i]);
        entries[counts[(key >> shift) & Mask]++] = KeyEntry(key, static_cast<std::uint32_t>(i));
    }
    // Only the part a sort writes to is ever touched.
    buffer = ScratchArray<KeyEntry>(largest);
    std::uint32_t begin = 0;
    for (const std::uint32_t end : counts) {
        sortByKey(std::span<KeyEntry>(entries).subspan(begin, end - begin), buffer);
        begin = end;
    }
    return entries;
}

ScratchArray<std::uint32_t> rankKeys(std::span<const CellWord> keys) {
    const std::size_t n = keys.size();
    assert(n < std::numeric_limits<std::uint32_t>::max());
    ScratchArray<KeyEntry> buffer;
    ScratchArray<KeyEntry> entries = entriesInKeyOrder(keys, buffer);

    // The words of long texts lie anywhere: ask for those of the entries a little ahead, and
    // for the texts themselves once their words have had time to come.
    constexpr std::size_t WordsAhead = 64, TextsAhead = 32;
    std::size_t wordsAsked = 0, textsAsked = 0;
    auto askAhead = [&](std::size_t from) {
        for (; wordsAsked < std::min(from + WordsAhead, n); ++wordsAsked)
            if (const KeyEntry& e = entries[wordsAsked]; goesOn(e.key()))
                __builtin_prefetch(&keys[e.index()]);
        for (; textsAsked < std::min(from + TextsAhead, n); ++textsAsked)
            if (const KeyEntry& e = entries[textsAsked]; goesOn(e.key()))
                __builtin_prefetch(longTextAt(keys[e.index()]));
    };

    // Each entry's key gives way to its rank once its group is done.
    std::vector<TextRun> textRuns;
    std::uint32_t rank = 0;
    for (std::size_t i = 0; i < n;) {
        const std::uint64_t key = entries[i].key();
        std::size_t j = i + 1;
        while (j < n && entries[j].key() == key)
            ++j;
        askAhead(j);
        const std::span<KeyEntry> group = std::span<KeyEntry>(entries).subspan(i, j - i);
        if (goesOn(key) && group.size() > 1) {
            // Texts longer than seven bytes with the same first seven: order them by the rest,
            // then tell equal texts apart by their bytes.
            orderByTextFrom(group, keys, 7, buffer, textRuns);
            std::string_view previous = cellText(keys[group[0].index()]);
            group[0].setKey(rank);
            for (std::size_t k = 1; k < group.size(); ++k) {
                const std::string_view text = cellText(keys[group[k].index()]);
                if (text != previous) ++rank;
                previous = text;
                group[k].setKey(rank);
            }
        } else {
            // The key holds the whole text, or the group has a single text.
            for (KeyEntry& e : group)
                e.setKey(rank);
        }
        ++rank;
        i = j;
    }
    buffer.reset();

    ScratchArray<std::uint32_t> ranks(n);
    for (const KeyEntry& e : entries)
        ranks[e.index()] = static_cast<std::uint32_t>(e.key());
    return ranks;
}

// Chains of at most this many places are sorted in place by insertion: their few exchanges cost
// less than a counting pass.
constexpr std::size_t ShortChain = 16;

// One stage of the exchange sort where chains are short: an insertion sort of each chain, which
// moves an entry past greater ranks only, so equal ranks keep their order.
void sortShortChains(std::span<std::uint64_t> places, std::size_t gap) {
    for (std::size_t p = gap; p < places.size(); ++p) {
        const std::uint64_t entry = places[p];
        std::size_t q = p;
        while (q >= gap && (places[q - gap] >> 32) > (entry >> 32)) {
            places[q] = places[q - gap];
            q -= gap;
        }
        places[q] = entry;
    }
}

// The records of a list whose entries hold them in their low halves.
ScratchArray<int> recordsOf(std::span<const std::uint64_t> entries) {
    ScratchArray<int> records(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        records[i] = static_cast<int>(entries[i] & 0xFFFFFFFFu);
    return records;
}

ScratchArray<int> orderOfExchangeSort(ScratchArray<std::uint32_t> ranks) {
    const std::size_t n = ranks.size();
    assert(n <= static_cast<std::size_t>(std::numeric_limits<int>::max()));
    // Each place holds the rank of its record (high half) and the record (low half).
    ScratchArray<std::uint64_t> places(n);
    std::uint32_t maxRank = 0;
    for (std::size_t i = 0; i < n; ++i) {
        places[i] = (std::uint64_t{ranks[i]} << 32) | i;
        maxRank = std::max(maxRank, ranks[i]);
    }
    ranks.reset();

    std::size_t gap = n / 2;
    for (; gap >= 1 && n / gap <= ShortChain; gap /= 2)
        sortShortChains(places, gap);
    if (gap == 0) return recordsOf(places);

    // Where each rank's places begin in rank order, and a bit for each of those places that
    // begins a rank: the same at every stage.
    const std::size_t rankCount = std::size_t{maxRank} + 1;
    ScratchArray<std::uint32_t> cursor(rankCount);
    std::fill(cursor.begin(), cursor.end(), 0);
    for (const std::uint64_t entry : places)
        ++cursor[entry >> 32];
    ScratchArray<std::uint64_t> rankBegins(n / 64 + 1);
    std::fill(rankBegins.begin(), rankBegins.end(), 0);
    std::uint32_t sum = 0;
    for (std::uint32_t& c : cursor) {
        rankBegins[sum / 64] |= std::uint64_t{1} << (sum % 64);
        sum += std::exchange(c, sum);
    }

    // Places listed by rank, ties in place order: the place in the high half, the record in the
    // low half. Listing them forwards leaves each rank's cursor where the next rank begins; the
    // next stage lists them backwards from there, which brings the cursors back.
    ScratchArray<std::uint64_t> byRank(n);
    ScratchArray<std::uint32_t> chainNext(gap);
    for (bool forwards = true;; gap /= 2, forwards = !forwards) {
        if (forwards) {
            for (std::size_t p = 0; p < n; ++p) {
                const std::uint64_t entry = places[p];
                byRank[cursor[entry >> 32]++] = (std::uint64_t{p} << 32) | (entry & 0xFFFFFFFFu);
            }
        } else {
            for (std::size_t p = n; p-- > 0;) {
                const std::uint64_t entry = places[p];
                byRank[--cursor[entry >> 32]] = (std::uint64_t{p} << 32) | (entry & 0xFFFFFFFFu);
            }
        }
        if (gap == 1) break; // one chain: its stable sort is the list by rank
        // Stable sort of every chain of places `gap` apart: walking all places by rank, each
        // one goes to the next free place of its own chain, back in `places`, read whole by now.
        for (std::size_t c = 0; c < gap; ++c)
            chainNext[c] = static_cast<std::uint32_t>(c);
        // p % gap without a division: Lemire's fast remainder for 32-bit operands.
        const std::uint64_t inverse = ~std::uint64_t{0} / gap + 1;
        std::uint64_t ranksBegun = 0;
        for (std::size_t k = 0; k < n; ++k) {
            ranksBegun += (rankBegins[k / 64] >> (k % 64)) & 1;
            const std::uint64_t entry = byRank[k];
            const std::uint64_t low = inverse * (entry >> 32);
            const auto chain =
                static_cast<std::uint32_t>((static_cast<unsigned __int128>(low) * gap) >> 64);
            const std::uint32_t to = chainNext[chain];
            chainNext[chain] = to + static_cast<std::uint32_t>(gap);
            places[to] = ((ranksBegun - 1) << 32) | (entry & 0xFFFFFFFFu);
        }
    }
    places.reset();
    return recordsOf(byRank);
}

} // namespace

std::vector<std::uint32_t> keyRanks(std::span<const CellWord> keys) {
    const ScratchArray<std::uint32_t> ranks = rankKeys(keys);
    return {ranks.begin(), ranks.end()};
}

std::vector<int> exchangeSortOrder(std::span<const std::uint32_t> ranks) {
    ScratchArray<std::uint32_t> copy(ranks.size());
    std::copy(ranks.begin(), ranks.end(), copy.begin());
    const ScratchArray<int> order = orderOfExchangeSort(std::move(copy));
    return {order.begin(), order.end()};
}

void sortRecordsOn(StringGrid& grid, int col) {
    grid.permuteRecords(orderOfExchangeSort(rankKeys(grid.column(col).subspan(1))));
}

} // namespace tablor
