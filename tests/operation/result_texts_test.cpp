#include "operation/result_texts.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

// The texts of the outcomes, whose words depend on the outcome's counts, its error or the
// extension. A single other name, a file not verified, the stops during a pass and a placement
// not known are checked in the command-line tests.
TEST(OutcomeReportText, SaysWhatThePurgeDidWithTheCountsAndTheSystemsReason) {
  using namespace FilePurge;
  const std::string notVerified = "not verified: the file system does not tell where a file's data lies";
  const struct { PurgeOutcome outcome; short passes; std::string text; } cases[] = {
      {{kPurged, {}, 1, 2}, 1, " purged (2 other names keep the overwritten file)"},
      {{kPurged, {}, 1, 1, false}, 1, " purged (1 other name keeps the overwritten file; " +
                                          notVerified + ")"},
      {{kStopped, {}, 0, 0}, 1, ": purge stopped after 0 of 1 pass; overwritten, not deleted."},
      {{kStoppedInPass, {}, 0, 0, true, false}, 3, ": purge stopped before its first write; left as it was."},
      {{kHardLinked, {}, 0, 1}, 1, ": has 1 other name (hard link), not purged."},
      {{kWriteFailed, std::make_error_code(std::errc::no_space_on_device), 0, 0}, 1,
       ": error when writing to file. (no space left on device)"},
      {{kNotDeleted, Platform::PlatformErrc::NameReplaced, 1, 0}, 1,
       ": file overwritten but not deleted. (the name now leads to another file)"},
      {{-5, {}}, 1, " not purged."}, {{kSizeNotRestored, {}}, 1, ": error when restoring filesize."},
      {{kInvalidClusterSize, {}}, 1, ": invalid cluster size."}, {{kEmptyName, {}}, 1, ": empty file name."},
      {{kInvalidPurgeType, {}}, 1, ": invalid purge type."},
      {{kFlushFailed, {}}, 1, ": error when flushing file."},
      {{kNotOnDisk, {}}, 1, ": not a file on a disk, not purged."},
      {{kMoved, {}, 1, 0}, 1, ": overwritten, but the file system wrote the new data elsewhere; "
                              "the old data remains on the disk."},
      {{kShared, {}, 1, 0}, 1, ": overwritten, but its blocks are shared with another file or a "
                               "snapshot; the old data remains on the disk."},
      {{kInline, {}, 1, 0}, 1, ": overwritten, but its data lay inside the file system's own "
                               "records; the old data may remain in its journal or metadata."},
      {{kJournaled, {}, 1, 0}, 1, ": overwritten, but the file system also wrote the data to its "
                                  "journal; the old data may remain in the journal."},
      {{kGrew, {}, 1, 0}, 1, ": grew while it was purged; what was added meanwhile was not "
                             "overwritten and may remain on the disk."},
  };
  for (const auto& c : cases) EXPECT_EQ(OutcomeReportText(c.outcome, c.passes), c.text);
  EXPECT_EQ(ResultCodeReportText(8, "sys"), ": \"sys\" files are not purged.");
}
