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

#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

void MakeFolders(const TempFolder& folder, int count) {
  for (int i = 0; i < count; ++i)
    std::filesystem::create_directories(folder / ("s" + std::to_string(10 + i)));
}

// Waits until the modal dialog on the screen has read its list, then runs whileShown in it.
void WhenRead(const std::function<void(QDialog&)>& whileShown) {
  QTimer::singleShot(0, [whileShown] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* reading = dialog->findChild<QLabel*>("lblReading");
    EXPECT_TRUE(QTest::qWaitFor([&] { return reading->isHidden(); }));
    whileShown(*dialog);
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog stayed open";
      dialog->done(QDialog::Rejected);
    }
  });
}

void Click(QDialog& dialog, const char* name) {
  QTest::mouseClick(dialog.findChild<QWidget*>(name), Qt::LeftButton);
}

class SelectSubfoldersDialog : public ::testing::Test {
 protected:
  std::optional<std::vector<std::string>> Run() {
    return RunSubfolderSelection(folder.Path(),
                                 "Select subfolders of " + folder.Path() + " to be purged.", memory,
                                 dialogs, nullptr);
  }
  TempFolder folder;
  SubfolderSelectionMemory memory;
  ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(SelectSubfoldersDialog, ItsButtonsBoxesAndScrollBarActOnTheListAndAcceptGivesTheChecked) {
  MakeFolders(folder, 12);
  WhenRead([&](QDialog& dialog) {
    auto* label = dialog.findChild<QLabel*>("lblNumSubfolders");
    Click(dialog, "cmdSelectDeselectAllSubfolders_1");
    EXPECT_EQ(label->text(), "All 12 subfolders selected.\nA total of 0 bytes.");
    Click(dialog, "cmdSelectDeselectAllSubfolders_0");
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("chkSubfolder_5")->isChecked());
    dialog.findChild<QScrollBar*>("vsbSubfolders")->setValue(1);
    auto* top = dialog.findChild<QCheckBox*>("chkSubfolder_0");
    EXPECT_EQ(top->text(), "s11 {no files and no subfolders}");
    QTest::mouseClick(top, Qt::LeftButton);
    Click(dialog, "cmdAccept");
  });
  EXPECT_EQ(Run(), (std::vector<std::string>{folder / "s11"}));
  EXPECT_EQ(memory.SelectionParent, folder.Path());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SelectSubfoldersDialog, ClosingOtherwiseIsRefusedAndCancelKeepsTheLastSelection) {
  MakeFolders(folder, 2);
  memory.Remember(folder.Path(), {"s11"});
  WhenRead([&](QDialog& dialog) {
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("chkSubfolder_1")->isChecked());
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    Click(dialog, "cmdCancel");
  });
  EXPECT_FALSE(Run().has_value());
  ASSERT_EQ(dialogs.shown.size(), 3u);
  for (std::size_t i : {0u, 1u}) {
    EXPECT_EQ(dialogs.shown[i].title, "Select Folders");
    EXPECT_EQ(dialogs.shown[i].text,
              "Please exit this window only by clicking on 'Accept' or 'Cancel'.");
  }
  EXPECT_EQ(dialogs.shown[2].title, "Folder selection");
  EXPECT_EQ(dialogs.shown[2].text, "Selection cancelled.");
  EXPECT_EQ(memory.SelectedSubfolders, (std::vector<std::string>{folder / "s11"}));
}

TEST_F(SelectSubfoldersDialog, AnUnreadableFolderIsToldAndCancelsTheSelection) {
  EXPECT_FALSE(
      RunSubfolderSelection(folder / "gone", "Select subfolders", memory, dialogs, nullptr));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].title + ": " + dialogs.shown[0].text,
            "Select subfolders: No such file or directory");
  EXPECT_EQ(dialogs.shown[1].text, "Selection cancelled.");
}
