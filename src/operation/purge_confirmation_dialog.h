#pragma once

// frmPurgeConfirmation: the dialog in which the user confirms a purge and sets the options of the
// run. It shows and edits the program's PurgeConfirmationState, which holds every rule; the
// window keeps nothing of its own.

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "operation/purge_confirmation_state.h"

class DriveClusterSize;
struct PurgeConfirmationTexts;
struct PurgeOptions;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

class frmPurgeConfirmation : public QDialog {
  Q_OBJECT

 public:
  explicit frmPurgeConfirmation(PurgeConfirmationState& state, QWidget* parent = nullptr);

  // Opens the dialog for one purge of the drive with root driveRoot: the state is prepared as
  // for a new opening and shown. cmdDoPurge then writes the options, blnConfirmFiles and the
  // drive's cluster size; cmdCancel clears options.blnConfirm. The references must outlive the
  // dialog's use. volumeWarnings stand below the message (see VolumeWarnings).
  void Open(PurgeOptions& options, bool& blnConfirmFiles, DriveClusterSize& clusterSizes,
            const std::string& driveRoot, const PurgeConfirmationTexts& texts,
            std::int32_t filesInFolder, bool subfolders,
            const std::vector<std::string>& volumeWarnings = {});

 protected:
  // cmdCancel, Escape and the close box.
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sets every control from the state, and gives cmdCancel the focus when the state asks for it.
  void ShowState();
  void DoPurge();

  PurgeConfirmationState& state_;
  PurgeOptions* options_ = nullptr;
  bool* blnConfirmFiles_ = nullptr;
  DriveClusterSize* clusterSizes_ = nullptr;
  std::string driveRoot_;

  std::array<QCheckBox*, PurgeConfirmationState::kBoxCount> boxes_ = {};
  QFrame* fraClusterSize_ = nullptr;
  QLabel* lblClusterSize_ = nullptr;
  QLabel* lblFileSystem_ = nullptr;
  QComboBox* cboClusterSize_ = nullptr;
  QLabel* lblMessage_ = nullptr;
  QLabel* lblVolumeWarnings_ = nullptr;
  QPushButton* cmdDoPurge_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};

// Shows frmPurgeConfirmation modally for a purge on the drive with root driveRoot, 50 twips to
// the right of mainWindow's fraMenu and 330 twips below its cmdProcessFiles_1, and answers
// options.blnConfirm: true when the user chose cmdDoPurge. The warnings about the drive that holds
// driveRoot stand below the message.
bool ShowPurgeConfirmation(PurgeConfirmationState& state, PurgeOptions& options,
                           bool& blnConfirmFiles, DriveClusterSize& clusterSizes,
                           const std::string& driveRoot, const PurgeConfirmationTexts& texts,
                           std::int32_t filesInFolder, bool subfolders, QWidget* mainWindow);
