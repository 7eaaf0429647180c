// Sizes, durations and counts as the program writes them for the user.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "support/environment.h"
#include "support/scoped_locale_format.h"
#include "text/str_proc.h"

using StrProc::LocaleFormat;
using StrProc::SizeToText;
using StrProc::SizeToTextGB;
using TestSupport::ScopedLocaleFormat;

TEST(SizeText, ChangesUnitAtEachBoundaryAndRoundsTheExactValueWithHalvesAwayFromZero) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  constexpr double kGiB = 1073741824.0;
  const struct {
    std::string (*text)(double, std::int16_t);
    double size;
    std::int16_t decimals;
    const char* expected;
  } cases[] = {
      {SizeToText, 0, 1, "0 bytes"},
      {SizeToText, -0.0, 1, "0 bytes"},
      {SizeToText, -5, 1, "-5 bytes"},
      {SizeToText, 1, 1, "1 bytes"},
      {SizeToText, 512.5, 1, "512.5 bytes"},
      {SizeToText, 1023, 1, "1023 bytes"},
      {SizeToText, 1024, 1, "1.0 KB"},
      {SizeToText, 1048575, 1, "1,024.0 KB"},
      {SizeToText, 1048576, 1, "1.0 MB"},
      {SizeToText, 5 * kGiB, 1, "5,120.0 MB"},
      {SizeToText, 1280, 1, "1.3 KB"},   // 1.25 exactly
      {SizeToText, 1126, 1, "1.1 KB"},   // 1.0996...
      {SizeToText, 1500, 2, "1.46 KB"},  // 1.46484375
      {SizeToText, 1536, 0, "2 KB"},     // 1.5 exactly
      {SizeToText, 1048575, 0, "1,024 KB"},
      {SizeToText, 1048576 * 9.99, 1, "10.0 MB"},
      {SizeToText, 2048, -3, "2 KB"},
      {SizeToText, 2048, 400, "2.000000000000000 KB"},
      {SizeToText, std::nan(""), 1, "unknown size"},
      {SizeToTextGB, std::numeric_limits<double>::infinity(), 1, "unknown size"},
      {SizeToTextGB, 1023, 1, "1023 bytes"},
      {SizeToTextGB, 1024, 1, "1.0 KB"},
      {SizeToTextGB, 1048576, 1, "1.0 MB"},
      {SizeToTextGB, kGiB - 1, 1, "1,024.0 MB"},
      {SizeToTextGB, kGiB, 1, "1.0 GB"},
      {SizeToTextGB, 1024 * kGiB, 2, "1,024.00 GB"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(row.text(row.size, row.decimals), row.expected);
  }
  const std::string huge = SizeToTextGB(std::numeric_limits<double>::max(), 1);
  EXPECT_EQ(huge.substr(0, 8), "167,423,");
  EXPECT_EQ(huge.substr(huge.size() - 5), ".0 GB");
  EXPECT_EQ(StrProc::GroupedNumberText(-0.04, 1), "0.0");
}

TEST(SizeText, GroupsAsTheUsersLocaleDoes) {
  const ScopedLocaleFormat german(LocaleFormat::German());
  EXPECT_EQ(SizeToText(5.0 * 1073741824, 1), "5.120,0 MB");
  EXPECT_EQ(SizeToTextGB(1536, 2), "1,50 KB");
  EXPECT_EQ(StrProc::NumberToWords(1234567), "1.234.567");

  LocaleFormat indian = LocaleFormat::English();
  indian.grouping = "\3\2";
  EXPECT_EQ(StrProc::GroupedNumberText(123456789.5, 1, indian), "12,34,56,789.5");
  indian.grouping = "\3\177";  // one group, then no more
  EXPECT_EQ(StrProc::GroupedNumberText(123456789, 0, indian), "123456,789");
}

// POSIX only: Windows takes the conventions from the user's regional settings, not from LC_ALL.
#ifndef _WIN32
TEST(ReadEnvironmentLocale, GivesTheCLocaleEnglishSeparatorsAndFourDigitYears) {
  const TestSupport::ScopedEnvironment locale("LC_ALL", "C");
  const LocaleFormat format = StrProc::ReadEnvironmentLocale();
  EXPECT_EQ(format.thousandsSeparator, ",");
  EXPECT_EQ(format.decimalPoint, ".");
  EXPECT_EQ(format.grouping, "\3");
  EXPECT_EQ(format.shortDatePattern, "%m/%d/%Y");
  EXPECT_EQ(format.longTimePattern, "%H:%M:%S");
}
#endif  // _WIN32

TEST(DurationText, NamesAtMostTwoUnitsInTheLongFormAndEveryUnitInTheShortForm) {
  constexpr auto most = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t seconds;
    bool longForm, roundToMinutes;
    const char* expected;
  } cases[] = {
      {0, true, false, "0 seconds"},
      {0, false, false, "0s"},
      {1, true, false, "1 second"},
      {30, true, true, "30 seconds"},
      {60, true, false, "1 minute"},
      {61, true, false, "1 minute and 1 second"},
      {3600, false, false, "1h"},
      {3661, true, false, "1 hour and 1 minute"},
      {3661, false, false, "1h 1m 1s"},
      {7200, true, true, "2 hours"},
      {86461, true, false, "1 day and 1 minute"},
      {86700, true, true, "1 day and 5 minutes"},
      {90060, true, true, "1 day and 1 hour"},
      {90060, false, true, "1d 1h 1m"},
      {172800, true, true, "2 days"},
      // Rounded to the nearest minute, a half minute going to the even one.
      {89, true, true, "1 minute"},
      {90, true, true, "2 minutes"},
      {150, true, true, "2 minutes"},
      {3690, false, true, "1h 2m"},
      {most, true, false, "24855 days and 3 hours"},
      {most, false, false, "24855d 3h 14m 7s"},
      {most, false, true, "24855d 3h 14m"},
      {-61, true, false, "0 seconds"},
      {std::numeric_limits<std::int32_t>::min(), false, true, "0s"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.seconds);
    EXPECT_EQ(StrProc::SecondsToText(row.seconds, row.longForm, row.roundToMinutes), row.expected);
  }
  EXPECT_EQ(StrProc::SecondsToText2(3661, false, false), "1h 1m 1s");
  EXPECT_EQ(StrProc::MinutesToText(0, false), "0m");
  EXPECT_EQ(StrProc::MinutesToText(-5, true), "0 minutes");
}

TEST(NumberToWords, SpellsCountsUpToNinetyNineAndWritesOthersInGroupedDigits) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "No"},          {20, "Twenty"}, {21, "Twenty one"}, {90, "Ninety"},
      {99, "Ninety nine"}, {100, "100"},   {1234, "1,234"},    {-5, "-5"},
      {std::numeric_limits<std::int32_t>::min(), "-2,147,483,648"},
  };
  for (const auto& [count, words] : cases) EXPECT_EQ(StrProc::NumberToWords(count), words);
}

TEST(CountOccurrences, CountsWithoutOverlapIgnoringTheCaseOfLatinLettersOnlyWhenAsked) {
  const struct {
    const char *text, *pattern;
    bool caseSensitive;
    int count;
  } cases[] = {
      {"aaaa", "aa", true, 2},
      {"aaa", "aa", true, 1},
      {"a", "aa", true, 0},
      {"", "a", true, 0},
      {"abc", "", false, 0},
      {"And AND and", "and", true, 1},
      {"And AND and", "and", false, 3},
      {"été ÉTÉ", "été", false, 2},
      {"œuvre ŒUVRE šŠ ÿŸ", "œ", false, 2},
      {"šŠ ÿŸ", "Š", false, 2},
      {"÷×", "×", false, 1},
      {"straße", "SS", false, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(StrProc::CountOccurrences(row.text, row.pattern, row.caseSensitive), row.count);
  }
}
