#pragma once
// ORDER BY. Users see the order of equal rows in the grid and on the printed
// sheets, so it must come out exactly as this procedure leaves it:
//
// 1. all rows are sorted by the first key with the quicksort below (a fixed
//    pivot value taken from the middle position, Hoare-style exchanges);
// 2. for every further key k, each run of consecutive rows whose earlier keys,
//    turned into texts and joined, are equal is sorted by key k alone with the
//    same quicksort.
//
// The quicksort is not stable; any other sort (std::sort, std::stable_sort)
// would show ties in another order.

#include "store/sql/ResultSet.h"

#include <vector>

namespace etibarix::store::sql {

struct SortSpec {
    int column = 0;
    bool descending = false;
};

class RowSorter {
public:
    // The new order of the rows: element i is the old index of row i.
    static std::vector<int> order(const ResultSet &rows, const std::vector<SortSpec> &keys);
    static void sort(ResultSet &rows, const std::vector<SortSpec> &keys);
};

} // namespace etibarix::store::sql
