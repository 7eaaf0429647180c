#pragma once

// frmSpecifyDrive2: the dialog in which the user chooses the drive for the purge speed test.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"

class QComboBox;
class QPushButton;

class frmSpecifyDrive2 : public QDialog {
  Q_OBJECT

 public:
  // cboDrives offers the drives in their order, with the one whose root is preselected chosen
  // (the first when none is).
  frmSpecifyDrive2(std::vector<Platform::DriveInfo> drives, const std::string& preselected,
                   QWidget* parent = nullptr);

  // Runs the dialog: the root of the chosen drive, or nothing after Cancel or the close box.
  std::optional<std::string> ChooseDrive();

  // A drive as cboDrives shows it: its root, then " [", its volume name and "]" when it has one.
  static std::string DriveEntry(const Platform::DriveInfo& drive);

 private:
  std::vector<Platform::DriveInfo> drives_;
  QComboBox* cboDrives_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
