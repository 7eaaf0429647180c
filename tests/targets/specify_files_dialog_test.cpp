#include "targets/specify_files_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "targets/specify_files.h"

using namespace TestSupport;

namespace {

// The dialog as "Specify files" shows it, over a folder.
class SpecifyFilesDialog : public ::testing::Test {
 protected:
  template <typename Control = QWidget>
  Control* Find(const char* name) { return dialog->findChild<Control*>(name); }
  void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

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

// Without a single file offered the list is disabled. Clicking a box or a file chooses its option;
// a refused extension keeps the dialog open.
TEST_F(SpecifyFilesDialog, ClickingAFileOrABoxChoosesItsOptionAndAcceptIsRefusedForABadExtension) {
  for (const char* name : {"b.txt", "A.DOC"}) WriteFile(folder / name, name);
  EXPECT_EQ(ShowDialog(false, [&] {
              EXPECT_FALSE(Find<QListWidget>("File")->isEnabled());
              Click("cmdCancel");
            }),
            QDialog::Rejected);
  const int closed = ShowDialog(true, [&] {
    Click("txbFilespec");
    EXPECT_TRUE(Find<QRadioButton>("optMultipleFiles")->isChecked());
    auto* list = Find<QListWidget>("File");
    ASSERT_EQ(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_TRUE(Find<QRadioButton>("optSingleFile")->isChecked());
    Click("txbExtension");
    QTest::keyClicks(Find<QLineEdit>("txbExtension"), "tar.gz");
    QTest::keyClick(Find<QLineEdit>("txbExtension"), Qt::Key_Enter);
    QTest::keyClick(Find<QLineEdit>("txbExtension"), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialogs.shown.size(), 2u) << "Enter and Return each try to accept";
    Click("optMultipleFiles");
    QTest::keyClicks(Find<QLineEdit>("txbFilespec"), " b*.T?T ");
    Click("cmdAccept");
  });
  EXPECT_EQ(closed, QDialog::Accepted);
  EXPECT_EQ(state.ChosenFilespec(), "b*.T?T");
}
