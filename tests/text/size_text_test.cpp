#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "support/environment.h"
#include "support/scoped_locale_format.h"
#include "text/str_proc.h"

using StrProc::LocaleFormat;
using StrProc::SizeToText;
using StrProc::SizeToTextGB;
using TestSupport::ScopedLocaleFormat;

TEST(SizeToText, ChangesUnitExactlyAtEachBoundary) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(SizeToText(0, 1), "0 bytes");
  EXPECT_EQ(SizeToText(1, 1), "1 bytes");
  EXPECT_EQ(SizeToText(1023, 1), "1023 bytes");
  EXPECT_EQ(SizeToText(1024, 1), "1.0 KB");
  EXPECT_EQ(SizeToText(1048575, 1), "1,024.0 KB");
  EXPECT_EQ(SizeToText(1048576, 1), "1.0 MB");
  EXPECT_EQ(SizeToText(1073741824, 1), "1,024.0 MB");
  EXPECT_EQ(SizeToText(5.0 * 1073741824, 1), "5,120.0 MB");
}

TEST(SizeToTextGB, TakesEachStepOnTheQuotientAndStopsAtGigabytes) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(SizeToTextGB(1023, 1), "1023 bytes");
  EXPECT_EQ(SizeToTextGB(1024, 1), "1.0 KB");
  EXPECT_EQ(SizeToTextGB(1048576, 1), "1.0 MB");
  EXPECT_EQ(SizeToTextGB(1073741823, 1), "1,024.0 MB");
  EXPECT_EQ(SizeToTextGB(1073741824, 1), "1.0 GB");
  EXPECT_EQ(SizeToTextGB(1099511627776.0, 2), "1,024.00 GB");
}

TEST(SizeToText, RoundsTheExactValueWithHalvesAwayFromZero) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(SizeToText(1280, 1), "1.3 KB");     // 1.25 exactly
  EXPECT_EQ(SizeToText(1126, 1), "1.1 KB");     // 1.0996...
  EXPECT_EQ(SizeToText(1500, 2), "1.46 KB");    // 1.46484375
  EXPECT_EQ(SizeToText(1536, 0), "2 KB");       // 1.5 exactly
  EXPECT_EQ(SizeToText(1048575, 0), "1,024 KB");
  EXPECT_EQ(SizeToText(1048576 * 9.99, 1), "10.0 MB");
}

TEST(SizeToText, GroupsAsTheUsersLocaleDoes) {
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

TEST(SizeToText, AnswersBadInputWithAPlainText) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  EXPECT_EQ(SizeToText(std::nan(""), 1), "unknown size");
  EXPECT_EQ(SizeToTextGB(std::numeric_limits<double>::infinity(), 1), "unknown size");
  EXPECT_EQ(SizeToText(-5, 1), "-5 bytes");
  EXPECT_EQ(SizeToText(-0.0, 1), "0 bytes");
  EXPECT_EQ(SizeToText(512.5, 1), "512.5 bytes");
  EXPECT_EQ(SizeToText(2048, -3), "2 KB");
  EXPECT_EQ(SizeToText(2048, 400), "2.000000000000000 KB");
  const std::string huge = SizeToTextGB(std::numeric_limits<double>::max(), 1);
  EXPECT_EQ(huge.substr(0, 8), "167,423,");
  EXPECT_EQ(huge.substr(huge.size() - 5), ".0 GB");
  EXPECT_EQ(StrProc::GroupedNumberText(-0.04, 1), "0.0");
}

// POSIX only: Windows takes the conventions from the user's regional settings, not from LC_ALL.
#ifndef _WIN32
TEST(ReadEnvironmentLocale, GivesTheCLocaleEnglishSeparatorsAndFourDigitYears) {
  LocaleFormat format;
  {
    const TestSupport::ScopedEnvironment locale("LC_ALL", "C");
    format = StrProc::ReadEnvironmentLocale();
  }
  EXPECT_EQ(format.thousandsSeparator, ",");
  EXPECT_EQ(format.decimalPoint, ".");
  EXPECT_EQ(format.grouping, "\3");
  EXPECT_EQ(format.shortDatePattern, "%m/%d/%Y");
  EXPECT_EQ(format.longTimePattern, "%H:%M:%S");
}
#endif  // _WIN32
