#pragma once

// frmSpecifyFiles: the dialog in which the user says which files of the target folder a command
// works on. It shows and edits a SpecifyFiles, which holds every rule.

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class SpecifyFiles;
class UserDialogs;
enum class SpecifyFilesOption;

class frmSpecifyFiles : public QDialog {
  Q_OBJECT

 public:
  // The state must have been prepared (SpecifyFiles::Prepare) before the dialog is shown.
  frmSpecifyFiles(SpecifyFiles& state, UserDialogs& dialogs, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;
  // A click in a text box selects its option; Enter in a text box acts as Accept.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QRadioButton* AddOption(const char* objectName);
  QRadioButton* OptionButton(SpecifyFilesOption option) const;
  // Sets every control from the state.
  void ShowState();
  void ChooseOption(SpecifyFilesOption option);
  void Accept();

  SpecifyFiles& state_;
  UserDialogs& dialogs_;
  QRadioButton* optSingleFile_ = nullptr;
  QRadioButton* optAllFiles_ = nullptr;
  QRadioButton* optExtension_ = nullptr;
  QRadioButton* optMultipleFiles_ = nullptr;
  QListWidget* File_ = nullptr;
  QLineEdit* txbExtension_ = nullptr;
  QLineEdit* txbFilespec_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
