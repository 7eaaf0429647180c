#pragma once

// frmConfirmFiles: asks, file by file, whether a file is to be purged, when the user chose to
// confirm each file.

#include <QDialog>
#include <string>

#include "operation/run_host.h"

class QLabel;
class QPushButton;

class frmConfirmFiles : public QDialog {
  Q_OBJECT

 public:
  explicit frmConfirmFiles(QWidget* parent = nullptr);

  // Shows label (the file's path, size and date) modally, centred on reportWindow with its bottom
  // 100 twips above the report window's bottom, and answers with the button chosen. Closing the
  // window without choosing skips the file.
  FileConfirmation Ask(const std::string& label, const QWidget* reportWindow);

  // The answer of the last button pressed.
  FileConfirmation blnFileConfirmed = FileConfirmation::Skip;

 private:
  void Answer(FileConfirmation answer);
  void PlaceOn(const QWidget* reportWindow);

  QLabel* lblFile_ = nullptr;
};
