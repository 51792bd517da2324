#pragma once

#include "grid/core/cellrules.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Header sorting of the grid: the comparison of two rows and a stable O(n log n) sort that puts
// the rows in exactly the order a pass-until-no-exchange bubble sort over neighbouring pairs
// would, for any consistent comparison: equal keys keep their order, and rows without a row
// object (or, without object use, with an empty text) end up last in either direction.
namespace kovanta::grid {

// One row of the range being sorted: its text in the sorted column and its row object.
struct SortEntry {
    std::string_view text;
    const void* object = nullptr;
};

struct SortSettings {
    SortType type = SortType::Text;
    int sortArt = 0;        // 0 ascending, 1 descending, 2/3 by day and month (dates)
    bool objectUsed = true; // rows without row object go last
};

// The comparison of one neighbouring pair, upper entry first: true when the pair is out of
// order and would be exchanged.
bool outOfOrder(std::string_view tx1, std::string_view tx2, const void* obj1, const void* obj2,
                SortType type, int sortArt, bool objectUsed);

// The date key: the text split at '.' into day, month and rest; year first ("rest month day")
// for sortArt 0/1, day of year first ("month day rest") for 2/3.
std::string dateSortKey(std::string_view text, int sortArt);

// Called before every comparison, with the work-list position of the upper entry; it may
// change every value, and the changed values are compared.
using SortCompareHook =
    std::function<void(int upperPosition, std::string& tx1, std::string& tx2, const void*& obj1,
                       const void*& obj2, int& sortType, int& sortArt)>;

// The new order of the entries: element i is the index (into entries) of the entry that goes
// to place i. With a hook every comparison goes through it; without one the keys are computed
// once per row.
std::vector<int> sortOrder(const std::vector<SortEntry>& entries, const SortSettings& settings,
                           const SortCompareHook& hook = {});

// The header double-click cycle of SortTyp: '0' -> '1'; '1' -> '2' for date columns, else '0';
// '2' -> '3'; '3' -> '0'.
char nextSortTyp(char sortTyp, char datenTyp);

} // namespace kovanta::grid
