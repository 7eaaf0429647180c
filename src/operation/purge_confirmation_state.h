#pragma once

// The purge confirmation dialog as a plain object: its check boxes, what it shows, the cluster
// size chosen for the drive, and the two buttons. The window frmPurgeConfirmation only shows this
// object and passes the user's clicks to it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/cluster_size.h"
#include "operation/purge_confirmation.h"
#include "operation/purge_options.h"

// A check box as the dialog shows it.
struct OptionBox {
  bool ticked = false;
  bool visible = true;
  bool enabled = true;
};

class PurgeConfirmationState {
 public:
  // The check boxes, in the order in which the setups save them (the last one after the date
  // restriction).
  enum class Box {
    chkPurgeSlackOnly,
    chkDoNotDeletePurgedFiles,
    chkOKToPurgeReadOnlyFiles,
    chkOKToPurgeSystemFiles,
    chkOKToPurgeSensitiveFiles,
    chkFolderNamesOnly,
    chkDeleteEmptyFolders,
    chkConfirmFiles,
    chkOKToPurgeHardLinkedFiles,
  };
  static constexpr std::size_t kBoxCount = 9;

  // The dialog as the program starts: "Delete empty folders" and "Folder names only" ticked, the
  // other boxes unticked; the slack-only box hidden; the cluster-size controls hidden and "4 KB"
  // selected.
  PurgeConfirmationState();

  // Opens the dialog for one purge: undoes any slack-only setting, remembers the state of
  // chkDoNotDeletePurgedFiles, clears options.blnConfirm, shows the normal message, captions the
  // purge button for filesInFolder and subfolders, offers "Delete empty folders" only with
  // subfolders, selects clusterSize in the list (nothing when it is not listed) and gives Cancel
  // the focus.
  void Show(PurgeOptions& options, const PurgeConfirmationTexts& texts, bool subfolders,
            std::int32_t filesInFolder, std::int32_t clusterSize);

  // Ticks or unticks a box, as a click or a loaded setup does. chkPurgeSlackOnly goes through
  // SetSlackOnly. While slack-only holds chkDoNotDeletePurgedFiles ticked, a new state for that
  // box is kept and comes back when slack-only is unticked. While the dialog is shown, Cancel
  // takes the focus back.
  void SetTicked(Box box, bool ticked);

  // Ticking remembers chkDoNotDeletePurgedFiles, then ticks and disables it, shows the slack-only
  // message and hides "Delete empty folders"; unticking gives the box back its remembered state
  // and enables it, shows the normal message and offers "Delete empty folders" again.
  void SetSlackOnly(bool ticked);

  // Selects an entry of the cluster-size list; an index outside the list selects nothing.
  void SelectClusterSize(int index);

  // A click on lblClusterSize shows or hides lblFileSystem; a click on lblFileSystem hides it.
  void ClickClusterSizeLabel();
  void ClickFileSystemLabel();
  void SetFileSystemText(const std::string& text) { fileSystemText_ = text; }
  // The warnings about the drive of the target, shown below the message until the next opening
  // sets others.
  void SetVolumeWarnings(const std::vector<std::string>& warnings);

  // cmdDoPurge: confirms, writes every option from its box (a box that is not shown is not in
  // effect, and whole files are always purged), blnConfirmFiles from chkConfirmFiles, and the
  // selected cluster size for the drive that holds strDriveLetter (left as it is when no entry is
  // selected). chkDoNotDeletePurgedFiles then gets back the state it had when the dialog opened,
  // and the dialog hides.
  void DoPurge(PurgeOptions& options, bool& blnConfirmFiles, DriveClusterSize& clusterSizes,
               const std::string& strDriveLetter);

  // cmdCancel, and the window's close box: not confirmed, the message emptied,
  // chkDoNotDeletePurgedFiles given back its remembered state, the dialog hidden.
  void Cancel(PurgeOptions& options);

  const OptionBox& Get(Box box) const { return boxes_[Index(box)]; }
  bool Visible() const { return visible_; }
  // lblMessage.
  const std::string& Message() const { return message_; }
  // The caption of cmdDoPurge.
  const std::string& DoPurgeText() const { return doPurgeText_; }
  // The selected entry of cboClusterSize; -1 when none is selected.
  int SelectedClusterSize() const { return selectedClusterSize_; }
  bool ClusterSizeFrameVisible() const { return clusterSizeFrameVisible_; }
  bool FileSystemLabelVisible() const { return fileSystemLabelVisible_; }
  const std::string& FileSystemText() const { return fileSystemText_; }
  // The warnings, one to a line (CR LF); "" when there are none.
  const std::string& VolumeWarningText() const { return volumeWarningText_; }
  // True when the focus is to go to cmdCancel; reading it clears the request.
  bool TakeCancelFocus();

 private:
  static std::size_t Index(Box box) { return static_cast<std::size_t>(box); }
  OptionBox& At(Box box) { return boxes_[Index(box)]; }
  bool OptionInEffect(Box box) const { return Get(box).ticked && Get(box).visible; }
  void ReturnFocusToCancel();
  void Hide();

  std::array<OptionBox, kBoxCount> boxes_;
  // The state of chkDoNotDeletePurgedFiles when the dialog opened or slack-only was ticked.
  bool doNotDeleteRemembered_ = false;
  PurgeConfirmationTexts texts_;
  bool subfolders_ = false;
  std::string message_;
  std::string doPurgeText_;
  int selectedClusterSize_ = kDefaultClusterSizeEntry;
  bool clusterSizeFrameVisible_ = false;
  bool fileSystemLabelVisible_ = false;
  std::string fileSystemText_;
  std::string volumeWarningText_;
  bool visible_ = false;
  bool cancelFocus_ = false;
};
