#include "operation/purge_confirmation_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/cluster_size.h"
#include "gui_support/fake_main_window.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_options.h"
#include "support/temp_folder.h"
#include "ui/twips.h"

namespace {

const PurgeConfirmationTexts kTexts{
    {"Are you sure that you want to purge the slack area of the file\r\n/tmp/a.txt ?",
     "Are you sure that you want to purge the file\r\n/tmp/a.txt ?\r\n"
     "This will permanently destroy all data in this file."}};

class PurgeConfirmationDialog : public ::testing::Test {
 protected:
  void Open(bool subfolders, std::int32_t filesInFolder = 5,
            const PurgeConfirmationTexts& texts = kTexts,
            const std::vector<std::string>& volumeWarnings = {}) {
    dialog.Open(options, confirmFiles, clusterSizes, drive.Path(), texts, filesInFolder, subfolders,
                volumeWarnings);
    dialog.show();
  }
  QCheckBox* Check(const char* name) { return dialog.findChild<QCheckBox*>(name); }
  QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  QComboBox* ClusterList() { return dialog.findChild<QComboBox*>("cboClusterSize"); }
  QString Message() { return dialog.findChild<QLabel*>("lblMessage")->text(); }
  void Purge() { QTest::mouseClick(Button("cmdDoPurge"), Qt::LeftButton); }

  TestSupport::TempFolder drive;
  std::int64_t driveClusterSize = 65536;
  DriveClusterSize clusterSizes{[this](const std::string&, double&) { return driveClusterSize; }};
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  frmPurgeConfirmation dialog{state};
};

TEST_F(PurgeConfirmationDialog,
       SlackOnlyKeepsTheFilesWhileTickedAndTheNextOpeningShowsTheBoxAsBefore) {
  Open(true);
  QCheckBox* slackOnly = Check("chkPurgeSlackOnly");
  QCheckBox* doNotDelete = Check("chkDoNotDeletePurgedFiles");
  EXPECT_FALSE(slackOnly->isVisible());
  EXPECT_EQ(Message(),
            "Are you sure that you want to purge the file\n/tmp/a.txt ?\n"
            "This will permanently destroy all data in this file.");
  slackOnly->click();
  EXPECT_TRUE(doNotDelete->isChecked());
  EXPECT_FALSE(doNotDelete->isEnabled());
  EXPECT_FALSE(Check("chkDeleteEmptyFolders")->isVisible());
  EXPECT_EQ(Message(),
            "Are you sure that you want to purge the slack area of the file\n/tmp/a.txt ?");
  slackOnly->click();
  EXPECT_FALSE(doNotDelete->isChecked());
  EXPECT_TRUE(doNotDelete->isEnabled());
  EXPECT_TRUE(Check("chkDeleteEmptyFolders")->isVisible());

  slackOnly->click();
  Purge();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(options.blnConfirm);
  EXPECT_TRUE(options.blnDoNotDeletePurgedFiles);
  EXPECT_FALSE(options.blnPurgeSlackOnly);
  Open(true);
  EXPECT_FALSE(slackOnly->isChecked());
  EXPECT_FALSE(doNotDelete->isChecked());
  EXPECT_TRUE(doNotDelete->isEnabled());
}

TEST_F(PurgeConfirmationDialog, WithoutSubfoldersEmptyFoldersAreNeitherOfferedNorDeleted) {
  Open(false, 1);
  EXPECT_FALSE(Check("chkDeleteEmptyFolders")->isVisible());
  EXPECT_EQ(Button("cmdDoPurge")->text(), "&Yes, purge this file");
  Check("chkConfirmFiles")->click();
  Check("chkOKToPurgeHardLinkedFiles")->click();
  Purge();
  EXPECT_FALSE(options.blnDeleteEmptyFolders);
  EXPECT_TRUE(options.blnFolderNamesOnly);
  EXPECT_TRUE(confirmFiles);
  EXPECT_TRUE(options.blnOKToPurgeHardLinkedFiles);

  Open(true, 1);
  EXPECT_TRUE(Check("chkDeleteEmptyFolders")->isVisible());
  EXPECT_FALSE(Check("chkDeleteEmptyFolders")->isChecked());
  EXPECT_EQ(Button("cmdDoPurge")->text(), "&Yes, purge these files");
}

TEST_F(PurgeConfirmationDialog, TheMessageAndTheBoxesStandOneBelowTheOtherWhollyShown) {
  const std::string longMessage =
      kTexts.element[1] +
      "\r\n\r\n3 of these files have other names (hard links) that may lie outside what you "
      "chose; they are not purged unless \"Purge files that have other names (hard links)\" is "
      "ticked.";
  Open(true, 5, {{kTexts.element[0], longMessage}});
  EXPECT_EQ(Check("chkOKToPurgeHardLinkedFiles")->text(),
            "Purge files that have other names (&hard links)");
  const auto* message = dialog.findChild<QLabel*>("lblMessage");
  EXPECT_GE(message->height(), message->heightForWidth(message->width()));
  const QWidget* above = message;
  for (const char* name :
       {"chkDoNotDeletePurgedFiles", "chkConfirmFiles", "chkOKToPurgeReadOnlyFiles",
        "chkOKToPurgeSystemFiles", "chkOKToPurgeHardLinkedFiles", "chkOKToPurgeSensitiveFiles",
        "chkFolderNamesOnly", "chkDeleteEmptyFolders", "cmdCancel"}) {
    const QWidget* control = dialog.findChild<QWidget*>(name);
    EXPECT_GT(control->y(), above->geometry().bottom()) << name;
    EXPECT_LE(control->sizeHint().width(), control->width()) << name;
    EXPECT_LE(control->geometry().bottom(), dialog.height()) << name;
    above = control;
  }
}

TEST_F(PurgeConfirmationDialog, TheDrivesWarningsStandBelowTheMessageAndOnlyWhenThereAreAny) {
  Open(true, 5, kTexts,
       {"/mnt/ram (tmpfs) keeps its files in memory.", "/mnt/ram (tmpfs) is a FUSE file system."});
  const auto* message = dialog.findChild<QLabel*>("lblMessage");
  const auto* warnings = dialog.findChild<QLabel*>("lblVolumeWarnings");
  EXPECT_EQ(Message(),
            "Are you sure that you want to purge the file\n/tmp/a.txt ?\n"
            "This will permanently destroy all data in this file.");
  EXPECT_TRUE(warnings->isVisible());
  EXPECT_EQ(warnings->text(),
            "/mnt/ram (tmpfs) keeps its files in memory.\n/mnt/ram (tmpfs) is a FUSE file system.");
  EXPECT_GT(warnings->y(), message->geometry().bottom());
  EXPECT_LT(warnings->geometry().bottom(), Check("chkDoNotDeletePurgedFiles")->y());

  QTest::mouseClick(Button("cmdCancel"), Qt::LeftButton);
  Open(true);
  EXPECT_FALSE(warnings->isVisible());
  EXPECT_EQ(warnings->text(), "");
}

TEST_F(PurgeConfirmationDialog, TheDrivesClusterSizeIsSelectedAndTheChosenOneIsKeptOnPurge) {
  Open(false);
  EXPECT_FALSE(dialog.findChild<QWidget*>("fraClusterSize")->isVisible());
  EXPECT_EQ(ClusterList()->currentText(), "64 KB");
  ClusterList()->setCurrentIndex(4);
  emit ClusterList()->activated(4);
  EXPECT_EQ(dialog.focusWidget(), Button("cmdCancel"));
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, drive.Path()), 8192);
}

TEST_F(PurgeConfirmationDialog, AnUnlistedClusterSizeSelectsNothingAndIsLeftAsItIs) {
  driveClusterSize = 3072;
  Open(false);
  EXPECT_EQ(ClusterList()->currentIndex(), -1);
  Purge();
  EXPECT_EQ(GetClusterSize(clusterSizes, drive.Path()), 3072);
}

TEST_F(PurgeConfirmationDialog, EnterCancelsEvenAfterAnOptionWasClickedAndCancelChangesNoOption) {
  Open(true);
  EXPECT_EQ(dialog.focusWidget(), Button("cmdCancel"));
  QCheckBox* readOnly = Check("chkOKToPurgeReadOnlyFiles");
  // On the box itself, at the left of the wide control.
  QTest::mouseClick(readOnly, Qt::LeftButton, {}, QPoint(4, readOnly->height() / 2));
  EXPECT_TRUE(readOnly->isChecked());
  EXPECT_EQ(dialog.focusWidget(), Button("cmdCancel"));
  QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(options.blnConfirm);
  EXPECT_FALSE(options.blnOKToPurgeReadOnlyFiles);
  EXPECT_EQ(Message(), "");
}

TEST(ShowPurgeConfirmation, OpensBesideTheMenuBelowThePurgeButtonAndAnswersTheUsersChoice) {
  TestSupport::FakeMainWindow main;
  auto* process = new QPushButton(QStringLiteral("Purge files"), main.fraMenu);
  process->setObjectName(QStringLiteral("cmdProcessFiles_1"));
  process->setGeometry(0, 200, 150, 30);
  main.show();
  TestSupport::TempFolder drive;
  DriveClusterSize clusterSizes;
  PurgeConfirmationState state;
  PurgeOptions options;
  bool confirmFiles = false;
  const QPoint origin = main.mapToGlobal(QPoint(0, 0));
  const QPoint expected(origin.x() + 30 + 180 + Twips::ToPixels(50, &main),
                        origin.y() + 60 + 200 + Twips::ToPixels(330, &main));

  for (const std::string button : {"cmdDoPurge", "cmdCancel"}) {
    QPoint shownAt;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      shownAt = dialog->pos();
      dialog->findChild<QPushButton*>(QString::fromStdString(button))->click();
    });
    EXPECT_EQ(ShowPurgeConfirmation(state, options, confirmFiles, clusterSizes, drive.Path(),
                                    kTexts, 3, false, &main),
              button == "cmdDoPurge");
    EXPECT_EQ(shownAt, expected);
  }
}

}  // namespace
