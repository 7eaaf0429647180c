#include "targets/specify_files_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "targets/specify_files.h"

using namespace TestSupport;

namespace {

// The dialog as "Specify files" shows it, over a folder with two files.
class SpecifyFilesDialog : public ::testing::Test {
 protected:
  SpecifyFilesDialog() {
    WriteFile(folder / "b.txt", "b");
    WriteFile(folder / "A.DOC", "a");
  }

  template <typename Control>
  Control* Find(const char* objectName) {
    return dialog->findChild<Control*>(objectName);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QWidget>(name), Qt::LeftButton); }

  // Runs whileShown in the modal dialog and answers how it closed; a dialog left open fails.
  int ShowDialog(bool singleFileEnabled, const std::function<void()>& whileShown) {
    state.Prepare("purge", singleFileEnabled, folder.Path());
    dialog = std::make_unique<frmSpecifyFiles>(state, dialogs);
    QTimer::singleShot(0, dialog.get(), [&] {
      whileShown();
      EXPECT_FALSE(dialog->isVisible());
      if (dialog->isVisible()) dialog->done(-1);
    });
    return dialog->exec();
  }

  TempFolder folder;
  SpecifyFiles state;
  ScriptedDialogs dialogs;
  std::unique_ptr<frmSpecifyFiles> dialog;
};

}  // namespace

TEST_F(SpecifyFilesDialog, OpensWithCaptionsFilesAndFocusOnCancelAndCancelAcceptsNothing) {
  const int result = ShowDialog(true, [&] {
    EXPECT_EQ(Find<QRadioButton>("optSingleFile")->text(), "purge a &single file:");
    EXPECT_EQ(Find<QRadioButton>("optAllFiles")->text(), "purge all &files (*.*)");
    EXPECT_EQ(Find<QRadioButton>("optExtension")->text(),
              "purge all files with a particular &extension, e.g., txt or doc:");
    EXPECT_EQ(Find<QRadioButton>("optMultipleFiles")->text(),
              "purge all files satisfying a file s&pecification, e.g., a*.d*:");
    EXPECT_TRUE(Find<QRadioButton>("optSingleFile")->isChecked());
    auto* list = Find<QListWidget>("File");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "A.DOC");
    EXPECT_EQ(list->item(1)->text(), "b.txt");
    EXPECT_EQ(Find<QLineEdit>("txbExtension")->text(), "");
    EXPECT_EQ(dialog->focusWidget(), Find<QPushButton>("cmdCancel"));
    Click("cmdCancel");
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_FALSE(state.accepted);
}

TEST_F(SpecifyFilesDialog, WithoutTheSingleFileOptionItAndTheListAreDisabledAndAllFilesIsSet) {
  const int result = ShowDialog(false, [&] {
    EXPECT_FALSE(Find<QRadioButton>("optSingleFile")->isEnabled());
    EXPECT_FALSE(Find<QListWidget>("File")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>("optAllFiles")->isChecked());
    Click("cmdAccept");
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(state.ChosenFilespec(), "*.*");
}

TEST_F(SpecifyFilesDialog, ClicksLeadFromOptionsToTextBoxesAndFromFilesToAccept) {
  ShowDialog(true, [&] {
    Click("optExtension");
    EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>("txbExtension"));
    Click("txbFilespec");
    EXPECT_TRUE(Find<QRadioButton>("optMultipleFiles")->isChecked());
    auto* list = Find<QListWidget>("File");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(Find<QRadioButton>("optSingleFile")->isChecked());
    EXPECT_EQ(dialog->focusWidget(), Find<QPushButton>("cmdAccept"));
    Click("optMultipleFiles");
    EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>("txbFilespec"));
    QTest::keyClicks(Find<QLineEdit>("txbFilespec"), " b*.T?T ");
    QTest::keyClick(Find<QLineEdit>("txbFilespec"), Qt::Key_Return);
  });
  EXPECT_EQ(state.ChosenFilespec(), "b*.T?T");
}

TEST_F(SpecifyFilesDialog, EnterInTheExtensionBoxRefusesADotAndTakesTheExtensionAsTyped) {
  ShowDialog(true, [&] {
    Click("txbExtension");
    QTest::keyClicks(Find<QLineEdit>("txbExtension"), "tar.gz");
    QTest::keyClick(Find<QLineEdit>("txbExtension"), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialogs.shown.at(0).text, "Extension must not contain \".\".");
    Find<QLineEdit>("txbExtension")->clear();
    QTest::keyClicks(Find<QLineEdit>("txbExtension"), ".TXT");
    QTest::keyClick(Find<QLineEdit>("txbExtension"), Qt::Key_Enter);
  });
  EXPECT_EQ(state.ChosenFilespec(), "*.TXT");
}
