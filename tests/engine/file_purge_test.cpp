#include "engine/file_purge.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <atomic>
#include <filesystem>

#include "engine/purge_fixture.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

std::string Cluster(char byte) {
  return Repeat(byte, 4096);
}

std::string Clusters(const std::string& cluster, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += cluster;
  return out;
}

// The finest times each system keeps: nanoseconds on POSIX, 100 ns ticks on Windows.
#ifdef _WIN32
constexpr std::int32_t kAccessNanoseconds = 123456700;
constexpr std::int32_t kModificationNanoseconds = 987654300;
#else
constexpr std::int32_t kAccessNanoseconds = 123456789;
constexpr std::int32_t kModificationNanoseconds = 987654321;
#endif

// A device that is there on every machine.
#ifdef _WIN32
const std::string kNullDevice = "NUL";
#else
const std::string kNullDevice = "/dev/null";
#endif

#ifndef _WIN32
// The permission bits of the entry itself.
unsigned ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}
#endif

}  // namespace

// --- What is written -------------------------------------------------------------------------

TEST_F(PurgeTest, TypeTwoWritesAAThen55ThenZerosOverWholeClustersAndRestoresTheLength) {
  const std::string path = WriteFile(folder / "letter.txt", Repeat('x', 5000));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged);

  // 5000 bytes on 4096-byte clusters: two clusters, the slack up to 8192 bytes included.
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters(Cluster('\xAA'), 2), Clusters(Cluster('\x55'), 2)}));
  EXPECT_EQ(ReadFile(path), Repeat('\0', 5000)) << "the last overwrite is zeros, cut to 5000";
  EXPECT_EQ(host.filesDone, 1);
}

TEST_F(PurgeTest, TypeOneWritesRandomBytesThenZeros) {
  const std::string path = WriteFile(folder / "a.bin", Repeat('x', 4096 * 3));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 0, 1, false), FilePurge::kPurged);

  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Repeat('x', 4096 * 3), Clusters(RandomClusterOfPass(1), 3)}));
  EXPECT_EQ(ReadFile(path), Repeat('\0', 4096 * 3));
}

TEST_F(PurgeTest, TypeThreeWritesBothRandomOverwritesWithTheSameCluster) {
  const std::string path = WriteFile(folder / "b.bin", Repeat('x', 100));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);

  const std::string randomCluster = RandomClusterOfPass(1);
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Cluster('\xAA'), Cluster('\x55'), randomCluster,
                                      Cluster('\x0A'), Cluster('\xF5')}));
  EXPECT_EQ(ReadFile(path), randomCluster.substr(0, 100))
      << "the last overwrite is the same random cluster, cut back to 100 bytes";
}

TEST_F(PurgeTest, EveryPassMakesANewRandomCluster) {
  const std::string path = WriteFile(folder / "c.bin", Repeat('x', 4096));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 0, 2, false), FilePurge::kPurged);

  const std::string first = RandomClusterOfPass(1);
  const std::string second = RandomClusterOfPass(2);
  ASSERT_NE(first, second);
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Repeat('x', 4096), first, Cluster('\0'), second}));
  EXPECT_EQ(random.seeds, 1) << "the generator is seeded once per file";
}

TEST_F(PurgeTest, AnEmptyFileGetsOneClusterPerOverwriteAndStaysEmptyWhenKept) {
  const std::string path = WriteFile(folder / "empty", "");
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged);

  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Cluster('\xAA'), Cluster('\x55')}));
  EXPECT_EQ(fs::file_size(FileSystemPath(path)), 0u);
}

TEST_F(PurgeTest, LongRunsOfClustersPerWriteGiveTheSameBytes) {
  environment.writeRunBytes = 3 * 4096;  // runs that do not divide the file evenly
  const std::string path = WriteFile(folder / "long.bin", Repeat('x', 4096 * 7 + 1));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);

  const std::string randomCluster = RandomClusterOfPass(1);
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters(Cluster('\xAA'), 8), Clusters(Cluster('\x55'), 8),
                                      Clusters(randomCluster, 8), Clusters(Cluster('\x0A'), 8),
                                      Clusters(Cluster('\xF5'), 8)}));
  EXPECT_EQ(ReadFile(path), Clusters(randomCluster, 8).substr(0, 4096 * 7 + 1));
}

TEST_F(PurgeTest, LongRunsTakeTheNewRandomClusterOfEachPass) {
  environment.writeRunBytes = 3 * 4096;
  const std::string path = WriteFile(folder / "passes.bin", Repeat('x', 4096 * 7 + 1));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 0, 2, false), FilePurge::kPurged);

  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters(RandomClusterOfPass(1), 8),
                                      Clusters(Cluster('\0'), 8),
                                      Clusters(RandomClusterOfPass(2), 8)}));
}

// --- Keeping and deleting --------------------------------------------------------------------

TEST_F(PurgeTest, AKeptFileGetsBackItsLengthAndItsTimesToTheNanosecond) {
  const std::string path = WriteFile(folder / "kept.doc", Repeat('x', 5000));
  DiskTimes times;
  times.access = {1000000000, kAccessNanoseconds};
  times.modification = {1100000000, kModificationNanoseconds};
  SetTimesOnDisk(path, times);

  EXPECT_EQ(Purge(path, 0, 1, false), FilePurge::kPurged);

  EXPECT_EQ(fs::file_size(FileSystemPath(path)), 5000u);
  const DiskTimes after = TimesOnDisk(path);
  EXPECT_EQ(after.access.seconds, 1000000000);
  EXPECT_EQ(after.access.nanoseconds, kAccessNanoseconds);
  EXPECT_EQ(after.modification.seconds, 1100000000);
  EXPECT_EQ(after.modification.nanoseconds, kModificationNanoseconds);
}

TEST_F(PurgeTest, AStopNowEndsThePassAtItsNextWriteAndTheFileStaysWithItsLengthAndTimes) {
  // 12289 bytes: the first pass widens the file to four clusters, which it must not keep.
  const std::string path = WriteFile(folder / "big.dat", Repeat('x', 3 * 4096 + 1));
  DiskTimes times;
  times.access = {1000000000, kAccessNanoseconds};
  times.modification = {1100000000, kModificationNanoseconds};
  SetTimesOnDisk(path, times);
  // Type 2 writes AA, 55, zeros; the stop comes when the second pass has written AA over two
  // clusters of the first pass's zeros.
  std::atomic<bool> abortNow{false};
  environment.abortNow = &abortNow;
  struct StoppingHost final : FilePurge::PurgeHost {
    StoppingHost(std::string file, std::atomic<bool>& flag) : path(std::move(file)), stop(flag) {}
    void Yield() override {
      if (ReadFile(path) == Repeat('\xAA', 2 * 4096) + Repeat('\0', 2 * 4096)) stop = true;
    }
    std::string path;
    std::atomic<bool>& stop;
  } host(path, abortNow);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 2, true), FilePurge::kStoppedInPass);

  const DiskTimes after = TimesOnDisk(path);  // before a read changes the access time
  EXPECT_EQ(after.access, times.access);
  EXPECT_EQ(after.modification, times.modification);
  EXPECT_EQ(ReadFile(path), Repeat('\xAA', 2 * 4096) + Repeat('\0', 4097))
      << "nothing was written after the stop, and the length is the file's own";
}

TEST_F(PurgeTest, ThePassThatDeletesLeavesNoFile) {
  const std::string path = WriteFile(folder / "gone.txt", "secret");
  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged);
  EXPECT_FALSE(fs::exists(fs::symlink_status(FileSystemPath(path))));
}

TEST_F(PurgeTest, AFileThatCannotBeDeletedIsOverwrittenGetsItsLengthBackButNotItsTimes) {
  const std::string path = WriteFile(folder / "stuck.txt", Repeat('x', 5000));
  SetModificationTime(path, 1000000000);
  int tries = 0;
  environment.deleteRetry.remove = [&tries](Platform::FileHandle&, const Platform::FolderHandle&,
                                           const std::string&) {
    ++tries;
    return std::make_error_code(std::errc::device_or_resource_busy);
  };

  EXPECT_EQ(Purge(path, 1, 1, true), FilePurge::kNotDeleted);

  EXPECT_EQ(tries, 4);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 5000));
  EXPECT_NE(TimesOnDisk(path).modification.seconds, 1000000000);
}

// --- Refusals before anything is written -----------------------------------------------------

TEST_F(PurgeTest, AReadOnlyFileIsRefusedUntouchedUnlessAllowed) {
  const std::string path = WriteFile(folder / "ro.txt", "keep me");
  MakeReadOnly(path);

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kReadOnly);
  EXPECT_EQ(ReadFile(path), "keep me");
  EXPECT_TRUE(ReadOnlyOnDisk(path));
#ifndef _WIN32
  EXPECT_EQ(ModeOf(path), 0444u);
#endif

  EXPECT_EQ(Purge(path, 0, 1, false, true), FilePurge::kPurged);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 7));
  EXPECT_FALSE(ReadOnlyOnDisk(path)) << "read-only is cleared and stays cleared";
#ifndef _WIN32
  EXPECT_EQ(ModeOf(path), 0644u) << "only the owner's write permission comes back";
#endif
}

TEST_F(PurgeTest, AnInvalidPurgeTypeOrNoPassIsRefusedBeforeAnythingIsWritten) {
  const std::string path = WriteFile(folder / "t.txt", "untouched");
  EXPECT_EQ(Purge(path, 3, 1, true), FilePurge::kInvalidPurgeType);
  EXPECT_EQ(Purge(path, -1, 1, true), FilePurge::kInvalidPurgeType);
  EXPECT_EQ(Purge(path, 0, 0, true), FilePurge::kInvalidPurgeType)
      << "a purge without a pass would delete the file unwritten";
  EXPECT_EQ(ReadFile(path), "untouched");
}

TEST_F(PurgeTest, AnInvalidClusterSizeIsRefusedBeforeAnythingIsWritten) {
  const std::string path = WriteFile(folder / "c.txt", "untouched");
  Platform::DriveInfo drive;
  ASSERT_FALSE(Platform::DriveOfPath(path, drive));
  for (const std::int32_t size : {1000, 131072, 1536 + 1}) {
    clusterSizes.Set(drive.root, size);
    EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kInvalidClusterSize) << size;
    EXPECT_EQ(ReadFile(path), "untouched");
  }
}

TEST_F(PurgeTest, AnEmptyNameAndAMissingFileAreRefused) {
  EXPECT_EQ(Purge("", 0, 1, true), FilePurge::kEmptyName);
  EXPECT_EQ(Purge(folder / "missing", 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_FALSE(fs::exists(FileSystemPath(folder / "missing"))) << "nothing is created";
}

TEST_F(PurgeTest, ALinkIsNeverFollowedAndItsTargetStaysUntouched) {
  const std::string target = WriteFile(folder / "target.txt", "precious");
  const std::string link = folder / "link.txt";
  if (!MakeSymbolicLink(target, link)) GTEST_SKIP() << "this system does not allow links";

  EXPECT_EQ(Purge(link, 0, 1, true), FilePurge::kNotARegularFile);

  EXPECT_EQ(ReadFile(target), "precious");
  EXPECT_TRUE(fs::is_symlink(FileSystemPath(link)));
}

TEST_F(PurgeTest, AFolderAndADeviceAreRefusedWithoutWaiting) {
  const std::string inner = folder / "inner";
  MakeFolder(inner);
  WriteFile(JoinPath(inner, "kept.txt"), "inside");
  EXPECT_EQ(Purge(inner, 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge(folder.Path(), 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge(kNullDevice, 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(ReadFile(JoinPath(inner, "kept.txt")), "inside");
#ifndef _WIN32
  EXPECT_TRUE(fs::is_character_file(kNullDevice));  // POSIX: the device is a file-system entry
#endif
}
