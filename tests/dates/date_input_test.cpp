#include "dates/date_input.h"

#include <gtest/gtest.h>

#include "dates/date_restriction.h"
#include "support/scripted_dialogs.h"

namespace {

constexpr std::int32_t kFirstOfMarch2005 = 2453431;
const std::string kButtonCaption = "Only files before ...";

// Runs the "Only files before ..." command with a user who fills in the given date and presses
// Accept once; a refused date is followed by Cancel.
struct OnlyBeforeCommand : ::testing::Test {
  bool RunEntering(int month, int day, const std::string& year) {
    return OnlyBefore::Run(dialog, restriction, kButtonCaption, 0x808000, [&](DateInput& shown) {
      shown.Activate();
      shown.ChooseMonth(month);
      shown.ChooseDay(day);
      shown.SetYearText(year);
      if (shown.Accept(dialogs) != AcceptOutcome::Accepted) shown.Cancel();
    });
  }

  DateInput dialog;
  DateRestriction restriction;
  TestSupport::ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(OnlyBeforeCommand, TheTypedDateBecomesTheLimitOrIsRefusedWithAMessage) {
  // {month, day, year, message, its icon, the limit afterwards}
  const std::tuple<int, int, std::string, std::string, MessageIcon, std::int32_t> cases[] = {
      {3, 1, "1980", "", MessageIcon::None, 2444300},
      {3, 1, "1979", "Year too early", MessageIcon::None, 2444300},
      {3, 1, "2999", "", MessageIcon::None, 2816482},
      {3, 1, "3000", "Year too late", MessageIcon::None, 2816482},
      {3, 1, "99999999999999999999", "Year too late", MessageIcon::None, 2816482},
      {2, 29, "2005", "Date is invalid", MessageIcon::Information, 2816482},
      {2, 29, "2004", "", MessageIcon::None, 2453065},
      // A year without digits makes Accept do nothing; other characters are left out.
      {3, 2, " -abc ", "", MessageIcon::None, 2453065},
      {3, 2, " 2,0x05 ", "", MessageIcon::None, kFirstOfMarch2005 + 1}};
  for (const auto& [month, day, year, message, icon, limit] : cases) {
    SCOPED_TRACE(year);
    dialogs.shown.clear();
    const bool changed = limit != restriction.lngOnlyBeforeThisJDN;
    EXPECT_EQ(RunEntering(month, day, year), changed);
    EXPECT_EQ(restriction.lngOnlyBeforeThisJDN, limit);
    ASSERT_EQ(dialogs.shown.size(), message.empty() ? 0u : 1u);
    if (message.empty()) continue;
    EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text, kButtonCaption + "|" + message);
    EXPECT_EQ(dialogs.shown[0].icon, icon);
  }
}

// Focus goes to Accept once month, day and year are given, the year trimmed.
TEST_F(OnlyBeforeCommand,
       ChoicesMoveTheFocusTheDialogOpensWithTheLimitAndClearRemovesItButCancelKeepsIt) {
  EXPECT_EQ(dialog.ChooseMonth(3), FocusAfterChoice::Unchanged);  // before the lists are loaded
  dialog.Load();
  // The lists begin with an empty entry.
  EXPECT_EQ(dialog.MonthNames().at(12) + dialog.DayNumbers().at(31), "December31");
  dialog.SetYearText("   ");
  EXPECT_EQ(dialog.ChooseMonth(3), FocusAfterChoice::Cancel);
  dialog.SetYearText(" 2005 ");
  EXPECT_EQ(dialog.ChooseDay(1), FocusAfterChoice::Accept);
  EXPECT_EQ(dialog.YearText(), "2005");
  restriction.lngOnlyBeforeThisJDN = kFirstOfMarch2005;
  // A dialog that went away without an answer counts as cancelled, not as the last answer.
  EXPECT_FALSE(OnlyBefore::Run(dialog, restriction, "", 0, [](DateInput& d) { d.Cancel(); }));
  EXPECT_TRUE(RunEntering(3, 2, "2005"));
  EXPECT_FALSE(OnlyBefore::Run(dialog, restriction, "", 0, [](DateInput& d) { d.Activate(); }));
  EXPECT_EQ(dialog.SelectedMonth() * 100 + dialog.SelectedDay(), 302);
  EXPECT_EQ(dialog.PromptCaption,
            "Specify date such that ONLY files with dates BEFORE this date will be purged.");
  EXPECT_TRUE(OnlyBefore::Run(dialog, restriction, "", 0, [](DateInput& d) { d.Clear(); }));
  EXPECT_EQ(restriction.lngOnlyBeforeThisJDN, 9000000);
  EXPECT_TRUE(restriction.Passes("/no/such/folder/file.txt"));
  OnlyBefore::Prepare(dialog, restriction, kButtonCaption, 0);
  dialog.Activate();
  EXPECT_EQ(dialog.SelectedMonth() + dialog.SelectedDay() + dialog.YearText().size(), 0u);
}
