#include "operation/purge_confirmation_state.h"

namespace {

constexpr int kSlackOnlyMessage = 0;
constexpr int kNormalMessage = 1;

}  // namespace

PurgeConfirmationState::PurgeConfirmationState() {
  // The slack-only box is never shown: whole files are the only thing a run purges.
  At(Box::chkPurgeSlackOnly).visible = false;
  At(Box::chkFolderNamesOnly).ticked = true;
  At(Box::chkDeleteEmptyFolders).ticked = true;
}

void PurgeConfirmationState::Show(PurgeOptions& options, const PurgeConfirmationTexts& texts,
                                  bool subfolders, std::int32_t filesInFolder,
                                  std::int32_t clusterSize) {
  texts_ = texts;
  subfolders_ = subfolders;
  // A slack-only box ticked by a loaded setup is undone first, so that what is remembered is the
  // box's own state and not the one slack-only forced on it.
  SetSlackOnly(false);
  doNotDeleteRemembered_ = Get(Box::chkDoNotDeletePurgedFiles).ticked;
  clusterSizeFrameVisible_ = false;
  options.blnConfirm = false;
  message_ = texts_.element[kNormalMessage];

  doPurgeText_ = DoPurgeCaption(filesInFolder, subfolders);

  OptionBox& deleteEmptyFolders = At(Box::chkDeleteEmptyFolders);
  if (!subfolders) deleteEmptyFolders.ticked = false;
  deleteEmptyFolders.visible = subfolders;

  selectedClusterSize_ = ClusterSizeEntryIndex(clusterSize);
  fileSystemLabelVisible_ = false;
  visible_ = true;
  cancelFocus_ = true;
}

void PurgeConfirmationState::SetTicked(Box box, bool ticked) {
  if (box == Box::chkPurgeSlackOnly) {
    SetSlackOnly(ticked);
  } else if (box == Box::chkDoNotDeletePurgedFiles && Get(Box::chkPurgeSlackOnly).ticked) {
    doNotDeleteRemembered_ = ticked;
  } else {
    At(box).ticked = ticked;
  }
  ReturnFocusToCancel();
}

void PurgeConfirmationState::SetSlackOnly(bool ticked) {
  OptionBox& slackOnly = At(Box::chkPurgeSlackOnly);
  if (slackOnly.ticked == ticked) return;
  slackOnly.ticked = ticked;

  OptionBox& doNotDelete = At(Box::chkDoNotDeletePurgedFiles);
  if (ticked) {
    doNotDeleteRemembered_ = doNotDelete.ticked;
    doNotDelete.ticked = true;
    doNotDelete.enabled = false;
    message_ = texts_.element[kSlackOnlyMessage];
    At(Box::chkDeleteEmptyFolders).visible = false;
  } else {
    doNotDelete.ticked = doNotDeleteRemembered_;
    doNotDelete.enabled = true;
    message_ = texts_.element[kNormalMessage];
    // Empty folders are only removed from a walk through subfolders.
    At(Box::chkDeleteEmptyFolders).visible = subfolders_;
  }
}

void PurgeConfirmationState::SelectClusterSize(int index) {
  const bool listed = index >= 0 && index < static_cast<int>(kClusterSizeEntries.size());
  selectedClusterSize_ = listed ? index : -1;
  ReturnFocusToCancel();
}

void PurgeConfirmationState::ClickClusterSizeLabel() {
  fileSystemLabelVisible_ = !fileSystemLabelVisible_;
}

void PurgeConfirmationState::ClickFileSystemLabel() {
  fileSystemLabelVisible_ = false;
}

void PurgeConfirmationState::DoPurge(PurgeOptions& options, bool& blnConfirmFiles,
                                     DriveClusterSize& clusterSizes,
                                     const std::string& strDriveLetter) {
  options.blnConfirm = true;
  options.blnPurgeSlackOnly = false;
  options.blnDoNotDeletePurgedFiles = OptionInEffect(Box::chkDoNotDeletePurgedFiles);
  options.blnOKToPurgeReadOnlyFiles = OptionInEffect(Box::chkOKToPurgeReadOnlyFiles);
  options.blnOKToPurgeSystemFiles = OptionInEffect(Box::chkOKToPurgeSystemFiles);
  options.blnOKToPurgeHardLinkedFiles = OptionInEffect(Box::chkOKToPurgeHardLinkedFiles);
  options.blnOKToPurgeSensitiveFiles = OptionInEffect(Box::chkOKToPurgeSensitiveFiles);
  options.blnFolderNamesOnly = OptionInEffect(Box::chkFolderNamesOnly);
  options.blnDeleteEmptyFolders = OptionInEffect(Box::chkDeleteEmptyFolders);
  blnConfirmFiles = OptionInEffect(Box::chkConfirmFiles);

  // Without a selected entry the drive keeps the size it has, which lies within the bounds.
  if (selectedClusterSize_ >= 0)
    SetClusterSize(clusterSizes, strDriveLetter,
                   kClusterSizeEntries[static_cast<std::size_t>(selectedClusterSize_)].value);

  fileSystemText_.clear();
  At(Box::chkDoNotDeletePurgedFiles).ticked = doNotDeleteRemembered_;
  Hide();
}

void PurgeConfirmationState::Cancel(PurgeOptions& options) {
  options.blnConfirm = false;
  message_.clear();
  At(Box::chkDoNotDeletePurgedFiles).ticked = doNotDeleteRemembered_;
  Hide();
}

void PurgeConfirmationState::SetVolumeWarnings(const std::vector<std::string>& warnings) {
  volumeWarningText_.clear();
  for (const std::string& warning : warnings)
    volumeWarningText_ += (volumeWarningText_.empty() ? "" : "\r\n") + warning;
}

bool PurgeConfirmationState::TakeCancelFocus() {
  const bool take = cancelFocus_;
  cancelFocus_ = false;
  return take;
}

void PurgeConfirmationState::ReturnFocusToCancel() {
  if (visible_) cancelFocus_ = true;
}

void PurgeConfirmationState::Hide() {
  visible_ = false;
  cancelFocus_ = false;
}
