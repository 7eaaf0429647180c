#include "engine/cluster_size.h"

#include <gtest/gtest.h>

#include <map>

// The system's answers come from a list (below zero: no answer); its questions are counted.
TEST(GetClusterSize, AsksOnceFallsBackWithoutAnAnswerCutsLargeClustersAndTakesTheUsersValue) {
  const std::map<std::string, std::int64_t> answers{
      {"/media/floppy", -1}, {"/media/cdrom", -1}, {"/tiny", -2}, {"/big", 131072}, {"/data", 8192}};
  std::map<std::string, int> questions;
  DriveClusterSize table([&](const std::string& root, double& freeBytes) {
    ++questions[root];
    freeBytes = answers.at(root) > 0 ? 123456789.0 : -1;
    return answers.at(root);
  });
  const auto drive = [](const char* root, bool floppy = false) {
    return Platform::DriveInfo{root, {}, {}, {}, {}, floppy};
  };
  double freeBytes = 0;
  EXPECT_EQ(table.GetClusterSize(drive("/data"), &freeBytes), 8192);
  EXPECT_EQ(freeBytes, 123456789.0);
  freeBytes = 42;
  EXPECT_EQ(table.GetClusterSize(drive("/data"), &freeBytes), 8192);
  EXPECT_EQ(freeBytes, 42) << "a cached answer leaves the free space untouched";
  EXPECT_EQ(table.GetClusterSize(drive("/media/floppy", true)), 512);
  EXPECT_EQ(table.GetClusterSize(drive("/tiny")), 4096);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(table.GetClusterSize(drive("/media/cdrom")), 4096);
  EXPECT_EQ(table.GetClusterSize(drive("/big")), 65536);
  table.Set("/data", 16384);
  EXPECT_EQ(table.GetClusterSize(drive("/data")), 16384);
  table.Set("/data", 100);  // below 512: unknown, the system is asked again
  EXPECT_EQ(table.GetClusterSize(drive("/data")), 8192);
  // A fallback is kept: each drive was asked once, but for the user's unknown value.
  const std::map<std::string, int> asked{
      {"/big", 1}, {"/data", 2}, {"/media/cdrom", 1}, {"/media/floppy", 1}, {"/tiny", 1}};
  EXPECT_EQ(questions, asked);
}
