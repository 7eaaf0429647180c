#include "engine/cluster_size.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A drive table whose system answers come from a list, counting the questions.
struct FakeSystem {
  std::map<std::string, std::int64_t> answers;
  std::map<std::string, int> questions;
  DriveClusterSize Table() {
    return DriveClusterSize([this](const std::string& root, double& freeBytes) {
      ++questions[root];
      const std::int64_t answer = answers.at(root);
      freeBytes = answer > 0 ? 123456789.0 : -1;
      return answer;
    });
  }
};

Platform::DriveInfo Drive(const std::string& root, bool floppy = false) {
  Platform::DriveInfo drive;
  drive.root = root;
  drive.floppy = floppy;
  return drive;
}

}  // namespace

TEST(GetClusterSize, AsksTheSystemOnceAndThenAnswersFromTheTable) {
  FakeSystem system;
  system.answers["/data"] = 8192;
  DriveClusterSize table = system.Table();
  double freeBytes = 0;
  EXPECT_EQ(table.GetClusterSize(Drive("/data"), &freeBytes), 8192);
  EXPECT_EQ(freeBytes, 123456789.0);
  freeBytes = 42;
  EXPECT_EQ(table.GetClusterSize(Drive("/data"), &freeBytes), 8192);
  EXPECT_EQ(freeBytes, 42) << "a cached answer leaves the free space untouched";
  EXPECT_EQ(system.questions["/data"], 1);
}

TEST(GetClusterSize, UnansweredDrivesFallBackLargeClustersAreCutAndTheUsersValueIsUsed) {
  FakeSystem system;
  system.answers = {{"/media/floppy", -1}, {"/media/cdrom", -1}, {"/tiny", -2},
                    {"/big", 131072}, {"/data", 4096}};
  DriveClusterSize table = system.Table();
  EXPECT_EQ(table.GetClusterSize(Drive("/media/floppy", true)), 512);
  EXPECT_EQ(table.GetClusterSize(Drive("/media/cdrom")), 4096);
  EXPECT_EQ(table.GetClusterSize(Drive("/tiny")), 4096);
  EXPECT_EQ(table.GetClusterSize(Drive("/media/cdrom")), 4096);
  EXPECT_EQ(system.questions["/media/cdrom"], 1) << "the fallback is kept";
  EXPECT_EQ(table.Known("/media/floppy"), 512);
  EXPECT_EQ(table.GetClusterSize(Drive("/big")), 65536);

  table.Set("/data", 16384);
  EXPECT_EQ(table.GetClusterSize(Drive("/data")), 16384);
  table.Set("/data", 100);  // below 512: unknown
  EXPECT_EQ(table.GetClusterSize(Drive("/data")), 4096);
  EXPECT_EQ(system.questions["/data"], 1);
}
