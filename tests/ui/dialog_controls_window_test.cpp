// Every dialog's boxes and options, as a keyboard, an assistive tool or the program itself
// changes them, and what a screen reader and the keyboard find in each window.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>

#include "dates/date_input.h"
#include "dates/date_input_dialog.h"
#include "dates/date_restriction.h"
#include "engine/cluster_size.h"
#include "engine/purge_type_choice.h"
#include "engine/type_of_purge_dialog.h"
#include "gui_support/fake_main_window.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_confirmation_dialog.h"
#include "operation/purge_options.h"
#include "operation/report_window.h"
#include "setups/setup_panel_window.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "targets/select_subfolders_dialog.h"
#include "targets/specify_files.h"
#include "targets/specify_files_dialog.h"
#include "text/program_text.h"
#include "ui/main_window.h"
#include "ui/mnemonic.h"
#include "ui/view_window.h"

using namespace TestSupport;

namespace {

const PurgeConfirmationTexts kTexts{{"slack only", "whole files"}};

// Everything the dialogs show and edit, fresh for each test.
struct Program {
  TempFolder folder;
  ScriptedDialogs dialogs;
  PurgeConfirmationState confirmation;
  PurgeOptions options;
  bool confirmFiles = false;
  DriveClusterSize clusterSizes{[](const std::string&, double&) { return std::int64_t{4096}; }};
  SpecifyFiles specifyFiles;
  PurgeTypeChoice purgeType;
  DateInput dateInput;
  DateRestriction restriction;
  SelectSubfolders subfolders;
  FakeMainWindow mainWindow;
  ProgramSettings settings;
  RememberedSetup remembered;

  Program() {
    std::filesystem::create_directories(folder / "s10");
    WriteFile(folder / "a.txt", "a");
  }
};

struct Shown {
  std::function<void(Program&, const std::function<void(QWidget&)>&)> show;
  const char* name;
};

void WaitForSubfolders(QWidget& dialog) {
  auto* reading = dialog.findChild<QLabel*>("lblReading");
  ASSERT_TRUE(QTest::qWaitFor([&] { return reading->isHidden(); }));
}

// Each window as the program opens it; the test runs while it is shown.
const Shown kWindows[] = {
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       frmPurgeConfirmation dialog(p.confirmation);
       dialog.Open(p.options, p.confirmFiles, p.clusterSizes, p.folder.Path(), kTexts, 5, true);
       dialog.show();
       whileShown(dialog);
     },
     "PurgeConfirmation"},
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       p.specifyFiles.Prepare("purge", true, p.folder.Path());
       frmSpecifyFiles dialog(p.specifyFiles, p.dialogs);
       dialog.show();
       whileShown(dialog);
     },
     "SpecifyFiles"},
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       frmSelectSubfolders dialog(p.subfolders, p.folder.Path(), {}, p.dialogs);
       dialog.show();
       WaitForSubfolders(dialog);
       whileShown(dialog);
     },
     "SelectSubfolders"},
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       frmTypeOfPurge dialog(p.purgeType, p.dialogs);
       dialog.show();
       whileShown(dialog);
     },
     "TypeOfPurge"},
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       frmCEDateInput dialog(p.dateInput, p.dialogs);
       OnlyBefore::Prepare(p.dateInput, p.restriction, "Only files before ...", 0x000080);
       QTimer::singleShot(0, &dialog, [&] {
         whileShown(dialog);
         dialog.done(QDialog::Rejected);
       });
       dialog.ShowModally();
     },
     "DateInput"},
    {[](Program& p, const std::function<void(QWidget&)>& whileShown) {
       SetupPanels panels(p.mainWindow, p.settings, p.dialogs, p.remembered, p.folder / "next.usr");
       whileShown(*panels.fraSetup());
       whileShown(*panels.picSaveSetup());
     },
     "SetupPanels"},
};

// A test of every window or control given, with the shipped program texts.
template <typename Param>
class WithProgramTexts : public ::testing::TestWithParam<Param> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  }
  Program program;
};

class DialogControls : public WithProgramTexts<Shown> {};

// The controls a user works with: not labels or frames, nor the parts a control is made of.
std::vector<QWidget*> Controls(QWidget& window) {
  std::vector<QWidget*> controls;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(widget) ||
                         qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                         qobject_cast<QAbstractItemView*>(widget) ||
                         qobject_cast<QAbstractSlider*>(widget);
    bool part = false;
    for (QWidget* above = widget->parentWidget(); above != &window; above = above->parentWidget())
      part = part || qobject_cast<QComboBox*>(above) || qobject_cast<QAbstractScrollArea*>(above);
    if (control && !part) controls.push_back(widget);
  }
  return controls;
}

TEST_P(DialogControls, EveryControlAndEveryWindowHasAnAccessibleName) {
  GetParam().show(program, [](QWidget& window) {
    const std::vector<QWidget*> controls = Controls(window);
    EXPECT_GE(controls.size(), 3u);
    for (QWidget* control : controls) {
      EXPECT_FALSE(
          QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
          << control->objectName().toStdString();
    }
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(&window)->text(QAccessible::Name).isEmpty())
        << window.objectName().toStdString();
  });
}

TEST_P(DialogControls, EveryButtonHasAMnemonicOfItsOwnInItsWindow) {
  GetParam().show(program, [](QWidget& window) {
    std::map<QString, QString> owners;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      auto* label = qobject_cast<QLabel*>(widget);
      auto* button = qobject_cast<QAbstractButton*>(widget);
      const QString text = button ? button->text() : label ? label->text() : QString();
      const QString key = Mnemonic::Of(text);
      if (qobject_cast<QPushButton*>(widget)) {
        EXPECT_FALSE(key.isEmpty()) << text.toStdString();
      }
      if (key.isEmpty()) continue;
      const auto [owner, fresh] = owners.emplace(key, text);
      EXPECT_TRUE(fresh) << text.toStdString() << " and " << owner->second.toStdString();
    }
  });
}

enum Window { kConfirmation, kSpecifyFiles, kSubfolders, kTypeOfPurge };
enum class Change { ByAssistiveTool, ByProgram };

void Press(QWidget& window, const char* button) {
  window.findChild<QPushButton*>(button)->click();
}

// A box or option button; the program's answer, once the window's button was pressed, to
// whether it is ticked.
struct Toggle {
  Window window;
  const char* control;
  std::function<bool(Program&, QWidget&)> acted;
  // Clicked before, so that the control has something to change.
  const char* first = nullptr;
};

void PrintTo(const Toggle& toggle, std::ostream* out) {
  *out << toggle.control;
}

std::function<bool(Program&, QWidget&)> Purged(bool PurgeOptions::*option) {
  return [option](Program& p, QWidget& window) {
    Press(window, "cmdDoPurge");
    return p.options.*option;
  };
}

std::function<bool(Program&, QWidget&)> Chosen(SpecifyFilesOption option) {
  return [option](Program& p, QWidget&) { return p.specifyFiles.SelectedOption() == option; };
}

std::function<bool(Program&, QWidget&)> TypeChosen(short type) {
  return [type](Program& p, QWidget&) { return p.purgeType.GetPurgeType() == type; };
}

const Toggle kToggles[] = {
    // The slack-only box keeps the purged files.
    {kConfirmation, "chkPurgeSlackOnly", Purged(&PurgeOptions::blnDoNotDeletePurgedFiles)},
    {kConfirmation, "chkDoNotDeletePurgedFiles", Purged(&PurgeOptions::blnDoNotDeletePurgedFiles)},
    {kConfirmation, "chkConfirmFiles",
     [](Program& p, QWidget& window) {
       Press(window, "cmdDoPurge");
       return p.confirmFiles;
     }},
    {kConfirmation, "chkOKToPurgeReadOnlyFiles", Purged(&PurgeOptions::blnOKToPurgeReadOnlyFiles)},
    {kConfirmation, "chkOKToPurgeSystemFiles", Purged(&PurgeOptions::blnOKToPurgeSystemFiles)},
    {kConfirmation, "chkOKToPurgeHardLinkedFiles",
     Purged(&PurgeOptions::blnOKToPurgeHardLinkedFiles)},
    {kConfirmation, "chkOKToPurgeSensitiveFiles",
     Purged(&PurgeOptions::blnOKToPurgeSensitiveFiles)},
    {kConfirmation, "chkFolderNamesOnly", Purged(&PurgeOptions::blnFolderNamesOnly)},
    {kConfirmation, "chkDeleteEmptyFolders", Purged(&PurgeOptions::blnDeleteEmptyFolders)},
    {kSpecifyFiles, "optSingleFile", Chosen(SpecifyFilesOption::SingleFile), "optAllFiles"},
    {kSpecifyFiles, "optAllFiles", Chosen(SpecifyFilesOption::AllFiles)},
    {kSpecifyFiles, "optExtension", Chosen(SpecifyFilesOption::Extension)},
    {kSpecifyFiles, "optMultipleFiles", Chosen(SpecifyFilesOption::MultipleFiles)},
    {kSubfolders, "chkSubfolder_0",
     [](Program&, QWidget& window) {
       Press(window, "cmdAccept");
       return static_cast<frmSelectSubfolders&>(window).result == std::vector<std::string>{"s10"};
     }},
    {kTypeOfPurge, "optPurgeType_0", TypeChosen(0), "optPurgeType_1"},
    {kTypeOfPurge, "optPurgeType_1", TypeChosen(1), "optPurgeType_2"},
    {kTypeOfPurge, "optPurgeType_2", TypeChosen(2), "optPurgeType_0"},
};

class ToggledWithoutAClick : public WithProgramTexts<std::tuple<Toggle, Change>> {};

TEST_P(ToggledWithoutAClick, TheProgramActsOnTheStateTheControlShows) {
  const auto& [toggle, change] = GetParam();
  kWindows[toggle.window].show(program, [&](QWidget& window) {
    if (toggle.first != nullptr) window.findChild<QAbstractButton*>(toggle.first)->click();
    auto* control = window.findChild<QAbstractButton*>(toggle.control);
    ASSERT_NE(control, nullptr) << toggle.control;
    const bool before = control->isChecked();
    if (change == Change::ByAssistiveTool) {
      QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
          QAccessibleActionInterface::toggleAction());
    } else {
      control->setChecked(!before);
    }
    const bool shown = control->isChecked();
    EXPECT_NE(shown, before);
    EXPECT_EQ(toggle.acted(program, window), shown);
  });
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ToggledWithoutAClick,
    ::testing::Combine(::testing::ValuesIn(kToggles),
                       ::testing::Values(Change::ByAssistiveTool, Change::ByProgram)),
    [](const auto& toggle) {
      return std::string(std::get<0>(toggle.param).control) +
             (std::get<1>(toggle.param) == Change::ByProgram ? "_ByProgram" : "_ByAssistiveTool");
    });

TEST(TopLevelWindows, AreToldToAssistiveToolsAsWindows) {
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  frmMain main(settings, dialogs);
  frmReport report;
  frmView view;
  for (QWidget* window :
       {static_cast<QWidget*>(&main), static_cast<QWidget*>(&report), static_cast<QWidget*>(&view)})
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window)
        << window->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, DialogControls, ::testing::ValuesIn(kWindows),
                         [](const auto& shown) { return std::string(shown.param.name); });

}  // namespace
