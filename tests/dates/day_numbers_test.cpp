#include "dates/day_numbers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <limits>

using DatePr2::DateParts;

namespace {

DateParts Date(std::int32_t year, std::int32_t month, std::int32_t day) {
  DateParts parts;
  parts.year = year;
  parts.month = month;
  parts.day = day;
  return parts;
}

DateParts FromDayNumber(std::int32_t dayNumber) {
  DateParts parts;
  parts.dayNumber = dayNumber;
  DatePr2::JdnToEuroDate(parts);
  return parts;
}

}  // namespace

TEST(DayNumbers, ThirtiethOfDecember1899IsDay2415019AndTheUnixEpochIsDay2440588) {
  DateParts fixedPoint = Date(1899, 12, 30);
  EXPECT_EQ(DatePr2::EuroDateToJdn(fixedPoint), 2415019);
  EXPECT_EQ(fixedPoint.dayNumber, 2415019);
  EXPECT_EQ(fixedPoint.valid, 1);

  DateParts epoch = Date(1970, 1, 1);
  epoch.calendar = DatePr2::GregorianCalendar;
  EXPECT_EQ(DatePr2::EuroDateToJdn(epoch), 2440588);

  const DateParts back = FromDayNumber(2415019);
  EXPECT_EQ(back.year, 1899);
  EXPECT_EQ(back.month, 12);
  EXPECT_EQ(back.day, 30);
  EXPECT_EQ(back.valid, 1);
}

TEST(DayNumbers, DatesThatDoNotExistAreInvalidAndLeapDaysFollowTheGregorianRule) {
  for (const DateParts& missing :
       {Date(2005, 2, 29), Date(1900, 2, 29), Date(2004, 2, 30), Date(2004, 4, 31),
        Date(2004, 0, 1), Date(2004, 13, 1), Date(2004, 1, 0), Date(2004, 1, 32)}) {
    DateParts parts = missing;
    EXPECT_EQ(DatePr2::EuroDateToJdn(parts), 0) << parts.year << "-" << parts.month;
    EXPECT_EQ(parts.valid, 0) << parts.year << "-" << parts.month << "-" << parts.day;
  }
  DateParts leapDay = Date(2004, 2, 29);
  EXPECT_EQ(DatePr2::EuroDateToJdn(leapDay), 2453065);
  EXPECT_EQ(leapDay.valid, 1);
  DateParts centuryLeapDay = Date(2000, 2, 29);
  DatePr2::EuroDateToJdn(centuryLeapDay);
  EXPECT_EQ(centuryLeapDay.valid, 1);

  DateParts julian = Date(2004, 1, 1);
  julian.calendar = 'J';
  DatePr2::EuroDateToJdn(julian);
  EXPECT_EQ(julian.valid, 0);
}

TEST(DayNumbers, EveryThirtyTwoBitDayNumberHasADateThatLeadsBackToIt) {
  const std::int32_t samples[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 1721060,
                                  2453431, DatePr2::NoDateRestriction, 13700000,
                                  std::numeric_limits<std::int32_t>::max()};
  for (const std::int32_t dayNumber : samples) {
    DateParts parts = FromDayNumber(dayNumber);
    ASSERT_EQ(parts.valid, 1) << dayNumber;
    parts.dayNumber = 0;
    EXPECT_EQ(DatePr2::EuroDateToJdn(parts), dayNumber)
        << parts.year << "-" << parts.month << "-" << parts.day;
  }
  const DateParts yearZero = FromDayNumber(1721060);
  EXPECT_EQ(yearZero.year, 0);
  EXPECT_EQ(yearZero.month, 1);
  EXPECT_EQ(yearZero.day, 1);

  DateParts tooLate = Date(6000000, 1, 1);
  DatePr2::EuroDateToJdn(tooLate);
  EXPECT_EQ(tooLate.valid, 0);
}

TEST(DayNumbers, DateTextsNameTheMonthAndGroupOnlyYearsBeyondNineThousandNineHundredNinetyNine) {
  EXPECT_EQ(DatePr2::JDNToDateText(2453371), "December 31, 2004");
  EXPECT_EQ(DatePr2::JDNToDateText(2453431), "March 1, 2005");

  DateParts farFuture = Date(12345, 7, 4);
  EXPECT_EQ(DatePr2::JDNToDateText(DatePr2::EuroDateToJdn(farFuture)), "July 4, 12,345");
  DateParts lastUngrouped = Date(9999, 12, 31);
  EXPECT_EQ(DatePr2::JDNToDateText(DatePr2::EuroDateToJdn(lastUngrouped)), "December 31, 9999");
  DateParts ancient = Date(-500, 3, 15);
  EXPECT_EQ(DatePr2::JDNToDateText(DatePr2::EuroDateToJdn(ancient)), "March 15, -500");
  DateParts farPast = Date(-12345, 1, 2);
  EXPECT_EQ(DatePr2::JDNToDateText(DatePr2::EuroDateToJdn(farPast)), "January 2, -12,345");
}

TEST(DayNumbers, ThousandsAreSeparatedAfterTheSignAndOtherTextsAreLeftAlone) {
  EXPECT_EQ(DatePr2::SeparateThousands("123", ','), "123");
  EXPECT_EQ(DatePr2::SeparateThousands("1234", ','), "1,234");
  EXPECT_EQ(DatePr2::SeparateThousands("-1234567", '.'), "-1.234.567");
  EXPECT_EQ(DatePr2::SeparateThousands("-123", ','), "-123");
  EXPECT_EQ(DatePr2::SeparateThousands("", ','), "");
  EXPECT_EQ(DatePr2::SeparateThousands("-", ','), "-");
  EXPECT_EQ(DatePr2::SeparateThousands("12a456", ','), "12a456");
}

TEST(DayNumbers, MonthNamesRunFromJanuaryToDecemberAndAreEmptyOutside) {
  EXPECT_EQ(DatePr2::MonthName(1), "January");
  EXPECT_EQ(DatePr2::MonthName(9), "September");
  EXPECT_EQ(DatePr2::MonthName(12), "December");
  EXPECT_EQ(DatePr2::MonthName(0), "");
  EXPECT_EQ(DatePr2::MonthName(13), "");
}
