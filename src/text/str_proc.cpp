#include "text/str_proc.h"

#include <cmath>

#include "text/random_source.h"

namespace StrProc {

int RandomInteger(int low, int high, RandomSource& random) {
  const double span = static_cast<double>(high) - static_cast<double>(low) + 1.0;
  const int value = static_cast<int>(std::floor(span * random.NextUnit())) + low;
  // A source that returns a number a hair below 1 could round up to high + 1 in the product.
  // (An empty range, high = low - 1, gives low, as the formula does.)
  return span >= 1.0 && value > high ? high : value;
}

}  // namespace StrProc
