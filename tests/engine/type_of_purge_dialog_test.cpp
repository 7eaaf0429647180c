#include "engine/type_of_purge_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "engine/purge_type_choice.h"
#include "engine/purge_type_texts.h"
#include "support/scripted_dialogs.h"
#include "text/program_text.h"

namespace {

class TypeOfPurgeDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  }
  void SetUp() override { dialog.show(); }

  QRadioButton* Option(int type) {
    return dialog.findChild<QRadioButton*>(QStringLiteral("optPurgeType_%1").arg(type));
  }
  QComboBox* List(int type) {
    return dialog.findChild<QComboBox*>(QStringLiteral("cboNumberOfPasses_%1").arg(type));
  }
  QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  void Choose(int type, int passesIndex) {
    Option(type)->click();
    List(type)->setCurrentIndex(passesIndex);
  }

  PurgeTypeChoice choice;
  TestSupport::ScriptedDialogs dialogs;
  frmTypeOfPurge dialog{choice, dialogs};
};

TEST_F(TypeOfPurgeDialog, OnlyTheChosenTypesListIsVisibleAndTheFocusGoesToAccept) {
  EXPECT_EQ(List(2)->count(), 4);
  for (int type : {2, 1, 0}) {
    Option(type)->click();
    EXPECT_EQ(choice.GetPurgeType(), type);
    for (int list = 0; list < 3; ++list) EXPECT_EQ(List(list)->isVisible(), list == type);
    EXPECT_EQ(dialog.focusWidget(), Button("cmdAccept"));
  }
  Button("cmdCancel")->setFocus();
  QTest::keyClick(List(0), Qt::Key_Down);
  EXPECT_EQ(choice.GetNumberOfPasses(), 7);
  EXPECT_EQ(dialog.focusWidget(), Button("cmdAccept"));
}

TEST_F(TypeOfPurgeDialog, AcceptAsksAboutTwentyFourOverwritesAndOnlyYesCloses) {
  Choose(2, 3);
  dialogs.Answer(MessageAnswer::No);
  QTest::mouseClick(Button("cmdAccept"), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(choice.GetPurgeType(), 2);
  EXPECT_EQ(choice.GetNumberOfPasses(), 4);

  dialogs.Answer(MessageAnswer::Yes);
  QTest::mouseClick(Button("cmdAccept"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(dialogs.shown.size(), 2U);
  EXPECT_EQ(dialogs.shown[0].text, AcceptQuestion(24).text);
  EXPECT_EQ(dialogs.shown[0].title, Language2::GetText(23));
  EXPECT_FALSE(dialogs.shown[0].title.empty());
  EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
}

TEST_F(TypeOfPurgeDialog, CancelAndTheCloseBoxRestoreTheTypeButKeepTheNewListSelections) {
  Choose(2, 0);
  QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(2), 0);
  EXPECT_TRUE(Option(0)->isChecked());

  dialog.show();
  Choose(1, 7);
  dialog.close();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(1), 7);

  ASSERT_TRUE(choice.RestoreFromSetup(1, 3));
  dialog.show();
  EXPECT_TRUE(Option(1)->isChecked());
  EXPECT_EQ(List(1)->currentText(), "3");
}

}  // namespace
