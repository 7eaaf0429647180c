#include "dates/date_input_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dates/date_input.h"
#include "dates/date_restriction.h"
#include "support/scripted_dialogs.h"
#include "ui/twips.h"

namespace {

std::int32_t DayNumber(int year, int month, int day) {
  DatePr2::DateParts parts{year, month, day};
  return DatePr2::EuroDateToJdn(parts);
}

// The dialog as the "Only files before ..." command shows it.
class DateInputDialog : public ::testing::Test {
 protected:
  template <typename Control>
  Control* Find(const char* objectName) {
    return dialog.findChild<Control*>(objectName);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  void EnterDate(int month, int day, const QString& year) {
    Find<QComboBox>("cboMonthNames")->setCurrentIndex(month);
    Find<QComboBox>("cboDayNumbers")->setCurrentIndex(day);
    Find<QLineEdit>("txbYear")->setText(year);
  }

  // Runs whileShown in the modal dialog; a dialog left open fails the test.
  void ShowDialog(const std::function<void()>& whileShown, std::uint32_t backColor = 0x000080) {
    OnlyBefore::Prepare(state, restriction, "Only files before ...", backColor);
    QTimer::singleShot(0, &dialog, [&] {
      whileShown();
      EXPECT_FALSE(dialog.isVisible());
      dialog.done(QDialog::Rejected);
    });
    dialog.ShowModally();
  }

  DateInput state;
  DateRestriction restriction;
  TestSupport::ScriptedDialogs dialogs;
  frmCEDateInput dialog{state, dialogs};
};

TEST_F(DateInputDialog, OpensWithTheRestrictionsDateAndCancelKeepsIt) {
  restriction.lngOnlyBeforeThisJDN = DayNumber(2005, 3, 1);
  ShowDialog([&] {
    EXPECT_EQ(Find<QComboBox>("cboMonthNames")->currentText(), "March");
    EXPECT_EQ(Find<QComboBox>("cboDayNumbers")->currentText(), "1");
    EXPECT_EQ(Find<QLineEdit>("txbYear")->text(), "2005");
    EXPECT_EQ(Find<QPushButton>("cmdClear")->text(), "&Remove date restriction");
    EXPECT_EQ(dialog.focusWidget(), Find<QPushButton>("cmdCancel"));
    Click("cmdCancel");
  });
  EXPECT_EQ(state.DateInputResult, DateInputCancelled);
  EXPECT_FALSE(OnlyBefore::Apply(state, restriction));
}

// What the date boxes mean is tested in date_input_test.cpp; here, how the dialog answers them.
TEST_F(DateInputDialog, ARefusedDateKeepsTheDialogOpenAndEnterInTheYearBoxAccepts) {
  ShowDialog([&] {
    EnterDate(2, 29, " 20x05");
    Click("cmdAccept");
    EXPECT_EQ(Find<QLineEdit>("txbYear")->text(), "2005");
    EXPECT_TRUE(dialog.isVisible());
    EnterDate(12, 0, "2004");
    EXPECT_EQ(dialog.focusWidget(), Find<QPushButton>("cmdCancel"));
    Find<QComboBox>("cboDayNumbers")->setCurrentIndex(31);
    EXPECT_EQ(dialog.focusWidget(), Find<QPushButton>("cmdAccept"));
    QTest::keyClick(Find<QLineEdit>("txbYear"), Qt::Key_Return);
  });
  ASSERT_EQ(dialogs.shown.size(), 1U);
  EXPECT_EQ(dialogs.shown[0].text, "Date is invalid");
  EXPECT_EQ(dialogs.shown[0].title, "Only files before ...");
  EXPECT_EQ(state.DateInputResult, DateInputAccepted);
  EXPECT_EQ(state.DateJDN, DayNumber(2004, 12, 31));
}

TEST_F(DateInputDialog, ClearAndTheCloseBoxGiveTheirResults) {
  ShowDialog([&] { Click("cmdClear"); });
  EXPECT_EQ(state.DateInputResult, DateInputCleared);
  ShowDialog([&] {
    state.DateInputResult = DateInputAccepted;
    dialog.close();
  });
  EXPECT_EQ(state.DateInputResult, DateInputCancelled);
}

TEST_F(DateInputDialog, HasTheCommandsWidthAndAReadablePromptOnDarkAndLightBackgrounds) {
  for (const std::uint32_t backColor : {0x000080U, 0xF0F0F0U}) {
    ShowDialog(
        [&] {
          const QLabel* prompt = Find<QLabel>("lblPrompt");
          EXPECT_EQ(prompt->palette().color(QPalette::Window).rgb() & 0xFFFFFFU, backColor);
          EXPECT_EQ(prompt->palette().color(QPalette::WindowText),
                    QColor(backColor == 0x000080U ? Qt::white : Qt::black));
          EXPECT_GE(prompt->height(), prompt->heightForWidth(prompt->width()));
          EXPECT_EQ(dialog.width(), Twips::ToPixels(OnlyBefore::kDialogWidthTwips, &dialog));
          Click("cmdCancel");
        },
        backColor);
  }
}

}  // namespace
