#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "text/str_proc.h"

using StrProc::MinutesToText;
using StrProc::SecondsToText;

TEST(MinutesToText, TheLongFormNamesAtMostTwoUnits) {
  EXPECT_EQ(MinutesToText(0, true), "0 minutes");
  EXPECT_EQ(MinutesToText(120, true), "2 hours");
  EXPECT_EQ(MinutesToText(61, true), "1 hour and 1 minute");
  EXPECT_EQ(MinutesToText(1441, true), "1 day and 1 minute");
  EXPECT_EQ(MinutesToText(1445, true), "1 day and 5 minutes");
  EXPECT_EQ(MinutesToText(1501, true), "1 day and 1 hour");
  EXPECT_EQ(MinutesToText(2880, true), "2 days");
}

TEST(MinutesToText, TheShortFormNamesEveryUnitWithoutTrailingBlank) {
  EXPECT_EQ(MinutesToText(1501, false), "1d 1h 1m");
  EXPECT_EQ(MinutesToText(60, false), "1h");
  EXPECT_EQ(MinutesToText(0, false), "0m");
  EXPECT_EQ(MinutesToText(-5, true), "0 minutes");
}

TEST(SecondsToText, ThreeThousandSixHundredSixtyOneSecondsIsOneHourOneMinuteOneSecond) {
  EXPECT_EQ(SecondsToText(3661, true, false), "1 hour and 1 minute");
  EXPECT_EQ(SecondsToText(3661, false, false), "1h 1m 1s");
  EXPECT_EQ(SecondsToText(61, true, false), "1 minute and 1 second");
  EXPECT_EQ(SecondsToText(86461, true, false), "1 day and 1 minute");
}

TEST(SecondsToText, UnderAMinuteShowsSecondsOnly) {
  EXPECT_EQ(SecondsToText(0, true, false), "0 seconds");
  EXPECT_EQ(SecondsToText(0, false, false), "0s");
  EXPECT_EQ(SecondsToText(1, true, false), "1 second");
  EXPECT_EQ(SecondsToText(30, true, true), "30 seconds");
  EXPECT_EQ(SecondsToText(60, true, false), "1 minute");
  EXPECT_EQ(SecondsToText(3600, false, false), "1h");
}

TEST(SecondsToText, RoundsToMinutesWithHalvesToEven) {
  EXPECT_EQ(SecondsToText(89, true, true), "1 minute");
  EXPECT_EQ(SecondsToText(90, true, true), "2 minutes");
  EXPECT_EQ(SecondsToText(150, true, true), "2 minutes");
  EXPECT_EQ(SecondsToText(210, true, true), "4 minutes");
  EXPECT_EQ(SecondsToText(3630, true, true), "1 hour");
  EXPECT_EQ(SecondsToText(3690, false, true), "1h 2m");
}

TEST(SecondsToText, ExtremeDurationsNeverOverflow) {
  constexpr auto most = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(SecondsToText(most, true, false), "24855 days and 3 hours");
  EXPECT_EQ(SecondsToText(most, false, false), "24855d 3h 14m 7s");
  EXPECT_EQ(SecondsToText(most, false, true), "24855d 3h 14m");
  EXPECT_EQ(SecondsToText(-61, true, false), "0 seconds");
  EXPECT_EQ(SecondsToText(std::numeric_limits<std::int32_t>::min(), false, true), "0s");
  EXPECT_EQ(StrProc::SecondsToText2(3661, false, false), "1h 1m 1s");
}
