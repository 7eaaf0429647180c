#include "dates/date_restriction.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "dates/time_zone_guard.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "text/locale_format.h"
#include "text/str_proc.h"

namespace {

constexpr std::int32_t kFirstOfMarch2005 = 2453431;
// 1 March 2005 00:00:00 in Berlin (CET, an hour ahead of UTC).
constexpr std::int64_t kBerlinMidnight = 1109631600;

void SetModificationTime(const std::string& path, std::int64_t seconds) {
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class DateRestrictionOnFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    formerLocale_ = StrProc::CurrentLocaleFormat();
    StrProc::SetLocaleFormat(StrProc::LocaleFormat::English());
    restriction.lngOnlyBeforeThisJDN = kFirstOfMarch2005;
  }
  void TearDown() override { StrProc::SetLocaleFormat(formerLocale_); }

  std::string FileModifiedAt(const std::string& name, std::int64_t seconds) {
    const std::string path = TestSupport::WriteFile(folder / name, "x");
    SetModificationTime(path, seconds);
    return path;
  }

  DatesTest::TimeZoneGuard berlin{"Europe/Berlin"};
  TestSupport::TempFolder folder;
  TestSupport::ScriptedDialogs dialogs;
  DateRestriction restriction;

 private:
  StrProc::LocaleFormat formerLocale_;
};

}  // namespace

TEST_F(DateRestrictionOnFiles, AFileOfTheLimitDayIsExcludedAndOneOfTheLastMinuteBeforeIsIncluded) {
  const std::string lastMinuteBefore = FileModifiedAt("before", kBerlinMidnight - 60);
  const std::string limitDayStart = FileModifiedAt("start", kBerlinMidnight);
  const std::string limitDayEnd = FileModifiedAt("end", kBerlinMidnight + 86399);

  short errorNumber = -1;
  EXPECT_EQ(DatePr2::FileDayNumber(lastMinuteBefore, errorNumber), kFirstOfMarch2005 - 1);
  EXPECT_EQ(errorNumber, 0);
  EXPECT_EQ(DatePr2::FileDayNumber(limitDayStart, errorNumber), kFirstOfMarch2005);
  EXPECT_EQ(DatePr2::FileDayNumber(limitDayEnd, errorNumber), kFirstOfMarch2005);

  EXPECT_TRUE(restriction.Passes(lastMinuteBefore));
  EXPECT_FALSE(restriction.Passes(limitDayStart));
  EXPECT_FALSE(restriction.Passes(limitDayEnd));

  EXPECT_FALSE(restriction.ShowDateRestrictionExclusion(lastMinuteBefore, "Purge", dialogs));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DateRestrictionOnFiles, TheDayOfAMomentIsItsLocalDay) {
  short errorNumber = -1;
  EXPECT_EQ(DatePr2::LocalDayNumber(kBerlinMidnight, errorNumber), kFirstOfMarch2005);
  EXPECT_EQ(errorNumber, 0);
  {
    DatesTest::TimeZoneGuard utc("UTC");
    EXPECT_EQ(DatePr2::LocalDayNumber(kBerlinMidnight, errorNumber), kFirstOfMarch2005 - 1);
    EXPECT_EQ(DatePr2::LocalDayNumber(-1, errorNumber), DatePr2::JdnOfUnixEpoch - 1);
    EXPECT_EQ(DatePr2::LocalDayNumber(-2209161600, errorNumber), 2415019);  // 30 Dec 1899
  }
  EXPECT_EQ(DatePr2::LocalDayNumber(INT64_MAX, errorNumber), -1);
  EXPECT_NE(errorNumber, 0);
}

TEST_F(DateRestrictionOnFiles, AFileDatedOnOrAfterTheLimitIsReportedWithItsDateAsExcluded) {
  const std::string path = FileModifiedAt("late.txt", kBerlinMidnight + 3600);

  EXPECT_TRUE(restriction.ShowDateRestrictionExclusion(path, "Purge file", dialogs));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Purge file");
  EXPECT_EQ(dialogs.shown[0].text, "The file " + path +
                                       "\r\nhas a date of 03/01/2005 (March 1, 2005)\r\n"
                                       "and so is excluded by the current date restriction.");
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Information);
}

TEST_F(DateRestrictionOnFiles, AFileWhoseDateCannotBeReadIsExcludedWithAnErrorMessage) {
  const std::string missing = folder / "missing.txt";
  short errorNumber = 0;
  EXPECT_EQ(DatePr2::FileDayNumber(missing, errorNumber), -1);
  EXPECT_EQ(errorNumber, ENOENT);
  DatePr2::FileDayNumber("", errorNumber);
  EXPECT_NE(errorNumber, 0);

  EXPECT_FALSE(restriction.Passes(missing));
  EXPECT_TRUE(restriction.ShowDateRestrictionExclusion(missing, "Purge file", dialogs));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Purge file");
  EXPECT_EQ(dialogs.shown[0].text, "Error, perhaps invalid file name.\r\n" + missing);
  EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(DateRestrictionOnFiles, WithoutARestrictionEveryFilePassesAndNoDateIsRead) {
  restriction.Clear();
  EXPECT_EQ(restriction.lngOnlyBeforeThisJDN, 9000000);
  EXPECT_FALSE(restriction.blnDateRestriction());
  EXPECT_TRUE(restriction.Passes(folder / "missing.txt"));
  EXPECT_TRUE(restriction.Passes(FileModifiedAt("new", kBerlinMidnight + 86400 * 5000)));
}

TEST_F(DateRestrictionOnFiles, TheLabelTellsTheLimitInTheShortDateAndInWords) {
  EXPECT_TRUE(restriction.blnDateRestriction());
  EXPECT_EQ(restriction.DateRestrictionCaption(),
            "Purge only files with dates before 03/01/2005 (March 1, 2005)");
  StrProc::SetLocaleFormat(StrProc::LocaleFormat::German());
  EXPECT_EQ(restriction.DateRestrictionCaption(),
            "Purge only files with dates before 01.03.2005 (March 1, 2005)");
  EXPECT_EQ(restriction.DateRestrictionCaption([](std::int32_t day) {
    return std::to_string(day);
  }),
            "Purge only files with dates before 2453431 (March 1, 2005)");

  restriction.Clear();
  EXPECT_EQ(restriction.DateRestrictionCaption(), "No date restriction");
}
