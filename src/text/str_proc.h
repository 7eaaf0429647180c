#pragma once

class RandomSource;

namespace StrProc {

// A uniformly drawn integer from low to high inclusive: the whole part of
// (high - low + 1) x a random number in [0, 1), plus low.
int RandomInteger(int low, int high, RandomSource& random);

}  // namespace StrProc
