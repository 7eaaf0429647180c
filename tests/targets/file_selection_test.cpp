#include "targets/file_selection.h"

#include <gtest/gtest.h>

#include "dates/day_numbers.h"
#include "support/file_setup.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

// The day number of a file dated 2005-03-01 12:00 UTC, read back the way the restriction reads it.
std::int32_t DateFile(const std::string& path) {
  SetModificationTime(path, 1109678400);
  short error = 0;
  const std::int32_t day = DatePr2::FileDayNumber(path, error);
  EXPECT_EQ(error, 0);
  return day;
}

}  // namespace

TEST(SatisfiesFilespecAndDateRestriction, NeedsTheNameToMatchAndTheDayToLieBeforeTheLimit) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "Report.TXT", "x");
  const std::int32_t day = DateFile(path);

  EXPECT_TRUE(
      SatisfiesFilespecAndDateRestriction(path, "*.txt", false, DatePr2::NoDateRestriction));
  EXPECT_FALSE(
      SatisfiesFilespecAndDateRestriction(path, "*.doc", false, DatePr2::NoDateRestriction));
  EXPECT_TRUE(SatisfiesFilespecAndDateRestriction(path, "*.txt", false, day + 1));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(path, "*.txt", false, day))
      << "a file dated on the limit day itself is not purged";
  EXPECT_TRUE(SatisfiesFilespecAndDateRestriction(path, "Report.TXT", false, day + 1));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(path, "Report.TXT", false, day));
#ifdef _WIN32
  EXPECT_TRUE(SatisfiesFilespecAndDateRestriction(path, "report.txt", false, day + 1))
      << "Windows names ignore case";
#else
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(path, "report.txt", false, day + 1))
      << "a single name is matched exactly";
#endif
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(path, "Report.TX", false, day + 1));
}

TEST(SatisfiesFilespecAndDateRestriction, AFileWhoseDateCannotBeReadPassesOnlyWithoutARestriction) {
  TempFolder folder;
  const std::string gone = folder / "gone.txt";
  EXPECT_TRUE(
      SatisfiesFilespecAndDateRestriction(gone, "*.txt", false, DatePr2::NoDateRestriction));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(gone, "*.txt", false, 2500000));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction("no-separator.txt", "*.txt", false,
                                                   DatePr2::NoDateRestriction))
      << "a path without a folder has an empty name";
}
