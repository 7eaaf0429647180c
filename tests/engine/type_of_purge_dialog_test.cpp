#include "engine/type_of_purge_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <tuple>

#include "engine/purge_type_choice.h"
#include "engine/purge_type_texts.h"
#include "support/scripted_dialogs.h"
#include "text/program_text.h"

namespace {

TEST(TypeOfPurgeDialog, TheChosenTypeShowsItsListAcceptAsksAndOnlyYesClosesCancelRestores) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  PurgeTypeChoice choice;
  TestSupport::ScriptedDialogs dialogs;
  frmTypeOfPurge dialog{choice, dialogs};
  dialog.show();
  const auto list = [&](int type) {
    return dialog.findChild<QComboBox*>(QStringLiteral("cboNumberOfPasses_%1").arg(type));
  };
  const auto choose = [&](int type, int passesIndex) {
    dialog.findChild<QRadioButton*>(QStringLiteral("optPurgeType_%1").arg(type))->click();
    list(type)->setCurrentIndex(passesIndex);
  };
  choose(2, 3);
  for (int type = 0; type < 3; ++type) EXPECT_EQ(list(type)->isVisible(), type == 2);
  dialogs.Answer(MessageAnswer::No);
  dialogs.Answer(MessageAnswer::Yes);
  auto* accept = dialog.findChild<QPushButton*>("cmdAccept");
  accept->click();
  EXPECT_TRUE(dialog.isVisible());
  accept->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(dialogs.shown.size(), 2U);
  EXPECT_EQ(dialogs.shown[0].text, AcceptQuestion(24).text);
  EXPECT_EQ(dialogs.shown[0].title, Language2::GetText(23));

  dialog.show();
  choose(1, 7);
  dialog.findChild<QPushButton*>("cmdCancel")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  // The type and its passes are restored; the list keeps its new selection.
  EXPECT_EQ(std::tuple(choice.GetPurgeType(), choice.GetNumberOfPasses(), choice.SelectedIndex(1)),
            std::tuple(2, 4, 7));
}

}  // namespace
