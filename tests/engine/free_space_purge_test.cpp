#include "engine/free_space_purge.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "engine/cluster_size.h"
#include "platform/paths.h"
#include "support/file_setup.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

using namespace TestSupport;
using FreeSpacePurge::Ending;
using FreeSpacePurge::Leftover;
using FreeSpacePurge::kMarkerName;
using FreeSpacePurge::kMarkerText;
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kCluster = 4096;
// Room for ten clusters and 1000 bytes: the last fill file ends within a cluster.
constexpr std::int64_t kRoom = 10 * kCluster + 1000;
const std::error_code kFull = std::make_error_code(std::errc::no_space_on_device);
const std::error_code kIoError = std::make_error_code(std::errc::io_error);

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(FileSystemPath(folder)))
    names.insert(Utf8Path(entry.path().filename()));
  return names;
}

// A drive with room for `room` bytes: a write beyond it takes what is left and fails with `full`,
// or the room is reserved ahead where `reserves`. The host records the fill files' contents after
// each overwrite and stops the purge, or fails a write, where a test asks.
class SmallDrive final : public FreeSpacePurge::FillHost {
 public:
  SmallDrive(DriveClusterSize& sizes, RandomSource& random) : environment(sizes, random) {
    environment.host = this;
    environment.writeRunBytes = environment.largestFillFile = 4 * kCluster;
    environment.maxOpenFiles = 2;  // the third file is opened again for each overwrite
    environment.reserve = [this](Platform::FileHandle&, std::int64_t, std::int64_t length) {
      if (!reserves) return std::make_error_code(std::errc::operation_not_supported);
      if (length > room) return full;
      room -= length;
      return std::error_code();
    };
    environment.write = [this](Platform::FileHandle& file, const void* data, std::size_t size) {
      if (failAt == std::pair{overwrite, ++writes}) return kIoError;
      if (overwrite > 1 || reserves) return file.WriteAll(data, size);
      const auto take = static_cast<std::size_t>(std::min<std::int64_t>(room, size));
      room -= static_cast<std::int64_t>(take);
      if (const std::error_code error = file.WriteAll(data, take)) return error;
      return take < size ? full : std::error_code();
    };
    environment.querySpace = [this](const std::string&, Platform::DriveSpace& space) {
      space = {kCluster, room, room + 2 * kCluster};  // cluster size, available, free bytes
      return std::error_code();
    };
  }

  void OverwriteStarted(short number, short, std::int64_t) override {
    overwrite = number;
    writes = 0;
  }
  void OverwriteDone(short, std::int64_t, int) override {
    std::map<std::string, std::string>& now = contents.emplace_back();
    for (const std::string& name : Names(dummy)) now[name] = ReadFile(JoinPath(dummy, name));
  }
  bool StopRequested() override { return overwrite == stopAt; }
  void FolderMade(const std::string& path) override { dummy = path; }
  void FolderRemoved(const std::string& path) override { removed = path; }

  FreeSpacePurge::Environment environment;
  bool reserves = false;
  std::int64_t room = kRoom;
  std::error_code full = kFull;
  std::pair<short, int> failAt{0, 0};  // the overwrite and its write call that fails
  short stopAt = 0, overwrite = 0;
  int writes = 0;
  std::string dummy, removed;
  std::vector<std::map<std::string, std::string>> contents;
};

class FreeSpacePurgeTest : public ::testing::Test {
 protected:
  // A dummy folder as a run leaves it when the program is ended mid-run.
  std::string MakeLeftover(const std::string& name, const std::string& markerText) {
    const std::string path = folder / name;
    MakeFolder(path);
    WriteFile(JoinPath(path, "_kx_dummy1"), Repeat('\xAA', 5000));
    WriteFile(JoinPath(path, "_kx_dummy2"), Repeat('\xAA', 100));
    if (!markerText.empty()) WriteFile(JoinPath(path, kMarkerName), markerText);
    return path;
  }

  TempFolder folder;
  DriveClusterSize sizes{[](const std::string&, double&) { return std::int64_t{kCluster}; }};
  ScriptedRandom random;
  SmallDrive drive{sizes, random};
};

// The room found by the writes themselves, or reserved ahead of them: the same fill.
class FillTest : public FreeSpacePurgeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FillTest, FillsTheDriveThenOverwritesTheSameFilesInPlaceAndDeletesThemAll) {
  // Room is reserved in whole clusters; the writes take the part of one that is left too.
  drive.reserves = GetParam();
  const std::int64_t room = drive.room = drive.reserves ? 10 * kCluster : kRoom;
  const std::string leftover = MakeLeftover("_kx_dummy1", kMarkerText);
  const std::string notOurs = MakeLeftover("_kx_dummy2", "");
  const auto outcome = FreeSpacePurge::Run(folder.Path(), 1, 1, drive.environment);

  // {ending, filled bytes, bytes written, overwrites done, fill files, free space when full, removed}
  EXPECT_EQ(std::tuple(outcome.ending, outcome.filledBytes, outcome.bytesWritten, outcome.overwritesDone,
                       outcome.fillFiles, outcome.fullKnown, outcome.full.availableBytes, outcome.removed),
            std::tuple(Ending::Full, room, 3 * room, 3, 3, true, 0, true));
  // The bytes and files of each overwrite are the report's, tried with the run.
  // Files of at most four clusters, 10101010, 01010101, then 00000000; the last one takes the
  // part of a cluster that was left.
  std::vector<std::map<std::string, std::string>> expected;
  for (const char byte : {'\xAA', '\x55', '\0'})
    expected.push_back({{kMarkerName, kMarkerText}, {"_kx_dummy1", Repeat(byte, 4 * kCluster)},
                        {"_kx_dummy2", Repeat(byte, 4 * kCluster)},
                        {"_kx_dummy3", Repeat(byte, room - 8 * kCluster)}});
  EXPECT_EQ(drive.contents, expected);
  // The run's folder was made where the cut-short one was removed; the one without the marker
  // is left as it was.
  EXPECT_EQ(std::pair(drive.dummy, drive.removed), std::pair(leftover, leftover));
  EXPECT_EQ(Names(folder.Path()), std::set<std::string>{"_kx_dummy2"});
  EXPECT_EQ(Names(notOurs), (std::set<std::string>{"_kx_dummy1", "_kx_dummy2"}));
}

INSTANTIATE_TEST_SUITE_P(Room, FillTest, ::testing::Values(false, true));

TEST_F(FreeSpacePurgeTest, TheRandomOverwriteRepeatsOneRandomClusterFromEachFilesStart) {
  ASSERT_EQ(FreeSpacePurge::Run(folder.Path(), 0, 1, drive.environment).ending, Ending::Full);
  ASSERT_EQ(drive.contents.size(), 2u);
  // The last file's first cluster is not one byte repeated, and every cluster of every file is it.
  const std::string cluster = drive.contents[0].at("_kx_dummy3").substr(0, kCluster);
  EXPECT_NE(cluster, Repeat(cluster[0], kCluster));
  for (const auto& [name, content] : drive.contents[0])
    for (std::size_t at = 0; at < content.size() && name != kMarkerName; at += kCluster)
      ASSERT_EQ(content.substr(at, kCluster), cluster.substr(0, content.size() - at)) << name;
}

// However the purge ends, nothing of it is left behind. The drive full of the fill test is the
// first of the endings.
TEST_F(FreeSpacePurgeTest, EveryEndingLeavesNothingBehind) {
#ifdef _WIN32
  const std::error_code quota{1295 /* ERROR_DISK_QUOTA_EXCEEDED */, std::system_category()};
#else
  const std::error_code quota{EDQUOT, std::generic_category()};
#endif
  // {what a write beyond the room fails with, the overwrite and its write call that fails with an
  // I/O error, the overwrite in which the user stops, the ending, the overwrites done}
  struct Row { std::error_code full; std::pair<short, int> failAt; short stopAt; Ending ending; short done; };
  const Row rows[] = {{quota, {}, 0, Ending::QuotaReached, 6},  // the overwrites go on
                      {kFull, {1, 2}, 0, Ending::WriteFailed, 0},
                      {kFull, {4, 3}, 0, Ending::WriteFailed, 3},
                      {kFull, {}, 1, Ending::Stopped, 0},
                      {kFull, {}, 2, Ending::Stopped, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(&row - rows));
    TempFolder where;
    SmallDrive small{sizes, random};
    small.full = row.full;
    small.failAt = row.failAt;
    small.stopAt = row.stopAt;
    const auto outcome = FreeSpacePurge::Run(where.Path(), 1, 2, small.environment);
    const std::error_code error = row.ending == Ending::WriteFailed ? kIoError : std::error_code();
    EXPECT_EQ(std::tuple(outcome.ending, outcome.error, outcome.overwritesDone, outcome.overwrites,
                         outcome.removed),
              std::tuple(row.ending, error, row.done, 6, true));
    EXPECT_EQ(small.removed, where / "_kx_dummy1");
    EXPECT_TRUE(Names(where.Path()).empty());
  }
}

// A dummy folder that an interrupted purge left, as the next start finds it; the fill test has the
// program's own removed and one without a marker kept.
TEST_F(FreeSpacePurgeTest, OnlyTheProgramsOwnLeftoverFolderIsEmptiedAndRemoved) {
  const std::set<std::string> untouched{"_kx_dummy1", "_kx_dummy2", kMarkerName};
  // {the marker's text, an entry of the user's in the folder ("my notes.txt" a file, a name longer
  // than the fill files' own; else a link), a purge holds the marker now, the answer, the folder's
  // entries afterwards}
  struct Row { std::string marker, user; bool held; Leftover what; std::set<std::string> remaining; };
  std::vector<Row> rows = {{"Not the program's.", "", false, Leftover::NotOurs, untouched},
                           {kMarkerText, "my notes.txt", false, Leftover::OthersKept, {"my notes.txt"}},
                           {kMarkerText, "", true, Leftover::InUse, untouched}};
#ifndef _WIN32
  // A link under a fill file's name is not the program's either.
  rows.push_back({kMarkerText, "_kx_dummy3", false, Leftover::OthersKept, {"_kx_dummy3"}});
#endif
  std::error_code error;
  for (const auto& row : rows) {
    const std::string path = MakeLeftover("_kx_dummy1" + std::to_string(&row - rows.data()), row.marker);
    SCOPED_TRACE(path);
    if (row.user == "my notes.txt") WriteFile(JoinPath(path, row.user), "mine");
    if (row.user.starts_with("_kx")) fs::create_symlink(folder / "elsewhere", JoinPath(path, row.user));
    Platform::FolderHandle handle;
    Platform::FileHandle holder;
    if (row.held) {
      ASSERT_FALSE(handle.Open(path));
      ASSERT_FALSE(holder.OpenForWriting(handle, kMarkerName));
      ASSERT_FALSE(holder.TryLock());
    }
    EXPECT_EQ(FreeSpacePurge::RemoveLeftoverFolder(path, error), row.what);
    EXPECT_FALSE(error) << error.message();
    EXPECT_EQ(Names(path), row.remaining);
  }
  EXPECT_EQ(FreeSpacePurge::RemoveLeftoverFolder(folder / "_kx_dummy9", error), Leftover::Missing);
}

}  // namespace
