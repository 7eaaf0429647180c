#include <gtest/gtest.h>

#include <ctime>

#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/scoped_locale_format.h"
#include "support/temp_folder.h"
#include "text/str_proc.h"

using StrProc::FileDateText;
using StrProc::LocaleFormat;
using TestSupport::ScopedLocaleFormat;

namespace {

// A file last modified half a second after the given local date and time.
std::string FileDatedAt(const TestSupport::TempFolder& folder, int year, int month, int day,
                        int hour, int minute, int second) {
  const std::string path = TestSupport::WriteFile(folder / "dated.txt", "x");
  std::tm moment{};
  moment.tm_year = year - 1900;
  moment.tm_mon = month - 1;
  moment.tm_mday = day;
  moment.tm_hour = hour;
  moment.tm_min = minute;
  moment.tm_sec = second;
  moment.tm_isdst = -1;
  const std::int64_t seconds = mktime(&moment);
  TestSupport::DiskTimes times;
  times.access = {seconds, 0};
  times.modification = {seconds, 500000000};
  TestSupport::SetTimesOnDisk(path, times);
  return path;
}

}  // namespace

TEST(FileDateText, ShowsTheDateAndTimeInTheUsersLocale) {
  const TestSupport::TempFolder folder;
  const std::string path = FileDatedAt(folder, 2024, 3, 5, 14, 7, 9);
  {
    const ScopedLocaleFormat english(LocaleFormat::English());
    EXPECT_EQ(FileDateText(path, false), "03/05/2024");
    EXPECT_EQ(FileDateText(path, true), "03/05/2024 02:07:09 PM");
  }
  const ScopedLocaleFormat german(LocaleFormat::German());
  EXPECT_EQ(FileDateText(path, false), "05.03.2024");
  EXPECT_EQ(FileDateText(path, true), "05.03.2024 14:07:09");
}

TEST(FileDateText, MidnightIsWrittenAsZeroHoursEvenInATwelveHourLocale) {
  const TestSupport::TempFolder folder;
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(FileDateText(FileDatedAt(folder, 1999, 12, 31, 0, 0, 0), true), "12/31/1999 00:00:00");
}

TEST(FileDateText, KeepsADateWrittenWithBlanksWhole) {
  const TestSupport::TempFolder folder;
  const std::string path = FileDatedAt(folder, 2024, 3, 5, 9, 4, 0);
  LocaleFormat hungarian = LocaleFormat::German();
  hungarian.shortDatePattern = "%Y. %m. %d.";
  hungarian.longTimePattern = "%-H:%M:%S";
  const ScopedLocaleFormat scoped(hungarian);
  EXPECT_EQ(FileDateText(path, false), "2024. 03. 05.");
  EXPECT_EQ(FileDateText(path, true), "2024. 03. 05. 9:04:00");
}

TEST(FileDateText, IsEmptyForAnEmptyPathOrAMissingFile) {
  const TestSupport::TempFolder folder;
  EXPECT_EQ(FileDateText("", true), "");
  EXPECT_EQ(FileDateText(folder / "missing.txt", false), "");
  EXPECT_EQ(FileDateText(JoinPath(folder / "missing", "deeper.txt"), true), "");
}
