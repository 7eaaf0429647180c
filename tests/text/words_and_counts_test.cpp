#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "support/scoped_locale_format.h"
#include "text/str_proc.h"

using StrProc::CountOccurrences;
using StrProc::NumberToWords;

TEST(NumberToWords, SpellsCountsUpToNinetyNineWithACapital) {
  EXPECT_EQ(NumberToWords(0), "No");
  EXPECT_EQ(NumberToWords(20), "Twenty");
  EXPECT_EQ(NumberToWords(21), "Twenty one");
  EXPECT_EQ(NumberToWords(45), "Forty five");
  EXPECT_EQ(NumberToWords(90), "Ninety");
  EXPECT_EQ(NumberToWords(99), "Ninety nine");
}

TEST(NumberToWords, WritesLargerAndNegativeCountsInGroupedDigits) {
  const TestSupport::ScopedLocaleFormat english(StrProc::LocaleFormat::English());
  EXPECT_EQ(NumberToWords(100), "100");
  EXPECT_EQ(NumberToWords(1234), "1,234");
  EXPECT_EQ(NumberToWords(std::numeric_limits<std::int32_t>::max()), "2,147,483,647");
  EXPECT_EQ(NumberToWords(-5), "-5");
  EXPECT_EQ(NumberToWords(std::numeric_limits<std::int32_t>::min()), "-2,147,483,648");
}

TEST(CountOccurrences, CountsWithoutOverlapAndNothingForEmptyStrings) {
  EXPECT_EQ(CountOccurrences("aaaa", "aa", true), 2);
  EXPECT_EQ(CountOccurrences("aaa", "aa", true), 1);
  EXPECT_EQ(CountOccurrences("a and b and c", "and", true), 2);
  EXPECT_EQ(CountOccurrences("a", "aa", true), 0);
  EXPECT_EQ(CountOccurrences("", "a", true), 0);
  EXPECT_EQ(CountOccurrences("abc", "", false), 0);
}

TEST(CountOccurrences, IgnoresCaseOfLatinLettersOnlyWhenAsked) {
  EXPECT_EQ(CountOccurrences("And AND and", "and", true), 1);
  EXPECT_EQ(CountOccurrences("And AND and", "and", false), 3);
  EXPECT_EQ(CountOccurrences("été ÉTÉ", "été", false), 2);
  EXPECT_EQ(CountOccurrences("œuvre ŒUVRE šŠ ÿŸ", "œ", false), 2);
  EXPECT_EQ(CountOccurrences("šŠ ÿŸ", "Š", false), 2);
  EXPECT_EQ(CountOccurrences("÷×", "×", false), 1);
  EXPECT_EQ(CountOccurrences("straße", "SS", false), 0);
}
