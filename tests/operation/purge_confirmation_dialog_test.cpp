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
  QString Label(const char* name) { return dialog.findChild<QLabel*>(name)->text(); }

  TestSupport::TempFolder drive;
  DriveClusterSize clusterSizes{[](const std::string&, double&) { return std::int64_t{65536}; }};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  frmPurgeConfirmation dialog{state};
};

// Each box's effect on the purge is checked with the other windows' controls.
TEST_F(PurgeConfirmationDialog, ShowsTheTextsOfTheStateAndEnterCancelsEvenAfterAClick) {
  Open({"/mnt/ram keeps its files in memory.", "/mnt/ram is FUSE."});
  EXPECT_EQ(Label("lblMessage"), "all\nof a");
  EXPECT_EQ(Label("lblVolumeWarnings"), "/mnt/ram keeps its files in memory.\n/mnt/ram is FUSE.");
  Check("chkPurgeSlackOnly")->click();
  EXPECT_EQ(Label("lblMessage"), "slack\nof a");
  Open();
  EXPECT_FALSE(dialog.findChild<QLabel*>("lblVolumeWarnings")->isVisible());
  Check("chkOKToPurgeReadOnlyFiles")->click();
  QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(options.blnConfirm || options.blnOKToPurgeReadOnlyFiles);
}

}  // namespace
