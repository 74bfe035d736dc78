#pragma once
// Sorting the records on one field: a gap-halving exchange sort. The gap runs N/2, N/4, ... 1;
// at each gap, passes compare every record with the one `gap` rows further down and exchange
// the two when the first key is greater, until a pass exchanges nothing. Records with equal keys
// end in whatever order those exchanges leave them; saved tables carry that order, so we keep
// it exactly. Keys compare as unsigned bytes, a proper prefix first, no case folding.
//
// How it is computed fast: the passes at one gap touch each chain of rows `gap` apart on its
// own, as a bubble sort does, and a bubble sort that only exchanges strictly greater keys is
// stable. So each stage is exactly a stable sort of every chain. We rank the keys once, then run
// each stage as an insertion sort while the chains are short, as one counting sort of the ranks
// once they are long, and move the rows of the grid once at the end.
// Qt-free.

#include "platform/StringGrid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tablor {

// The rank of every key: equal texts share a rank, and ranks follow the byte order of the texts
// (0 for the smallest text).
std::vector<std::uint32_t> keyRanks(std::span<const CellWord> keys);

// The order the exchange sort leaves for these key ranks: entry i is the index, before the sort,
// of the record that ends at place i (both counted from 0).
std::vector<int> exchangeSortOrder(std::span<const std::uint32_t> ranks);

// Sorts the records of the grid on column `col`; row 0, the field names, stays in place.
// The current cell and the selection are left alone.
void sortRecordsOn(StringGrid& grid, int col);

} // namespace tablor
