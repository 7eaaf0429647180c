#pragma once

// QuickSort: the program's own sort of string lists, in place.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace QuickSort {

// Sorts the indexes low to high (both included) of a sequence that the caller holds: less(i, j)
// compares the items at i and j, swap(i, j) exchanges them. The partition runs in place around a
// middle pivot; the smaller part is sorted first, so the depth of recursion stays small.
void SortRange(std::ptrdiff_t low, std::ptrdiff_t high,
               const std::function<bool(std::ptrdiff_t, std::ptrdiff_t)>& less,
               const std::function<void(std::ptrdiff_t, std::ptrdiff_t)>& swap);

// Sorts items[low..high] ascending by the text from fromPosition (0-based) on; with ignoreCase the
// texts are compared lower-cased as the file-name matching lower-cases them. Indexes outside the
// list are brought inside it.
void SortStrings(std::vector<std::string>& items, std::ptrdiff_t low, std::ptrdiff_t high,
                 std::size_t fromPosition, bool ignoreCase);

}  // namespace QuickSort
