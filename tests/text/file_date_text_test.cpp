#include <gtest/gtest.h>

#include <ctime>

#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/scoped_locale_format.h"
#include "support/temp_folder.h"
#include "text/str_proc.h"

using StrProc::LocaleFormat;
using TestSupport::ScopedLocaleFormat;

namespace {

// The seconds since 1970 of a local date and time.
std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
  std::tm moment{};
  moment.tm_year = year - 1900;
  moment.tm_mon = month - 1;
  moment.tm_mday = day;
  moment.tm_hour = hour;
  moment.tm_min = minute;
  moment.tm_sec = second;
  moment.tm_isdst = -1;
  return mktime(&moment);
}

}  // namespace

TEST(FileDateText, ShowsTheDateAndTimeInTheUsersLocale) {
  LocaleFormat hungarian = LocaleFormat::German();  // a date written with blanks stays whole
  hungarian.shortDatePattern = "%Y. %m. %d.";
  hungarian.longTimePattern = "%-H:%M:%S";
  const std::int64_t afternoon = LocalSeconds(2024, 3, 5, 14, 7, 9);
  const struct {
    LocaleFormat format;
    std::int64_t seconds;
    bool withTime;
    const char* text;
  } cases[] = {
      {LocaleFormat::English(), afternoon, false, "03/05/2024"},
      {LocaleFormat::English(), afternoon, true, "03/05/2024 02:07:09 PM"},
      {LocaleFormat::German(), afternoon, false, "05.03.2024"},
      {LocaleFormat::German(), afternoon, true, "05.03.2024 14:07:09"},
      // Midnight is written as zero hours even in a twelve-hour locale.
      {LocaleFormat::English(), LocalSeconds(1999, 12, 31, 0, 0, 0), true, "12/31/1999 00:00:00"},
      {hungarian, LocalSeconds(2024, 3, 5, 9, 4, 0), false, "2024. 03. 05."},
      {hungarian, LocalSeconds(2024, 3, 5, 9, 4, 0), true, "2024. 03. 05. 9:04:00"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.text);
    const ScopedLocaleFormat scoped(row.format);
    EXPECT_EQ(StrProc::ModificationDateText(row.seconds, row.withTime), row.text);
  }
}

TEST(FileDateText, ReadsTheFilesModificationTimeAndIsEmptyWithoutAFile) {
  const TestSupport::TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "dated.txt", "x");
  const std::int64_t seconds = LocalSeconds(2024, 3, 5, 14, 7, 9);
  TestSupport::DiskTimes times;
  times.access = {seconds, 0};
  times.modification = {seconds, 500000000};  // half a second later
  TestSupport::SetTimesOnDisk(path, times);
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(StrProc::FileDateText(path, true), "03/05/2024 02:07:09 PM");
  EXPECT_EQ(StrProc::FileDateText("", true), "");
  EXPECT_EQ(StrProc::FileDateText(folder / "missing.txt", false), "");
  EXPECT_EQ(StrProc::FileDateText(JoinPath(folder / "missing", "deeper.txt"), true), "");
}
