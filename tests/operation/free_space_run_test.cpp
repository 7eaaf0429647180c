#include <filesystem>

#include "operation/free_space_texts.h"
#include "operation/run_fixture.h"
#include "platform/drives.h"

using namespace TestSupport;
using FreeSpacePurge::Ending;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kCluster = 4096;

class FreeSpaceRunTest : public RunTest {
 protected:
  FreeSpaceRunTest() {
    run.freeSpaceWarnings = [](const std::string&) { return std::vector<std::string>{}; };
    settings.clusterSizes.Set(Drive().root, static_cast<std::int32_t>(kCluster));
    FreeSpacePurge::Environment& environment = run.FreeSpaceEnvironment();
    environment.writeRunBytes = 4 * kCluster;
    environment.now = [this] { return std::chrono::steady_clock::time_point() + (ticks_ += 61s); };
    // A drive with room for ten clusters and 1000 bytes, which the fill files take as they are
    // written.
    environment.reserve = [](Platform::FileHandle&, std::int64_t, std::int64_t) {
      return std::make_error_code(std::errc::operation_not_supported);
    };
    environment.write = [this](Platform::FileHandle& file, const void* data, std::size_t size) {
      if (filled_) return file.WriteAll(data, size);
      const auto take = static_cast<std::size_t>(std::min<std::int64_t>(room_, size));
      room_ -= static_cast<std::int64_t>(take);
      if (const std::error_code error = file.WriteAll(data, take)) return error;
      return take < size ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
    };
    environment.querySpace = [this](const std::string&, Platform::DriveSpace& space) {
      filled_ = room_ == 0;
      space.availableBytes = space.freeBytes = filled_ && !deleted_ ? 0 : 10 * kCluster + 1000;
      deleted_ = filled_;
      return std::error_code();
    };
    run.noteFillFolder = [this](const std::string& path, bool made) {
      notes.push_back((made ? "made " : "removed ") + path);
    };
  }

  Platform::DriveInfo Drive() const {
    Platform::DriveInfo drive;
    EXPECT_FALSE(Platform::DriveOfPath(folder.Path(), drive));
    return drive;
  }

  void PurgeFreeSpace() {
    RunRequest request;
    request.kind = RunKind::FreeSpace;
    request.targetFolder = folder.Path();
    Process(request);
  }

  std::vector<std::string> notes;

 private:
  std::int64_t room_ = 10 * kCluster + 1000;
  bool filled_ = false;
  bool deleted_ = false;
  std::chrono::seconds ticks_{0};
};

TEST_F(FreeSpaceRunTest, TheReportHasTheHeadingALinePerOverwriteAndTheSummary) {
  PurgeFreeSpace();

  EXPECT_EQ(run.Report(),
            std::string(kDateLine) + "Purging the free space of " +
                FreeSpaceDriveName(Drive().root, Drive().fileSystem) +
                "\r\nfrom the folder " + folder.Path() +
                "\r\nusing alternate bit patterns plus zeros once.\r\n"
                "Free space before: 40.98 KB (41,960 bytes)\r\n\r\n"
                "Overwrite 1 of 3 (bit pattern 10101010): 40.98 KB in 1 fill file\r\n"
                "Overwrite 2 of 3 (bit pattern 01010101): 40.98 KB\r\n"
                "Overwrite 3 of 3 (bit pattern 00000000): 40.98 KB\r\n\r\n"
                "Free space overwritten: 40.98 KB (41,960 bytes), 3 of 3 overwrites\r\n"
                "Bytes written: 122.93 KB (125,880 bytes)\r\n"
                "Time taken: 1 minute and 1 second\r\n"
                "Free space not reached: 0 bytes\r\n"
                "Free space afterwards: 40.98 KB (41,960 bytes)\r\n"
                "The fill files and their folder were deleted.\r\n\r\n" +
                kDateLine);
  EXPECT_EQ(run.Status(), RunStatus::Done);
  const std::string dummy = folder / "_kx_dummy1";
  EXPECT_EQ(notes, (std::vector<std::string>{"made " + dummy, "removed " + dummy}));
  EXPECT_TRUE(fs::is_empty(FileSystemPath(folder.Path())));
  // While an overwrite runs its line ends in its gauge.
  bool gauge = false;
  for (const auto& [written, line] : host.progress)
    gauge = gauge || line == "Overwrite 2 of 3 (bit pattern 01010101): 0%";
  EXPECT_TRUE(gauge);
}

TEST_F(FreeSpaceRunTest, AStopEndsTheOverwriteUnderWayAndIsSaidInTheSummary) {
  int yields = 0;
  run.FreeSpaceEnvironment().yieldInterval = std::chrono::milliseconds(0);
  host.onYield = [&] {
    if (++yields == 3) run.StopButton();
  };
  PurgeFreeSpace();
  const std::string& report = run.Report();
  EXPECT_TRUE(Contains(report, "Overwrite 1 of 3 (bit pattern 10101010): not completed\r\n\r\n"))
      << report;
  EXPECT_TRUE(Contains(report, "\r\nPurge of free space was stopped.\r\n")) << report;
  EXPECT_EQ(run.Status(), RunStatus::Stopped);
  EXPECT_TRUE(fs::is_empty(FileSystemPath(folder.Path())));
}

// What the summary says of the space not reached, and of how the purge ended.
TEST(FreeSpaceTexts, TheSummarySaysWhySpaceWasNotReachedAndHowThePurgeEnded) {
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  const auto io = std::make_error_code(std::errc::io_error);
  const std::string notReached = "Free space not reached: 8.00 KB (8,192 bytes): ";
  const struct {
    Ending ending;
    bool mayFillReserved;
    std::error_code error;
    bool removed;
    std::string line;
  } cases[] = {
      {Ending::Full, false, {}, true,
       notReached + "blocks that the file system reserves for the administrator and for its own "
                    "records; run the purge as the administrator (root) to reach those of the "
                    "administrator.\r\n"},
      {Ending::Full, true, {}, true,
       notReached + "blocks that the file system keeps for its own records, which no program "
                    "can fill.\r\n"},
      {Ending::QuotaReached, false, {}, true,
       notReached + "the quota of this user on the drive was reached; the free space beyond it "
                    "is out of this user's reach.\r\n"},
      {Ending::NotFilling, true, {}, true,
       notReached + "the drive took far more than its free space without becoming full: it "
                    "compresses or shares the fill files' data, so their bytes do not reach "
                    "every free block.\r\n"},
      {Ending::WriteFailed, true, io, true,
       "the purge ended before the drive was full.\r\nFree space afterwards: 1.00 MB (1,048,576 "
       "bytes)\r\nThe fill files and their folder were deleted.\r\nError when writing to a fill "
       "file: input/output error.\r\n"},
      {Ending::FlushFailed, true, io, false,
       "The fill files or their folder /d/_kx_dummy1 could not all be deleted: input/output "
       "error; the program removes them at its next start.\r\nError when flushing a fill file: "
       "input/output error.\r\n"},
  };
  for (const auto& c : cases) {
    FreeSpacePurge::Outcome outcome;
    outcome.ending = c.ending;
    outcome.error = c.error;
    outcome.overwrites = 2;
    outcome.dummyFolder = "/d/_kx_dummy1";
    outcome.fullKnown = outcome.afterKnown = true;
    outcome.full.freeBytes = 8192;
    outcome.after.availableBytes = 1 << 20;
    outcome.removed = c.removed;
    if (!c.removed) outcome.removalError = c.error;
    const std::string summary = FreeSpaceSummary(outcome, c.mayFillReserved, {"A warning."});
    EXPECT_TRUE(Contains(summary, c.line)) << summary;
    EXPECT_TRUE(summary.ends_with("\r\n\r\nA warning.\r\n")) << summary;
  }
}

TEST(FreeSpaceTexts, TheWarningsNameWhatLiesOutsideTheFreeSpace) {
  const auto facts = [](const char* fileSystem, bool copyOnWrite, bool solidState) {
    Platform::StorageFacts f;
    f.fileSystem = fileSystem;
    f.mountPoint = "/mnt/d";
    f.copyOnWrite = copyOnWrite;
    f.solidState = solidState;
    return f;
  };
  EXPECT_EQ(FreeSpaceWarnings(facts("ext4", false, false)), std::vector<std::string>{});
  EXPECT_EQ(FreeSpaceWarnings(facts("btrfs", true, true)),
            (std::vector<std::string>{
                "/mnt/d (btrfs) is a copy-on-write file system: the space that its snapshots "
                "hold is not free space, so the old data kept in snapshots is not overwritten.",
                "/mnt/d (btrfs) lies on a solid-state or flash device: it may keep old copies of "
                "the data in blocks it set aside for wear levelling, and a purge cannot reach "
                "them."}));
  EXPECT_EQ(FreeSpaceWarnings(facts("NTFS", false, false)),
            std::vector<std::string>{
                "/mnt/d (NTFS) keeps small files inside its file table (the MFT), not in free "
                "space: the old data of such files is out of reach of a purge of free space."});
}

TEST(FreeSpaceTexts, TheQuestionGivesTheEstimateFromTheMeasuredSpeedOrSaysThereIsNone) {
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  const std::string head =
      "This fills the free space of Drive /mnt/d (ext4) with files written with the type of "
      "purge specified, then deletes them, so that the old data of deleted files that lies "
      "there is destroyed.\r\n\r\nFree space: 1.00 GB (1,073,741,824 bytes)\r\nType of purge: "
      "Random bytes plus zeros, once (= 2 overwrites)\r\nEstimated time: ";
  const std::string tail =
      "\r\n\r\nWhile the purge runs, the drive has no free space left for other programs.";
  const std::string drive = FreeSpaceDriveName("/mnt/d", "ext4");
  const std::string type = "Random bytes plus zeros, once (= 2 overwrites)";
  EXPECT_EQ(FreeSpaceQuestion(drive, 1073741824.0, type, 2, 10.0f, {"W."}),
            head + "about 3 minutes (at 10.00 MB/sec. for one overwrite)" + tail + "\r\n\r\nW.");
  EXPECT_EQ(FreeSpaceQuestion(drive, 1073741824.0, type, 2, std::nullopt, {}),
            head + "not known: the purge speed of this drive has not been tested" + tail);
}

}  // namespace
