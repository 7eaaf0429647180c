// What a screen reader and the keyboard find in every window: a name for the window and for each
// control, and for each button a mnemonic that no other control of its window has.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
#include "setups/setup_panel_window.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "targets/select_subfolders_dialog.h"
#include "targets/specify_files.h"
#include "targets/specify_files_dialog.h"
#include "text/program_text.h"
#include "ui/mnemonic.h"

using namespace TestSupport;

namespace {

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
};

// Shows the named window as the program opens it and runs whileShown while it is shown.
void Show(const std::string& name, Program& p, const std::function<void(QWidget&)>& whileShown) {
  if (name == "PurgeConfirmation") {
    frmPurgeConfirmation dialog(p.confirmation);
    dialog.Open(p.options, p.confirmFiles, p.clusterSizes, p.folder.Path(),
                PurgeConfirmationTexts{{"slack only", "whole files"}}, 5, true);
    whileShown(dialog);
  } else if (name == "SpecifyFiles") {
    p.specifyFiles.Prepare("purge", true, p.folder.Path());
    frmSpecifyFiles dialog(p.specifyFiles, p.dialogs);
    whileShown(dialog);
  } else if (name == "SelectSubfolders") {
    std::filesystem::create_directories(p.folder / "s10");
    frmSelectSubfolders dialog(p.subfolders, p.folder.Path(), {}, p.dialogs);
    dialog.show();
    auto* reading = dialog.findChild<QLabel*>("lblReading");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reading->isHidden(); }));
    whileShown(dialog);
  } else if (name == "TypeOfPurge") {
    frmTypeOfPurge dialog(p.purgeType, p.dialogs);
    whileShown(dialog);
  } else if (name == "DateInput") {
    frmCEDateInput dialog(p.dateInput, p.dialogs);
    OnlyBefore::Prepare(p.dateInput, p.restriction, "Only files before ...", 0x000080);
    QTimer::singleShot(0, &dialog, [&] {
      whileShown(dialog);
      dialog.done(QDialog::Rejected);
    });
    dialog.ShowModally();
  } else {
    ASSERT_EQ(name, "SetupPanels");
    SetupPanels panels(p.mainWindow, p.settings, p.dialogs, p.remembered, p.folder / "next.usr");
    whileShown(*panels.fraSetup());
    whileShown(*panels.picSaveSetup());
  }
}

QString AccessibleName(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

using EveryWindow = ::testing::TestWithParam<std::string>;

TEST_P(EveryWindow, NamesEachControlAndGivesEachButtonAMnemonicOfItsOwn) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  Program program;
  Show(GetParam(), program, [](QWidget& window) {
    window.show();
    EXPECT_FALSE(AccessibleName(&window).isEmpty()) << window.objectName().toStdString();
    int controls = 0;
    std::map<QString, QString> owners;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      auto* label = qobject_cast<QLabel*>(widget);
      auto* button = qobject_cast<QAbstractButton*>(widget);
      // A control a user works with: not a label or frame, nor a part a control is made of.
      bool part = false;
      for (QWidget* above = widget->parentWidget(); above != &window; above = above->parentWidget())
        part = part || qobject_cast<QComboBox*>(above) || qobject_cast<QAbstractScrollArea*>(above);
      if (!part &&
          (button || qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QAbstractItemView*>(widget) || qobject_cast<QAbstractSlider*>(widget))) {
        ++controls;
        EXPECT_FALSE(AccessibleName(widget).isEmpty()) << widget->objectName().toStdString();
      }
      const QString text = button ? button->text() : label ? label->text() : QString();
      const QString key = Mnemonic::Of(text);
      EXPECT_TRUE(!key.isEmpty() || !qobject_cast<QPushButton*>(widget)) << text.toStdString();
      if (key.isEmpty()) continue;
      const auto [owner, fresh] = owners.emplace(key, text);
      EXPECT_TRUE(fresh) << text.toStdString() << " and " << owner->second.toStdString();
    }
    EXPECT_GE(controls, 3);
  });
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow,
                         ::testing::Values("PurgeConfirmation", "SpecifyFiles", "SelectSubfolders",
                                           "TypeOfPurge", "DateInput", "SetupPanels"),
                         [](const auto& shown) { return shown.param; });

}  // namespace
