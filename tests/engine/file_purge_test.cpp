#include "engine/file_purge.h"

#include <atomic>
#include <filesystem>

#include "engine/purge_fixture.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"
#include "support/native_path.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

// Watches a file while it is purged: at every yield of the purge it reads the file and keeps each
// new content, so a test sees every overwrite that was complete before the next began. Once the
// file holds stopAt, it asks the purge to stop.
struct WatchingHost final : FilePurge::PurgeHost {
  explicit WatchingHost(std::string file) : path(std::move(file)) {}
  void Yield() override {
    const std::string content = ReadFile(path);
    if (contents.empty() || contents.back() != content) contents.push_back(content);
    if (content == stopAt) stop = true;
  }
  void FileDone() override { ++filesDone; }

  std::string path;
  std::vector<std::string> contents;
  int filesDone = 0;
  std::string stopAt = "(never)";
  std::atomic<bool> stop{false};
};

// Times in 100 ns ticks, the finest step that both systems keep.
const DiskTime kAccess{1000000000, 123456700}, kModification{1100000000, 987654300};
void SetKnownTimes(const std::string& path) { SetTimesOnDisk(path, {kAccess, kModification, false, {}}); }
// Read before a read of the file changes its access time.
bool HasKnownTimes(const std::string& path) {
  return TimesOnDisk(path).access == kAccess && TimesOnDisk(path).modification == kModification;
}

// An overwrite in the table below: a byte, or kRandom + n for the random cluster of pass n.
constexpr int kRandom = 256;

}  // namespace

TEST_F(PurgeTest, EachTypeWritesItsPatternsOverWholeClustersAndAKeptFileGetsBackLengthAndTimes) {
  const int R1 = kRandom + 1, R2 = kRandom + 2;
  // {length, type, passes, bytes a write (0: one cluster), every whole overwrite seen before the last
  // one, the last overwrite (cut back to the length)}
  const struct { std::size_t length; short type, passes; std::size_t runBytes; std::vector<int> overwrites;
                 int last; } cases[] = {
      {100, 2, 1, 0, {0xAA, 0x55, R1, 0x0A, 0xF5}, R1},  // slack included; both random overwrites the same
      {4096, 0, 2, 0, {'x', R1, 0, R2}, 0},               // a new random cluster every pass
      {0, 1, 1, 0, {0xAA, 0x55}, 0},                      // an empty file: one cluster
      // Runs of three clusters that do not divide the file evenly.
      {7 * 4096 + 1, 2, 1, 3 * 4096, {0xAA, 0x55, R1, 0x0A, 0xF5}, R1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const std::string path = WriteFile(folder / "a.bin", Repeat('x', c.length));
    SetKnownTimes(path);
    WatchingHost host(path);
    environment.host = &host;
    environment.writeRunBytes = c.runBytes;
    random.seeds = 0;

    EXPECT_EQ(Purge(path, c.type, c.passes, false), FilePurge::kPurged);
    EXPECT_TRUE(HasKnownTimes(path));
    const std::size_t clusters = std::max<std::size_t>(1, (c.length + 4095) / 4096);
    const auto whole = [&](const std::string& cluster) {  // the cluster over every cluster of the file
      std::string out;
      while (out.size() < clusters * 4096) out += cluster;
      return out;
    };
    const auto overwritten = [&](int overwrite) {
      return whole(overwrite >= kRandom ? RandomClusterOfPass(overwrite - kRandom)
                                        : Repeat(static_cast<char>(overwrite), 4096));
    };
    std::vector<std::string> expected, wholeSeen;  // wholeSeen: the contents that are one cluster over all
    for (const int overwrite : c.overwrites) expected.push_back(overwritten(overwrite));
    for (const std::string& seen : host.contents)
      if (!seen.empty() && seen == whole(seen.substr(0, 4096))) wholeSeen.push_back(seen);
    EXPECT_EQ(wholeSeen, expected);
    EXPECT_EQ(ReadFile(path), overwritten(c.last).substr(0, c.length));
    // The file is done once, and the generator seeded once for it.
    EXPECT_EQ(std::pair(host.filesDone, random.seeds), std::pair(1, 1));
  }
  ASSERT_NE(RandomClusterOfPass(1), RandomClusterOfPass(2));
}

TEST_F(PurgeTest, AStopNowEndsThePassAtItsNextWriteAndTheFileStaysWithItsLengthAndTimes) {
  // 12289 bytes: the first pass widens the file to four clusters, which it must not keep.
  const std::string path = WriteFile(folder / "big.dat", Repeat('x', 3 * 4096 + 1));
  SetKnownTimes(path);
  // Type 2 writes AA, 55, zeros; the stop comes when the second pass has written AA over two
  // clusters of the first pass's zeros.
  WatchingHost host(path);
  host.stopAt = Repeat('\xAA', 2 * 4096) + Repeat('\0', 2 * 4096);
  environment.abortNow = &host.stop;
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 2, true), FilePurge::kStoppedInPass);
  EXPECT_TRUE(HasKnownTimes(path));
  EXPECT_EQ(ReadFile(path), Repeat('\xAA', 2 * 4096) + Repeat('\0', 4097))
      << "nothing was written after the stop, and the length is the file's own";
}

TEST_F(PurgeTest, AFileThatCannotBeDeletedIsOverwrittenGetsItsLengthBackButNotItsTimes) {
  const std::string path = WriteFile(folder / "stuck.txt", Repeat('x', 5000));
  SetKnownTimes(path);
  const std::error_code busy = std::make_error_code(std::errc::device_or_resource_busy);
  int tries = 0;
  environment.deleteRetry.remove = [&tries, busy](auto&&...) { return ++tries, busy; };
  EXPECT_EQ(Purge(path, 1, 1, true), FilePurge::kNotDeleted);
  EXPECT_EQ(tries, 4);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 5000));
  EXPECT_NE(TimesOnDisk(path).modification, kModification);
}

TEST_F(PurgeTest, EveryRefusalComesBeforeAnythingIsWrittenOrCreatedAndAReadOnlyFileIsPurgedWhenAllowed) {
  const std::string path = WriteFile(folder / "t.txt", "untouched");
  const std::string readOnly = WriteFile(folder / "ro.txt", "keep me");
  MakeReadOnly(readOnly);
  const std::string inner = folder / "inner";
  MakeFolder(inner);
#ifdef _WIN32
  const std::string device = "NUL";
#else
  const std::string device = "/dev/null";
#endif
  const struct { std::string path; short type, passes, code; } rows[] = {
      {readOnly, 0, 1, FilePurge::kReadOnly},
      {path, 3, 1, FilePurge::kInvalidPurgeType},
      {path, -1, 1, FilePurge::kInvalidPurgeType},
      {path, 0, 0, FilePurge::kInvalidPurgeType},  // no pass: deleted unwritten
      {"", 0, 1, FilePurge::kEmptyName},
      {folder / "missing", 0, 1, FilePurge::kCannotOpenForWriting},
      {folder / NativePath("no folder/missing"), 0, 1, FilePurge::kCannotOpenForWriting},
      {inner, 0, 1, FilePurge::kNotARegularFile},
      {device, 0, 1, FilePurge::kNotARegularFile}};  // links and pipes: tried with the command line
  for (const auto& row : rows) EXPECT_EQ(Purge(row.path, row.type, row.passes, true), row.code) << row.path;
  EXPECT_EQ(ReadFile(readOnly), "keep me");
  EXPECT_TRUE(ReadOnlyOnDisk(readOnly));

  EXPECT_EQ(Purge(readOnly, 0, 1, false, true), FilePurge::kPurged);
  EXPECT_EQ(ReadFile(readOnly), Repeat('\0', 7));
  EXPECT_FALSE(ReadOnlyOnDisk(readOnly)) << "read-only is cleared and stays cleared";
#ifndef _WIN32
  // Only the owner's write permission comes back.
  EXPECT_EQ(fs::status(readOnly).permissions(), fs::perms(0644));
#endif
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(path, drive));
  for (const std::int32_t size : {1000, 131072, 1536 + 1}) {
    clusterSizes.Set(drive.root, size);
    EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kInvalidClusterSize) << size;
  }
  EXPECT_EQ(ReadFile(path), "untouched");
  EXPECT_FALSE(fs::exists(FileSystemPath(folder / "missing"))) << "nothing is created";
}
