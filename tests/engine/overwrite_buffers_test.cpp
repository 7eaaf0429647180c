#include "engine/overwrite_buffers.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_random.h"
#include "text/str_proc.h"

using FilePurge::BuildRandomCluster;
using FilePurge::ClusterBuffers;
using TestSupport::ScriptedRandom;
using TestSupport::UnitFor;

TEST(RandomInteger, CoversBothEndsAndNothingBeyond) {
  ScriptedRandom random;
  random.script = {0.0, 0.999999999999, 0.5, 1.0 - 0x1.0p-53};
  EXPECT_EQ(StrProc::RandomInteger(0, 255, random), 0);
  EXPECT_EQ(StrProc::RandomInteger(0, 255, random), 255);
  EXPECT_EQ(StrProc::RandomInteger(1, 4, random), 3);
  EXPECT_EQ(StrProc::RandomInteger(1, 1024, random), 1024);
}

TEST(RandomCluster, GrowsFromPiecesOfItsFirstHalfAndIsCutToTheClusterSize) {
  ScriptedRandom random;
  for (int i = 0; i < 2048; ++i) random.script.push_back(UnitFor(i % 256, 0, 255));
  // First piece: from byte 1, 1024 bytes long (half of 2048 is 1024).
  random.script.push_back(UnitFor(1, 1, 1024));
  random.script.push_back(UnitFor(1024, 1, 1024));
  // Second piece: from byte 100, 1536 bytes long (half of 3072 is 1536).
  random.script.push_back(UnitFor(100, 1, 1536));
  random.script.push_back(UnitFor(1536, 1, 1536));

  std::vector<unsigned char> cluster;
  BuildRandomCluster(cluster, 4096, random);

  std::vector<unsigned char> expected;
  for (int i = 0; i < 2048; ++i) expected.push_back(static_cast<unsigned char>(i % 256));
  expected.insert(expected.end(), expected.begin(), expected.begin() + 1024);
  const std::vector<unsigned char> piece(expected.begin() + 99, expected.begin() + 99 + 1536);
  expected.insert(expected.end(), piece.begin(), piece.end());
  expected.resize(4096);

  ASSERT_EQ(cluster.size(), 4096u);
  EXPECT_EQ(cluster, expected);
  EXPECT_TRUE(random.script.empty()) << "the cluster used more or fewer numbers than scripted";
}

TEST(ClusterBuffers, EachPatternCodeSelectsItsByteAndAnyOtherCodeTheRandomBytes) {
  ScriptedRandom random;
  random.Seed();
  ClusterBuffers buffers;
  buffers.Build(4096, random);
  ASSERT_EQ(buffers.ClusterSize(), 4096u);
  const std::pair<short, unsigned char> fixed[] = {
      {0, 0x00}, {10, 0x0A}, {85, 0x55}, {170, 0xAA}, {245, 0xF5}};
  for (const auto& [code, byte] : fixed)
    EXPECT_EQ(buffers.ForPattern(code), std::vector<unsigned char>(4096, byte)) << code;
  EXPECT_EQ(&buffers.ForPattern(256), &buffers.ForPattern(7));
  ScriptedRandom again;
  again.Seed();
  std::vector<unsigned char> expectedRandom;
  BuildRandomCluster(expectedRandom, 4096, again);
  EXPECT_EQ(buffers.ForPattern(256), expectedRandom);
  buffers.Build(65536, random);
  EXPECT_EQ(buffers.ForPattern(256).size(), 65536u) << "the largest cluster is filled wholly";
}
