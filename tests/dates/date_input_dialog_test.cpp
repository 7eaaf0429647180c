#include "dates/date_input_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dates/date_input.h"
#include "dates/date_restriction.h"
#include "support/scripted_dialogs.h"

namespace {

// The dialog as the "Only files before ..." command shows it; what its boxes mean is tested in
// date_input_test.cpp.
class DateInputDialog : public ::testing::Test {
 protected:
  template <typename Control>
  Control* Find(const char* objectName) {
    return dialog.findChild<Control*>(objectName);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }

  // Runs whileShown in the modal dialog; a dialog left open fails the test.
  void ShowDialog(const std::function<void()>& whileShown) {
    OnlyBefore::Prepare(state, restriction, "Only files before ...", 0x000080);
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

TEST_F(DateInputDialog, ShowsTheDateARefusalKeepsItOpenEnterAcceptsClearAndCancelGiveTheirResults) {
  restriction.lngOnlyBeforeThisJDN = 2453431;  // 1 March 2005
  ShowDialog([&] {
    EXPECT_EQ(Find<QComboBox>("cboMonthNames")->currentText(), "March");
    EXPECT_EQ(Find<QComboBox>("cboDayNumbers")->currentText(), "1");
    Find<QComboBox>("cboMonthNames")->setCurrentIndex(2);
    Find<QComboBox>("cboDayNumbers")->setCurrentIndex(29);
    Find<QLineEdit>("txbYear")->setText(" 20x05");
    Click("cmdAccept");  // 29 February 2005 is refused
    EXPECT_TRUE(dialog.isVisible());
    Find<QLineEdit>("txbYear")->setText("2004");
    QTest::keyClick(Find<QLineEdit>("txbYear"), Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.shown.size(), 1U);
  EXPECT_EQ(state.DateInputResult, DateInputAccepted);
  EXPECT_EQ(state.DateJDN, 2453065);  // 29 February 2004
  ShowDialog([&] { Click("cmdClear"); });
  EXPECT_EQ(state.DateInputResult, DateInputCleared);
  ShowDialog([&] {
    state.DateInputResult = DateInputAccepted;
    Click("cmdCancel");
  });
  EXPECT_EQ(state.DateInputResult, DateInputCancelled);
}

}  // namespace
