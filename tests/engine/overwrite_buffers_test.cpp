#include "engine/overwrite_buffers.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/scripted_random.h"
#include "text/str_proc.h"

using FilePurge::BuildRandomCluster;
using TestSupport::ScriptedRandom;
using TestSupport::UnitFor;

TEST(RandomInteger, CoversBothEndsAndNothingBeyond) {
  ScriptedRandom random;
  random.script = {0.0, 0.999999999999, 0.5, 1.0 - 0x1.0p-53};
  for (const auto& [low, high, value] : {std::tuple{0, 255, 0}, {0, 255, 255}, {1, 4, 3}, {1, 1024, 1024}})
    EXPECT_EQ(StrProc::RandomInteger(low, high, random), value);
}

TEST(RandomCluster, GrowsFromPiecesOfItsFirstHalfAndIsCutToTheClusterSize) {
  ScriptedRandom random;
  for (int i = 0; i < 2048; ++i) random.script.push_back(UnitFor(i % 256, 0, 255));
  // First piece: from byte 1, 1024 bytes long (half of 2048 is 1024); second piece: from byte 100,
  // 1536 bytes long (half of 3072 is 1536).
  for (const auto& [value, half] : {std::pair{1, 1024}, {1024, 1024}, {100, 1536}, {1536, 1536}})
    random.script.push_back(UnitFor(value, 1, half));

  std::vector<unsigned char> cluster;
  BuildRandomCluster(cluster, 4096, random);

  std::vector<unsigned char> expected;
  for (int i = 0; i < 2048; ++i) expected.push_back(static_cast<unsigned char>(i % 256));
  expected.insert(expected.end(), expected.begin(), expected.begin() + 1024);
  const std::vector<unsigned char> piece(expected.begin() + 99, expected.begin() + 99 + 1536);
  expected.insert(expected.end(), piece.begin(), piece.end());
  expected.resize(4096);

  EXPECT_EQ(cluster, expected);
  EXPECT_TRUE(random.script.empty()) << "the cluster used more or fewer numbers than scripted";
}
