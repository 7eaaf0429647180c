#include "dates/date_restriction.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/file_setup.h"
#include "support/scoped_locale_format.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/time_zone_guard.h"

namespace {

constexpr std::int32_t kFirstOfMarch2005 = 2453431;
constexpr std::int64_t kBerlinMidnight = 1109631600;  // 1 March 2005 00:00 CET

struct DateRestrictionOnFiles : ::testing::Test {
  DateRestrictionOnFiles() { restriction.lngOnlyBeforeThisJDN = kFirstOfMarch2005; }

  TestSupport::ScopedLocaleFormat english{StrProc::LocaleFormat::English()};
  // Central European Time as both systems read a TZ value: POSIX with its summer-time rules, the
  // Windows C runtime by its name, its offset and the name of its summer time alone.
  TestSupport::TimeZoneGuard berlin{"CET-1CEST,M3.5.0,M10.5.0/3"};
  TestSupport::TempFolder folder;
  TestSupport::ScriptedDialogs dialogs;
  DateRestriction restriction;
};

}  // namespace

TEST_F(DateRestrictionOnFiles, TheLimitDayAndAFileWithoutADateAreExcludedWithAMessage) {
  const std::string lastMinuteBefore = TestSupport::WriteFile(folder / "before", "x");
  TestSupport::SetModificationTime(lastMinuteBefore, kBerlinMidnight - 60);
  const std::string limitDay = TestSupport::WriteFile(folder / "start", "x");
  TestSupport::SetModificationTime(limitDay, kBerlinMidnight);
  const std::string missing = folder / "missing.txt";
  EXPECT_TRUE(restriction.Passes(lastMinuteBefore));
  EXPECT_FALSE(restriction.Passes(limitDay));
  EXPECT_FALSE(restriction.Passes(missing));
  EXPECT_TRUE(restriction.ShowDateRestrictionExclusion(limitDay, "Purge file", dialogs));
  EXPECT_TRUE(restriction.ShowDateRestrictionExclusion(missing, "Purge", dialogs));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "Purge file|The file " + limitDay +
                "\r\nhas a date of 03/01/2005 (March 1, 2005)\r\n"
                "and so is excluded by the current date restriction.");
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(dialogs.shown[1].text, "Error, perhaps invalid file name.\r\n" + missing);
  EXPECT_EQ(dialogs.shown[1].icon, MessageIcon::Exclamation);
  short errorNumber = 0;
  EXPECT_EQ(DatePr2::FileDayNumber(missing, errorNumber), -1);
  EXPECT_EQ(errorNumber, ENOENT);
  EXPECT_EQ(DatePr2::LocalDayNumber(kBerlinMidnight, errorNumber), kFirstOfMarch2005);
  EXPECT_EQ(errorNumber, 0);
  EXPECT_EQ(DatePr2::LocalDayNumber(INT64_MAX, errorNumber), -1);  // a moment beyond the calendar
  EXPECT_NE(errorNumber, 0);
}

TEST_F(DateRestrictionOnFiles, TheLabelTellsTheLimitInTheShortDateAndInWordsOrThatThereIsNone) {
  StrProc::SetLocaleFormat(StrProc::LocaleFormat::German());
  EXPECT_EQ(restriction.DateRestrictionCaption(),
            "Purge only files with dates before 01.03.2005 (March 1, 2005)");
  restriction.Clear();
  EXPECT_EQ(restriction.DateRestrictionCaption(), "No date restriction");
}
