#include "targets/select_subfolders_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "support/native_path.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

// Waits until the modal dialog on the screen has read its list, then runs whileShown in it.
void WhenRead(const std::function<void(QDialog&)>& whileShown) {
  QTimer::singleShot(0, [whileShown] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->findChild<QLabel*>("lblReading")->isHidden(); }));
    whileShown(*dialog);
    EXPECT_FALSE(dialog->isVisible()) << "the dialog stayed open";
    if (dialog->isVisible()) dialog->done(QDialog::Rejected);
  });
}

// Twelve empty subfolders, s10 to s21.
class SelectSubfoldersDialog : public ::testing::Test {
 protected:
  SelectSubfoldersDialog() {
    for (int i = 10; i < 22; ++i) MakeFolders(folder / ("s" + std::to_string(i)));
  }
  std::optional<std::vector<std::string>> Run(const std::string& parent) {
    return RunSubfolderSelection(parent, "Select subfolders", memory, dialogs, nullptr);
  }
  TempFolder folder;
  SubfolderSelectionMemory memory;
  ScriptedDialogs dialogs;
};

}  // namespace

// Closing otherwise than by a button is refused; Cancel keeps the last selection; an unreadable
// folder is told, and cancels the selection.
TEST_F(SelectSubfoldersDialog, ItsButtonsBoxesAndScrollBarActOnTheListAndOnlyAcceptOrCancelCloseIt) {
  memory.Remember(folder.Path(), {"s11"});
  WhenRead([&](QDialog& dialog) {
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("chkSubfolder_1")->isChecked());
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.findChild<QWidget*>("cmdCancel"), Qt::LeftButton);
  });
  EXPECT_FALSE(Run(folder.Path()).has_value());
  EXPECT_EQ(memory.SelectedSubfolders, (std::vector<std::string>{folder / "s11"}));
  WhenRead([&](QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QWidget*>("cmdSelectDeselectAllSubfolders_1"), Qt::LeftButton);
    EXPECT_EQ(dialog.findChild<QLabel*>("lblNumSubfolders")->text(),
              "All 12 subfolders selected.\nA total of 0 bytes.");
    QTest::mouseClick(dialog.findChild<QWidget*>("cmdSelectDeselectAllSubfolders_0"), Qt::LeftButton);
    dialog.findChild<QScrollBar*>("vsbSubfolders")->setValue(1);
    auto* second = dialog.findChild<QCheckBox*>("chkSubfolder_1");
    EXPECT_EQ(second->text(), "s12 {no files and no subfolders}");
    QTest::mouseClick(second, Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QWidget*>("cmdAccept"), Qt::LeftButton);
  });
  EXPECT_EQ(Run(folder.Path()), (std::vector<std::string>{folder / "s12"}));
  EXPECT_EQ(memory.SelectedSubfolders, (std::vector<std::string>{folder / "s12"}));
  EXPECT_FALSE(Run(folder / "gone").has_value());
  std::string shown;
  for (const MessageBoxRequest& box : dialogs.shown) shown += box.title + ": " + box.text + "\n";
  const std::string refused =
      "Select Folders: Please exit this window only by clicking on 'Accept' or 'Cancel'.\n";
  EXPECT_EQ(shown, refused + refused + "Folder selection: Selection cancelled.\n" +
                       "Select subfolders: No such file or directory\n" +
                       "Folder selection: Selection cancelled.\n");
}
