#include "targets/quick_sort.h"

#include <algorithm>
#include <utility>

#include "targets/matching.h"

namespace QuickSort {

void SortRange(std::ptrdiff_t low, std::ptrdiff_t high,
               const std::function<bool(std::ptrdiff_t, std::ptrdiff_t)>& less,
               const std::function<void(std::ptrdiff_t, std::ptrdiff_t)>& swap) {
  while (low < high) {
    // The middle item is the pivot: it waits at the end while the smaller items gather in front.
    const std::ptrdiff_t middle = low + (high - low) / 2;
    swap(middle, high);
    std::ptrdiff_t store = low;
    for (std::ptrdiff_t i = low; i < high; ++i) {
      if (less(i, high)) {
        if (i != store) swap(i, store);
        ++store;
      }
    }
    if (store != high) swap(store, high);
    if (store - low < high - store) {
      SortRange(low, store - 1, less, swap);
      low = store + 1;
    } else {
      SortRange(store + 1, high, less, swap);
      high = store - 1;
    }
  }
}

void SortStrings(std::vector<std::string>& items, std::ptrdiff_t low, std::ptrdiff_t high,
                 std::size_t fromPosition, bool ignoreCase) {
  if (items.empty()) return;
  const auto last = static_cast<std::ptrdiff_t>(items.size()) - 1;
  low = std::clamp<std::ptrdiff_t>(low, 0, last);
  high = std::clamp<std::ptrdiff_t>(high, 0, last);
  std::vector<std::string> keys(items.size());
  for (std::ptrdiff_t i = low; i <= high; ++i) {
    const std::string& item = items[static_cast<std::size_t>(i)];
    const std::string tail = fromPosition < item.size() ? item.substr(fromPosition) : std::string();
    keys[static_cast<std::size_t>(i)] = ignoreCase ? LowerCaseForMatching(tail) : tail;
  }
  SortRange(
      low, high,
      [&](std::ptrdiff_t a, std::ptrdiff_t b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
      },
      [&](std::ptrdiff_t a, std::ptrdiff_t b) {
        std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
        std::swap(items[static_cast<std::size_t>(a)], items[static_cast<std::size_t>(b)]);
      });
}

}  // namespace QuickSort
