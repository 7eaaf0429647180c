#include "operation/purge_confirmation_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "engine/cluster_size.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_options.h"
#include "support/temp_folder.h"

namespace {

// The dialog shows what PurgeConfirmationState holds (whose texts and boxes are tested with it)
// and passes the clicks to it.
class PurgeConfirmationDialog : public ::testing::Test {
 protected:
  void Open(const std::vector<std::string>& volumeWarnings = {}) {
    dialog.Open(options, confirmFiles, clusterSizes, drive.Path(),
                {{"slack\r\nof a", "all\r\nof a"}}, 5, true, volumeWarnings);
    dialog.show();
  }
  QCheckBox* Check(const char* name) { return dialog.findChild<QCheckBox*>(name); }
  QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  QString Label(const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

  TestSupport::TempFolder drive;
  DriveClusterSize clusterSizes{[](const std::string&, double&) { return std::int64_t{65536}; }};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  frmPurgeConfirmation dialog{state};
};

TEST_F(PurgeConfirmationDialog, ShowsTheStateAndItsWarningsAndPurgesWithTheChosenBoxes) {
  Open({"/mnt/ram keeps its files in memory.", "/mnt/ram is FUSE."});
  EXPECT_EQ(Label("lblMessage"), "all\nof a");
  EXPECT_EQ(Label("lblVolumeWarnings"), "/mnt/ram keeps its files in memory.\n/mnt/ram is FUSE.");
  EXPECT_LT(dialog.findChild<QLabel*>("lblVolumeWarnings")->geometry().bottom(),
            Check("chkDoNotDeletePurgedFiles")->y());
  EXPECT_EQ(Button("cmdDoPurge")->text(), "&Yes, purge these files");
  EXPECT_FALSE(Check("chkPurgeSlackOnly")->isVisible());
  Check("chkPurgeSlackOnly")->click();
  EXPECT_EQ(Label("lblMessage"), "slack\nof a");
  EXPECT_TRUE(Check("chkDoNotDeletePurgedFiles")->isChecked());
  EXPECT_FALSE(Check("chkDoNotDeletePurgedFiles")->isEnabled());
  EXPECT_FALSE(Check("chkDeleteEmptyFolders")->isVisible());
  Check("chkConfirmFiles")->click();
  auto* clusters = dialog.findChild<QComboBox*>("cboClusterSize");
  EXPECT_EQ(clusters->currentText(), "64 KB");
  clusters->setCurrentIndex(4);
  emit clusters->activated(4);
  EXPECT_EQ(dialog.focusWidget(), Button("cmdCancel"));
  QTest::mouseClick(Button("cmdDoPurge"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(options.blnConfirm && options.blnDoNotDeletePurgedFiles && confirmFiles);
  EXPECT_EQ(GetClusterSize(clusterSizes, drive.Path()), 8192);

  Open();
  EXPECT_FALSE(dialog.findChild<QLabel*>("lblVolumeWarnings")->isVisible());
  EXPECT_FALSE(Check("chkPurgeSlackOnly")->isChecked());
  EXPECT_TRUE(Check("chkDoNotDeletePurgedFiles")->isEnabled());
}

TEST_F(PurgeConfirmationDialog, EnterCancelsEvenAfterAnOptionWasClickedAndCancelChangesNoOption) {
  Open();
  QCheckBox* readOnly = Check("chkOKToPurgeReadOnlyFiles");
  // On the box itself, at the left of the wide control.
  QTest::mouseClick(readOnly, Qt::LeftButton, {}, QPoint(4, readOnly->height() / 2));
  EXPECT_TRUE(readOnly->isChecked());
  EXPECT_EQ(dialog.focusWidget(), Button("cmdCancel"));
  QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(options.blnConfirm || options.blnOKToPurgeReadOnlyFiles);
}

}  // namespace
