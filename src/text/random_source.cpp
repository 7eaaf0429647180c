#include "text/random_source.h"

#include <chrono>
#include <cstdint>

SystemRandomSource::SystemRandomSource() {
  Seed();
}

void SystemRandomSource::Seed() {
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seeds{device(),
                      device(),
                      device(),
                      device(),
                      static_cast<std::uint32_t>(now),
                      static_cast<std::uint32_t>(now >> 32)};
  engine_.seed(seeds);
}

double SystemRandomSource::NextUnit() {
  // 53 random bits make every double in [0, 1) of that spacing equally likely.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}
