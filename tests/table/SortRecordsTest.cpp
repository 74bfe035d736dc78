#include "table/SortRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

using namespace tablor;
using namespace std::string_literals;

namespace {

using Rows = std::vector<std::vector<std::string>>; // rows[0] holds the field names

// Byte order, written out on purpose rather than borrowed from std::string.
bool greaterBytes(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x > y;
    }
    return a.size() > b.size();
}

// The oracle: the exchange sort line by line, on whole rows, rows counted from 1.
void literalSort(Rows& rows, int col) {
    const int n = static_cast<int>(rows.size()) - 1;
    int gap = n;
    do {
        gap = gap / 2;
        bool exchanged;
        do {
            exchanged = false;
            for (int row = 1; row <= n - gap; ++row) {
                if (greaterBytes(rows[row][col], rows[row + gap][col])) {
                    std::swap(rows[row], rows[row + gap]);
                    exchanged = true;
                }
            }
        } while (exchanged);
    } while (gap > 1);
}

void fill(StringGrid& g, const Rows& rows) {
    g.setSize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            g.setCell(c, r, rows[r][c]);
}

Rows contents(const StringGrid& g) {
    Rows rows(g.RowCount());
    for (int r = 0; r < g.RowCount(); ++r)
        rows[r] = g.rowStrings(r);
    return rows;
}

// A table whose first column is the record number and whose second is the key.
Rows keyed(const std::vector<std::string>& keys) {
    Rows rows{{"n", "key"}};
    for (std::size_t i = 0; i < keys.size(); ++i)
        rows.push_back({std::to_string(i + 1), keys[i]});
    return rows;
}

std::vector<std::string> column(const Rows& rows, int col) {
    std::vector<std::string> out;
    for (std::size_t r = 1; r < rows.size(); ++r)
        out.push_back(rows[r][col]);
    return out;
}

std::vector<std::string> sortedOn(const Rows& rows, int col, int showCol) {
    StringGrid g;
    fill(g, rows);
    sortRecordsOn(g, col);
    return column(contents(g), showCol);
}

// Keys full of ties, empty cells, prefixes, capitals, accents, high bytes and long texts that
// share their first seven or eight bytes.
const std::vector<std::string> Alphabet = {"",           "a",
                                           "a",          "b",
                                           "B",          "ab",
                                           "a\0"s,       "\xE9",
                                           "e",          "\xFF",
                                           "10",         "9",
                                           "abcdefg",    "abcdefgh",
                                           "abcdefgh",   "abcdefgh1",
                                           "abcdefgi",   "abcdefg\xE9zz",
                                           "abcdefgha",  "abcdefghb",
                                           "\x80\x81xx", "zzzzzzzzzzzzzzzz",
                                           "Z",          "x"};

std::string randomKey(std::mt19937& rng, int distinct) {
    std::uniform_int_distribution<int> pick(0, distinct - 1);
    return Alphabet[pick(rng) % Alphabet.size()];
}

} // namespace

TEST(SortRecords, KeepsTheExchangeOrderOfEqualKeys) {
    EXPECT_EQ(sortedOn(keyed({"a", "b", "a", "a", "c"}), 1, 0),
              (std::vector<std::string>{"1", "4", "3", "2", "5"}));
    // Two records: one exchange at gap 1.
    EXPECT_EQ(sortedOn(keyed({"b", "a"}), 1, 1), (std::vector<std::string>{"a", "b"}));
    // One record: nothing to do.
    EXPECT_EQ(sortedOn(keyed({"z"}), 1, 1), (std::vector<std::string>{"z"}));
    // All keys empty: nothing moves.
    EXPECT_EQ(sortedOn(keyed({"", "", "", ""}), 1, 0),
              (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(SortRecords, ComparesUnsignedBytesWithoutCaseFolding) {
    EXPECT_EQ(sortedOn(keyed({"e", "X", "9", "10"}), 1, 1),
              (std::vector<std::string>{"10", "9", "X", "e"}));
    EXPECT_EQ(sortedOn(keyed({"\xE9", "x", "", "e", "X", "9", "10"}), 1, 1),
              (std::vector<std::string>{"", "10", "9", "X", "e", "x", "\xE9"}));
    // Prefixes first, also past the seven bytes a cell word holds, and a NUL byte is a byte.
    EXPECT_EQ(
        sortedOn(keyed({"abcdefgh1", "abcdefgh", "a\0"s, "abcdefg", "a", "abcdefg\x01"}), 1, 1),
        (std::vector<std::string>{"a", "a\0"s, "abcdefg", "abcdefg\x01", "abcdefgh", "abcdefgh1"}));
}

// Ranks count the distinct texts below each one, in byte order.
void expectRanksFollowByteOrder(const std::vector<std::string>& texts) {
    StringGrid g(1, static_cast<int>(texts.size()) + 1);
    for (std::size_t i = 0; i < texts.size(); ++i)
        g.setCell(0, static_cast<int>(i) + 1, texts[i]);
    const std::vector<std::uint32_t> ranks = keyRanks(g.column(0).subspan(1));

    std::vector<std::size_t> byText(texts.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(),
              [&](std::size_t a, std::size_t b) { return greaterBytes(texts[b], texts[a]); });
    std::uint32_t expected = 0;
    for (std::size_t k = 0; k < byText.size(); ++k) {
        const std::size_t i = byText[k];
        if (k > 0 && texts[i] != texts[byText[k - 1]]) ++expected;
        ASSERT_EQ(ranks[i], expected) << testing::PrintToString(texts[i]);
    }
}

TEST(SortRecords, RanksFollowByteOrder) {
    std::mt19937 rng(7);
    // Short and long texts, and many long ones that agree over several words, or thousands of
    // bytes, before differing.
    std::vector<std::string> texts;
    for (int i = 0; i < 300; ++i)
        texts.push_back(randomKey(rng, 100));
    for (int i = 0; i < 1200; ++i) {
        std::string t(rng() % 30, 'q');
        for (int k = rng() % 4; k > 0; --k)
            t += static_cast<char>("a\xE9\0Z"[rng() % 4]);
        texts.push_back(t);
    }
    // Short texts of low, high and zero bytes, empty ones and prefixes among them.
    for (int i = 0; i < 400; ++i) {
        std::string t(rng() % 17, '\0');
        for (char& c : t)
            c = static_cast<char>(rng() % 4 == 0 ? 0x80 + rng() % 128 : "\0aZ\xFF"[rng() % 4]);
        texts.push_back(t);
    }
    for (int i = 0; i < 64; ++i) {
        std::string t(20000, 'x');
        for (int k = rng() % 3; k > 0; --k)
            t += static_cast<char>("ax\xE9"[rng() % 3]);
        texts.push_back(t);
    }
    expectRanksFollowByteOrder(texts);

    // Many keys that agree on their first bytes, as dates or codes do: alone, and then with a
    // few others, which leave them all in one large group.
    for (const int others : {0, 3000}) {
        texts.clear();
        for (int i = 0; i < 30000 - others; ++i) {
            std::string t = "2024-" + std::to_string(rng() % 1000);
            if (rng() % 3 == 0) t += "-" + std::to_string(rng() % 50);
            texts.push_back(t);
        }
        for (int i = 0; i < others; ++i)
            texts.push_back(randomKey(rng, 100));
        expectRanksFollowByteOrder(texts);
    }
}

TEST(SortRecords, MatchesTheLiteralSortOnRandomTables) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 600; ++round) {
        const int records = 1 + static_cast<int>(rng() % (round < 300 ? 40 : 700));
        const int fields = 1 + static_cast<int>(rng() % 4);
        const int distinct = 1 + static_cast<int>(rng() % 30);
        Rows rows(1);
        for (int c = 0; c < fields; ++c)
            rows[0].push_back("F" + std::to_string(c));
        for (int r = 0; r < records; ++r) {
            rows.emplace_back();
            for (int c = 0; c < fields; ++c)
                rows.back().push_back(randomKey(rng, distinct));
            rows.back()[0] += "#" + std::to_string(r); // makes every record recognisable
        }
        const int col = fields > 1 ? 1 + static_cast<int>(rng() % (fields - 1)) : 0;

        StringGrid g;
        fill(g, rows);
        sortRecordsOn(g, col);
        literalSort(rows, col);
        ASSERT_EQ(contents(g), rows) << "round " << round << ", " << records << " records";
    }
}

TEST(SortRecords, MatchesTheLiteralSortOnALargerTableOfFewKeys) {
    std::mt19937 rng(99);
    std::vector<std::string> keys;
    for (int i = 0; i < 5000; ++i)
        keys.push_back(randomKey(rng, 6));
    Rows rows = keyed(keys);
    StringGrid g;
    fill(g, rows);
    sortRecordsOn(g, 1);
    literalSort(rows, 1);
    EXPECT_EQ(contents(g), rows);
}
