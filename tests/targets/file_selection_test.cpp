#include "targets/file_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

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

#ifdef _WIN32
constexpr bool kPosix = false;  // Windows names ignore case
#else
constexpr bool kPosix = true;  // a single name is matched exactly
#endif

}  // namespace

TEST(SatisfiesFilespecAndDateRestriction, NeedsTheNameToMatchAndTheDayToLieBeforeTheLimit) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "Report.TXT", "x");
  const std::int32_t day = DateFile(path);
  const std::int32_t none = DatePr2::NoDateRestriction;
  // {path, file specification, restriction, satisfies}; a file dated on the limit day itself is
  // not purged; a file whose date cannot be read passes only without a restriction; a path
  // without a folder has an empty name.
  const std::vector<std::tuple<std::string, std::string, std::int32_t, bool>> rows = {
      {path, "*.txt", none, true},        {path, "*.doc", none, false},
      {path, "*.txt", day + 1, true},     {path, "*.txt", day, false},
      {path, "Report.TXT", day + 1, true}, {path, "Report.TXT", day, false},
      {path, "report.txt", day + 1, !kPosix}, {path, "Report.TX", day + 1, false},
      {folder / "gone.txt", "*.txt", none, true}, {folder / "gone.txt", "*.txt", 2500000, false},
      {"no-separator.txt", "*.txt", none, false},
  };
  for (const auto& [file, filespec, limit, satisfies] : rows) {
    EXPECT_EQ(SatisfiesFilespecAndDateRestriction(file, filespec, false, limit), satisfies)
        << file << " " << filespec << " " << limit;
  }
}
