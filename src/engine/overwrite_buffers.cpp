#include "engine/overwrite_buffers.h"

#include <array>
#include <cmath>
#include <cstring>

#include "text/random_source.h"
#include "text/str_proc.h"

namespace FilePurge {
namespace {

constexpr std::array<short, 2> kType0{kPatternRandom, kPatternZeros};
constexpr std::array<short, 3> kType1{kPatternAA, kPattern55, kPatternZeros};
constexpr std::array<short, 6> kType2{kPatternAA, kPattern55, kPatternRandom,
                                      kPattern0A, kPatternF5, kPatternRandom};

constexpr std::size_t kRandomSeedBytes = 2048;

// Half of a length, rounded to the nearest integer (halves to the even neighbour).
int HalfRounded(std::size_t length) {
  return static_cast<int>(std::lrint(static_cast<double>(length) / 2.0));
}

}  // namespace

std::span<const short> OverwriteSequence(short purgeType) {
  switch (purgeType) {
    case 0:
      return kType0;
    case 1:
      return kType1;
    case 2:
      return kType2;
    default:
      return {};
  }
}

void BuildRandomCluster(std::vector<unsigned char>& buffer, std::size_t clusterSize,
                        RandomSource& random) {
  buffer.clear();
  buffer.reserve(clusterSize + clusterSize / 2 + kRandomSeedBytes + 1);
  for (std::size_t i = 0; i < kRandomSeedBytes; ++i)
    buffer.push_back(static_cast<unsigned char>(StrProc::RandomInteger(0, 255, random)));
  while (buffer.size() < clusterSize) {
    const int half = HalfRounded(buffer.size());
    const auto start = static_cast<std::size_t>(StrProc::RandomInteger(1, half, random));
    const auto length = static_cast<std::size_t>(StrProc::RandomInteger(1, half, random));
    // start - 1 + length never passes the current end, so the piece is whole and the copy
    // does not overlap the bytes it appends.
    const std::size_t oldSize = buffer.size();
    buffer.resize(oldSize + length);
    std::memcpy(buffer.data() + oldSize, buffer.data() + (start - 1), length);
  }
  buffer.resize(clusterSize);
}

void ClusterBuffers::Build(std::size_t clusterSize, RandomSource& random) {
  zeros_.assign(clusterSize, 0x00);
  x0A_.assign(clusterSize, 0x0A);
  x55_.assign(clusterSize, 0x55);
  xAA_.assign(clusterSize, 0xAA);
  xF5_.assign(clusterSize, 0xF5);
  BuildRandomCluster(random_, clusterSize, random);
}

const std::vector<unsigned char>& ClusterBuffers::ForPattern(short patternCode) const {
  switch (patternCode) {
    case kPatternZeros:
      return zeros_;
    case kPattern0A:
      return x0A_;
    case kPattern55:
      return x55_;
    case kPatternAA:
      return xAA_;
    case kPatternF5:
      return xF5_;
    default:
      return random_;
  }
}

}  // namespace FilePurge
