#pragma once

#include <cstddef>
#include <span>
#include <vector>

class RandomSource;

namespace FilePurge {

// Pattern codes of one overwrite: a buffer of that byte value, or random bytes.
inline constexpr short kPatternZeros = 0;
inline constexpr short kPattern0A = 10;
inline constexpr short kPattern55 = 85;
inline constexpr short kPatternAA = 170;
inline constexpr short kPatternF5 = 245;
inline constexpr short kPatternRandom = 256;

// The overwrites of one pass of a purge type, in the order they are written; empty for a type
// other than 0, 1 or 2.
std::span<const short> OverwriteSequence(short purgeType);

// The six buffers of one cluster each that a pass writes from.
class ClusterBuffers {
 public:
  // Fills the five fixed buffers and makes a new random one, for clusters of clusterSize bytes.
  void Build(std::size_t clusterSize, RandomSource& random);

  // The buffer for a pattern code; any code that is not a byte pattern selects the random bytes.
  const std::vector<unsigned char>& ForPattern(short patternCode) const;

  std::size_t ClusterSize() const { return zeros_.size(); }

 private:
  std::vector<unsigned char> zeros_, x0A_, x55_, xAA_, xF5_, random_;
};

// The random cluster: 2048 random bytes, then pieces of itself appended (each from a random
// start within its first half, of a random length up to half its length) until it is at least
// clusterSize long, then cut to clusterSize bytes.
void BuildRandomCluster(std::vector<unsigned char>& buffer, std::size_t clusterSize,
                        RandomSource& random);

}  // namespace FilePurge
