#include <algorithm>

#include "operation/free_space_texts.h"
#include "operation/run_fixture.h"
#include "platform/drives.h"

using namespace TestSupport;
using FreeSpacePurge::Ending;

namespace {

constexpr std::int64_t kCluster = 4096;

// A drive with room for ten clusters and 1000 bytes, which the fill files take as they are
// written; each reading of the clock is a minute and a second later.
class FreeSpaceRunTest : public RunTest {
 protected:
  FreeSpaceRunTest() {
    EXPECT_FALSE(Platform::DriveOfPath(folder.Path(), drive));
    run.freeSpaceWarnings = [](const std::string&) { return std::vector<std::string>{}; };
    settings.clusterSizes.Set(drive.root, static_cast<std::int32_t>(kCluster));
    FreeSpacePurge::Environment& environment = run.FreeSpaceEnvironment();
    environment.reserve = [](auto&, auto, auto) { return make_error_code(std::errc::not_supported); };
    environment.now = [this] { return now_ += std::chrono::seconds(61); };
    environment.write = [this](Platform::FileHandle& file, const void* data, std::size_t size) {
      const std::size_t take = filled_ ? size : std::min(room_, size);
      room_ -= filled_ ? 0 : take;
      if (const std::error_code error = file.WriteAll(data, take)) return error;
      return take < size ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
    };
    environment.querySpace = [this](const std::string&, Platform::DriveSpace& space) {
      filled_ = room_ == 0;
      space.availableBytes = space.freeBytes = filled_ && !deleted_ ? 0 : 10 * kCluster + 1000;
      deleted_ = filled_;
      return std::error_code();
    };
    run.noteFillFolder = [this](auto& p, bool made) { notes.push_back((made ? "made " : "removed ") + p); };
  }

  void PurgeFreeSpace() { Process({RunKind::FreeSpace, folder.Path(), ""}); }

  Platform::DriveInfo drive;
  std::vector<std::string> notes;
  std::size_t room_ = 10 * kCluster + 1000;
  bool filled_ = false, deleted_ = false;
  std::chrono::steady_clock::time_point now_;
};

TEST_F(FreeSpaceRunTest, TheReportHasTheHeadingALinePerOverwriteAndTheSummary) {
  PurgeFreeSpace();

  EXPECT_EQ(run.Report(),
            std::string(kDateLine) + "Purging the free space of " +
                FreeSpaceDriveName(drive.root, drive.fileSystem) + "\r\nfrom the folder " +
                folder.Path() + "\r\nusing alternate bit patterns plus zeros once.\r\n"
                "Free space before: 40.98 KB (41,960 bytes)\r\n\r\n"
                "Overwrite 1 of 3 (bit pattern 10101010): 40.98 KB in 1 fill file\r\n"
                "Overwrite 2 of 3 (bit pattern 01010101): 40.98 KB\r\n"
                "Overwrite 3 of 3 (bit pattern 00000000): 40.98 KB\r\n\r\n"
                "Free space overwritten: 40.98 KB (41,960 bytes), 3 of 3 overwrites\r\n"
                "Bytes written: 122.93 KB (125,880 bytes)\r\nTime taken: 1 minute and 1 second\r\n"
                "Free space not reached: 0 bytes\r\nFree space afterwards: 40.98 KB (41,960 bytes)\r\n"
                "The fill files and their folder were deleted.\r\n\r\n" + kDateLine);
  EXPECT_EQ(run.Status(), RunStatus::Done);
  const std::string dummy = folder / "_kx_dummy1";
  EXPECT_EQ(notes, (std::vector<std::string>{"made " + dummy, "removed " + dummy}));
  // While an overwrite runs its line ends in its gauge.
  EXPECT_TRUE(std::ranges::any_of(host.progress, [](const auto& p) {
    return p.second == "Overwrite 2 of 3 (bit pattern 01010101): 0%";
  }));
}

TEST_F(FreeSpaceRunTest, AStopEndsTheOverwriteUnderWayAndIsSaidInTheSummary) {
  run.FreeSpaceEnvironment().yieldInterval = std::chrono::milliseconds(0);
  host.onYield = [&] { if (host.yields == 3) run.StopButton(); };
  PurgeFreeSpace();
  EXPECT_TRUE(Contains(run.Report(), "Overwrite 1 of 3 (bit pattern 10101010): not completed\r\n\r\n"))
      << run.Report();
  EXPECT_TRUE(Contains(run.Report(), "\r\nPurge of free space was stopped.\r\n"));
  EXPECT_EQ(run.Status(), RunStatus::Stopped);
}

// What the summary says of the space not reached, and of how the purge ended.
TEST(FreeSpaceTexts, TheSummarySaysWhySpaceWasNotReachedAndHowThePurgeEnded) {
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  const auto io = std::make_error_code(std::errc::io_error);
  const std::string notReached = "Free space not reached: 8.00 KB (8,192 bytes): ";
  const struct { Ending ending; bool mayFill, removed; std::error_code error; std::string line; } cases[] = {
      {Ending::Full, false, true, {}, notReached + "blocks that the file system reserves for the "
       "administrator and for its own records; run the purge as the administrator (root) to reach "
       "those of the administrator.\r\n"},
      {Ending::Full, true, true, {},
       notReached + "blocks that the file system keeps for its own records, which no program can fill.\r\n"},
      {Ending::QuotaReached, false, true, {}, notReached + "the quota of this user on the drive was "
       "reached; the free space beyond it is out of this user's reach.\r\n"},
      {Ending::NotFilling, true, true, {}, notReached + "the drive took far more than its free space "
       "without becoming full: it compresses or shares the fill files' data, so their bytes do not "
       "reach every free block.\r\n"},
      {Ending::WriteFailed, true, true, io, "the purge ended before the drive was full.\r\nFree space "
       "afterwards: 1.00 MB (1,048,576 bytes)\r\nThe fill files and their folder were deleted.\r\n"
       "Error when writing to a fill file: input/output error.\r\n"},
      {Ending::FlushFailed, true, false, io, "The fill files or their folder /d/_kx_dummy1 could not "
       "all be deleted: input/output error; the program removes them at its next start.\r\n"
       "Error when flushing a fill file: input/output error.\r\n"},
  };
  for (const auto& c : cases) {
    FreeSpacePurge::Outcome outcome;
    outcome.ending = c.ending;
    outcome.removalError = outcome.error = c.error;
    outcome.removed = c.removed;
    outcome.dummyFolder = "/d/_kx_dummy1";
    outcome.fullKnown = outcome.afterKnown = true;
    outcome.full.freeBytes = 8192;
    outcome.after.availableBytes = 1 << 20;
    const std::string summary = FreeSpaceSummary(outcome, c.mayFill, {"A warning."});
    EXPECT_TRUE(Contains(summary, c.line)) << summary;
    EXPECT_TRUE(summary.ends_with("\r\n\r\nA warning.\r\n")) << summary;
  }
}

// The device's own warnings (tested with the volume warnings) follow those of the file system.
TEST(FreeSpaceTexts, TheWarningsNameWhatLiesOutsideTheFreeSpace) {
  Platform::StorageFacts facts;
  facts.fileSystem = "NTFS";
  facts.mountPoint = "/mnt/d";
  facts.copyOnWrite = facts.solidState = true;
  const std::vector<std::string> warnings = FreeSpaceWarnings(facts);
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0], "/mnt/d (NTFS) is a copy-on-write file system: the space that its snapshots hold "
                         "is not free space, so the old data kept in snapshots is not overwritten.");
  EXPECT_EQ(warnings[1], "/mnt/d (NTFS) keeps small files inside its file table (the MFT), not in free "
                         "space: the old data of such files is out of reach of a purge of free space.");
  EXPECT_TRUE(warnings[2].starts_with("/mnt/d (NTFS) lies on a solid-state or flash device"))
      << warnings[2];
}

TEST(FreeSpaceTexts, TheQuestionGivesTheEstimateFromTheMeasuredSpeedOrSaysThereIsNone) {
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  const std::string type = "Random bytes plus zeros, once (= 2 overwrites)";
  const std::string head =
      "This fills the free space of Drive /mnt/d (ext4) with files written with the type of purge specified, "
      "then deletes them, so that the old data of deleted files that lies there is destroyed.\r\n\r\nFree "
      "space: 1.00 GB (1,073,741,824 bytes)\r\nType of purge: " + type + "\r\nEstimated time: ";
  const std::string tail = "\r\n\r\nWhile the purge runs, the drive has no free space left for other "
                           "programs.";
  const std::string drive = FreeSpaceDriveName("/mnt/d", "ext4");
  EXPECT_EQ(FreeSpaceQuestion(drive, 1073741824.0, type, 2, 10.0f, {"W."}),
            head + "about 3 minutes (at 10.00 MB/sec. for one overwrite)" + tail + "\r\n\r\nW.");
  EXPECT_EQ(FreeSpaceQuestion(drive, 1073741824.0, type, 2, std::nullopt, {}),
            head + "not known: the purge speed of this drive has not been tested" + tail);
}

}  // namespace
