// Sizes, durations, counts and file dates as the program writes them for the user.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "support/environment.h"
#include "support/file_setup.h"
#include "support/scoped_locale_format.h"
#include "support/temp_folder.h"
#include "support/time_zone_guard.h"
#include "text/str_proc.h"

using StrProc::LocaleFormat;
using StrProc::SizeToText;
using StrProc::SizeToTextGB;
using TestSupport::ScopedLocaleFormat;

TEST(SizeText, ChangesUnitAtEachBoundaryRoundsHalvesAwayFromZeroAndGroupsAsTheLocaleDoes) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  constexpr double kGiB = 1073741824.0;
  const std::tuple<std::string (*)(double, std::int16_t), double, std::int16_t, const char*>
      cases[] = {{SizeToText, -0.0, 1, "0 bytes"},
                 {SizeToText, 1023, 1, "1023 bytes"},
                 {SizeToText, 1024, 1, "1.0 KB"},
                 {SizeToText, 1048576, 1, "1.0 MB"},
                 {SizeToText, 1536, 0, "2 KB"},  // 1.5 exactly
                 {SizeToText, 2048, 400, "2.000000000000000 KB"},
                 {SizeToText, std::nan(""), 1, "unknown size"},
                 {SizeToTextGB, std::numeric_limits<double>::infinity(), 1, "unknown size"},
                 {SizeToTextGB, kGiB - 1, 1, "1,024.0 MB"},
                 {SizeToTextGB, kGiB, 1, "1.0 GB"}};
  for (const auto& [text, size, decimals, expected] : cases)
    EXPECT_EQ(text(size, decimals), expected);
  EXPECT_EQ(StrProc::GroupedNumberText(-0.04, 1), "0.0");
  // The user's locale groups the digits.
  StrProc::SetLocaleFormat(LocaleFormat::German());
  EXPECT_EQ(SizeToText(5 * kGiB, 1), "5.120,0 MB");
  LocaleFormat indian = LocaleFormat::English();
  indian.grouping = "\3\2";
  EXPECT_EQ(StrProc::GroupedNumberText(123456789.5, 1, indian), "12,34,56,789.5");
  indian.grouping = "\3\177";  // one group, then no more
  EXPECT_EQ(StrProc::GroupedNumberText(123456789, 0, indian), "123456,789");
  // POSIX only: Windows takes the conventions from the user's regional settings, not LC_ALL. The C
  // locale has English separators and, unlike its own date pattern, four-digit years.
#ifndef _WIN32
  const TestSupport::ScopedEnvironment locale("LC_ALL", "C");
  const LocaleFormat c = StrProc::ReadEnvironmentLocale();
  EXPECT_EQ(c.thousandsSeparator + c.decimalPoint + c.grouping, ",.\3");
  EXPECT_EQ(c.shortDatePattern + " " + c.longTimePattern, "%m/%d/%Y %H:%M:%S");
#endif
}

TEST(DurationText, NamesAtMostTwoUnitsInTheLongFormAndEveryUnitInTheShortForm) {
  const std::tuple<std::int32_t, bool, bool, const char*> cases[] = {
      {0, true, false, "0 seconds"},
      {1, true, false, "1 second"},
      {60, true, false, "1 minute"},
      {61, true, false, "1 minute and 1 second"},
      {3661, true, false, "1 hour and 1 minute"},
      {86461, true, false, "1 day and 1 minute"},
      {90060, false, true, "1d 1h 1m"},
      // Rounded to the nearest minute, a half minute going to the even one.
      {89, true, true, "1 minute"},
      {90, true, true, "2 minutes"},
      {150, true, true, "2 minutes"},
      {std::numeric_limits<std::int32_t>::min(), false, true, "0s"}};
  for (const auto& [seconds, longForm, round, text] : cases)
    EXPECT_EQ(StrProc::SecondsToText(seconds, longForm, round), text) << seconds;
  EXPECT_EQ(StrProc::SecondsToText2(3661, false, false), "1h 1m 1s");
  EXPECT_EQ(StrProc::MinutesToText(-5, true), "0 minutes");
}

TEST(NumberToWords, SpellsCountsUpToNinetyNineAndWritesOthersInGroupedDigits) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "No"},          {90, "Ninety"},
      {21, "Twenty one"}, {99, "Ninety nine"},
      {100, "100"},       {std::numeric_limits<std::int32_t>::min(), "-2,147,483,648"}};
  for (const auto& [count, words] : cases) EXPECT_EQ(StrProc::NumberToWords(count), words);
}

TEST(CountOccurrences, CountsWithoutOverlapIgnoringTheCaseOfLatinLettersOnlyWhenAsked) {
  const std::tuple<const char*, const char*, bool, int> cases[] = {
      {"aaaa", "aa", true, 2},         {"abc", "", false, 0},
      {"And AND and", "and", true, 1}, {"And AND and", "and", false, 3},
      {"été ÉTÉ", "été", false, 2},    {"œuvre ŒUVRE šŠ ÿŸ", "œ", false, 2},
      {"÷×", "×", false, 1},           {"straße", "SS", false, 0}};
  for (const auto& [text, pattern, caseSensitive, count] : cases)
    EXPECT_EQ(StrProc::CountOccurrences(text, pattern, caseSensitive), count) << text;
}

TEST(FileDateText, ShowsTheFilesDateAndTimeInTheUsersLocaleAndIsEmptyWithoutAFile) {
  const TestSupport::TimeZoneGuard utc("UTC");
  // A date written with blanks stays whole.
  ScopedLocaleFormat hungarian({".", ",", "\3", "%Y. %m. %d.", "%-H:%M:%S", "", ""});
  EXPECT_EQ(StrProc::ModificationDateText(1709629440, true), "2024. 03. 05. 9:04:00");
  StrProc::SetLocaleFormat(LocaleFormat::English());
  EXPECT_EQ(StrProc::ModificationDateText(946598400, true), "12/31/1999 00:00:00");  // midnight
  const TestSupport::TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "dated.txt", "x");
  TestSupport::SetModificationTime(path, 1709647629);  // 5 March 2024 14:07:09
  EXPECT_EQ(StrProc::FileDateText(path, true), "03/05/2024 02:07:09 PM");
  EXPECT_EQ(StrProc::FileDateText(folder / "missing.txt", false), "");
}
