#include "operation/result_texts.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

TEST(ResultCodeReportText, EachCodeHasItsOwnText) {
  EXPECT_EQ(ResultCodeReportText(-54), ": file is a system file, not purged.");
  EXPECT_EQ(ResultCodeReportText(-53),
            ": file is a read-only file, not purged.\r\n(Perhaps file is in use by another "
            "program.)");
  EXPECT_EQ(ResultCodeReportText(-13), ": not a regular file, not purged.");
  EXPECT_EQ(ResultCodeReportText(-11), ": error when restoring filesize.");
  EXPECT_EQ(ResultCodeReportText(-9), ": invalid cluster size.");
  EXPECT_EQ(ResultCodeReportText(-8), ": invalid purge type.");
  EXPECT_EQ(ResultCodeReportText(-7), ": error when flushing file.");
  EXPECT_EQ(ResultCodeReportText(-4), ": file overwritten but not deleted.");
  EXPECT_EQ(ResultCodeReportText(-3), ": error when writing to file.");
  EXPECT_EQ(ResultCodeReportText(-2), ": unable to open file for writing.");
  EXPECT_EQ(ResultCodeReportText(-1), ": empty file name.");
  EXPECT_EQ(ResultCodeReportText(1), ": a file in the current application folder, not purged.");
  EXPECT_EQ(ResultCodeReportText(2), ": the page file (swap file), not purged.");
}

TEST(ResultCodeReportText, SensitiveExtensionsNameTheExtensionWhetherRefusedNowOrEarlier) {
  EXPECT_EQ(ResultCodeReportText(7, "exe"), ": \"exe\" files are not purged.");
  EXPECT_EQ(ResultCodeReportText(8, "sys"), ": \"sys\" files are not purged.");
}

TEST(ResultCodeReportText, AnyOtherCodeIsPlainlyNotPurged) {
  EXPECT_EQ(ResultCodeReportText(-5), " not purged.");
  EXPECT_EQ(ResultCodeReportText(3), " not purged.");
}

struct OutcomeCase {
  FilePurge::PurgeOutcome outcome;
  short passes;
  const char* text;
};

class OutcomeReportTextTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeReportTextTest, SaysWhatThePurgeDidWithTheSystemsReason) {
  EXPECT_EQ(OutcomeReportText(GetParam().outcome, GetParam().passes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, OutcomeReportTextTest,
    ::testing::Values(
        OutcomeCase{{FilePurge::kPurged, {}, 2, 0}, 2, " purged"},
        OutcomeCase{
            {FilePurge::kPurged, {}, 1, 1}, 1, " purged (1 other name keeps the overwritten file)"},
        OutcomeCase{
            {FilePurge::kPurged, {}, 1, 2}, 1, " purged (2 other names keep the overwritten file)"},
        OutcomeCase{{FilePurge::kPurged, {}, 1, 0, false},
                    1,
                    " purged (not verified: the file system does not tell where a file's data "
                    "lies)"},
        OutcomeCase{{FilePurge::kPurged, {}, 1, 1, false},
                    1,
                    " purged (1 other name keeps the overwritten file; not verified: the file "
                    "system does not tell where a file's data lies)"},
        OutcomeCase{{FilePurge::kMoved, {}, 1, 0},
                    1,
                    ": overwritten, but the file system wrote the new data elsewhere; the old "
                    "data remains on the disk."},
        OutcomeCase{{FilePurge::kShared, {}, 1, 0},
                    1,
                    ": overwritten, but its blocks are shared with another file or a snapshot; "
                    "the old data remains on the disk."},
        OutcomeCase{{FilePurge::kInline, {}, 1, 0},
                    1,
                    ": overwritten, but its data lay inside the file system's own records; the "
                    "old data may remain in its journal or metadata."},
        OutcomeCase{{FilePurge::kJournaled, {}, 1, 0},
                    1,
                    ": overwritten, but the file system also wrote the data to its journal; the "
                    "old data may remain in the journal."},
        OutcomeCase{
            {FilePurge::kPlacementUnknown, std::make_error_code(std::errc::invalid_argument), 1, 0},
            1,
            ": overwritten, but the file system did not say where the data lies; the old "
            "data may remain on the disk. (invalid argument)"},
        OutcomeCase{{FilePurge::kGrew, {}, 1, 0},
                    1,
                    ": grew while it was purged; what was added meanwhile was not overwritten and "
                    "may remain on the disk."},
        OutcomeCase{{FilePurge::kStopped, {}, 1, 0},
                    3,
                    ": purge stopped after 1 of 3 passes; overwritten, not deleted."},
        OutcomeCase{{FilePurge::kStoppedInPass, {}, 1, 0, true, true},
                    3,
                    ": purge stopped during pass 2 of 3; only partly overwritten, not deleted."},
        OutcomeCase{{FilePurge::kStoppedInPass, {}, 0, 0, true, false},
                    3,
                    ": purge stopped before its first write; left as it was."},
        OutcomeCase{
            {FilePurge::kHardLinked, {}, 0, 1}, 1, ": has 1 other name (hard link), not purged."},
        OutcomeCase{
            {FilePurge::kHardLinked, {}, 0, 3}, 1, ": has 3 other names (hard links), not purged."},
        OutcomeCase{
            {FilePurge::kWriteFailed, std::make_error_code(std::errc::no_space_on_device), 0, 0},
            1,
            ": error when writing to file. (no space left on device)"},
        OutcomeCase{{FilePurge::kNotDeleted, Platform::PlatformErrc::NameReplaced, 1, 0},
                    1,
                    ": file overwritten but not deleted. (the name now leads to another file)"},
        OutcomeCase{{FilePurge::kNotOnDisk, {}, 0, 0}, 1, ": not a file on a disk, not purged."},
        OutcomeCase{{FilePurge::kReadOnly, {}, 0, 0},
                    1,
                    ": file is a read-only file, not purged.\r\n(Perhaps file is in use by another "
                    "program.)"}));

TEST(FolderNotEnteredText, NamesTheFolderAndWhyItWasNotEntered) {
  EXPECT_EQ(FolderNotEnteredText("/t/m/", Platform::PlatformErrc::OtherFileSystem),
            "/t/m/ (folder): another file system, not entered.");
  EXPECT_EQ(FolderNotEnteredText("/t/l/", Platform::PlatformErrc::NotAFolder),
            "/t/l/ (folder): replaced by a link or another entry, not entered.");
  EXPECT_EQ(FolderNotEnteredText("/t/x/", std::make_error_code(std::errc::permission_denied)),
            "/t/x/ (folder): cannot be read (permission denied).");
}
