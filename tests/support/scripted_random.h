#pragma once

#include <cstdint>
#include <deque>

#include "text/random_source.h"

namespace TestSupport {

// A reproducible random source: it hands out the scripted numbers first, then numbers of a
// simple generator that every Seed() starts again from the same state. It counts the seeds.
class ScriptedRandom final : public RandomSource {
 public:
  void Seed() override {
    ++seeds;
    state_ = 0x9E3779B97F4A7C15ull;
  }
  double NextUnit() override {
    if (!script.empty()) {
      const double value = script.front();
      script.pop_front();
      return value;
    }
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state_ >> 11) * 0x1.0p-53;
  }

  std::deque<double> script;
  int seeds = 0;

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// The number in [0, 1) that makes RandomInteger(low, high) give value.
inline double UnitFor(int value, int low, int high) {
  return (static_cast<double>(value - low) + 0.5) / static_cast<double>(high - low + 1);
}

}  // namespace TestSupport
