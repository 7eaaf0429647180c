#include "operation/purge_confirmation_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include "engine/cluster_size.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_options.h"

// The dialog shows what PurgeConfirmationState holds (whose texts and boxes are tested with it)
// and passes the clicks to it; each box's effect on the purge is checked with the other windows'
// controls.
TEST(PurgeConfirmationDialog, ShowsTheTextsOfTheStateAndEnterCancelsEvenAfterAClick) {
  DriveClusterSize sizes{[](const std::string&, double&) { return std::int64_t{65536}; }};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirm = false;
  frmPurgeConfirmation dialog{state};
  const auto open = [&](const std::vector<std::string>& warnings) {
    dialog.Open(options, confirm, sizes, "/", {{"slack\r\nof", "all\r\nof"}}, 5, true, warnings);
    dialog.show();
  };
  const auto label = [&](const char* name) { return dialog.findChild<QLabel*>(name); };
  open({"/ram is in memory.", "/ram is FUSE."});
  EXPECT_EQ(label("lblMessage")->text(), "all\nof");
  EXPECT_EQ(label("lblVolumeWarnings")->text(), "/ram is in memory.\n/ram is FUSE.");
  dialog.findChild<QCheckBox*>("chkPurgeSlackOnly")->click();
  EXPECT_EQ(label("lblMessage")->text(), "slack\nof");
  open({});
  EXPECT_FALSE(label("lblVolumeWarnings")->isVisible());
  dialog.findChild<QCheckBox*>("chkOKToPurgeReadOnlyFiles")->click();
  QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(options.blnConfirm || options.blnOKToPurgeReadOnlyFiles);
}
