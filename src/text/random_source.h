#pragma once

#include <random>

// Where the random numbers of the program come from: the overwrite buffers of a purge and the
// lengths of the speed test's dummy files. Tests put a scripted source in its place.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Starts a new sequence; a purge does this once per file.
  virtual void Seed() = 0;
  // The next number, uniform in [0, 1).
  virtual double NextUnit() = 0;
};

// The program's own source: a 64-bit Mersenne twister, seeded from the system's entropy source
// and the clock.
class SystemRandomSource final : public RandomSource {
 public:
  SystemRandomSource();
  void Seed() override;
  double NextUnit() override;

 private:
  std::mt19937_64 engine_;
};
