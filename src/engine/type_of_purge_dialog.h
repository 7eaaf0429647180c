#pragma once

// frmTypeOfPurge: the dialog in which the user chooses the type of purge and its passes. It shows
// and edits the program's PurgeTypeChoice; it keeps no choice of its own.

#include <QDialog>

class PurgeTypeChoice;
class UserDialogs;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

class frmTypeOfPurge : public QDialog {
  Q_OBJECT

 public:
  frmTypeOfPurge(PurgeTypeChoice& choice, UserDialogs& dialogs, QWidget* parent = nullptr);

  // exec() answers Accepted after "Accept" and a Yes to its question, Rejected after "Cancel"
  // or closing the window (the type then goes back to what it was when the dialog opened).

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void ShowChosenList();
  // Sets the option buttons and the lists' selections from the choice.
  void ShowChoice();
  void FitHeightToWidth();
  void Accept();

  PurgeTypeChoice& choice_;
  UserDialogs& dialogs_;
  QRadioButton* optPurgeType_[3] = {};
  QComboBox* cboNumberOfPasses_[3] = {};
  QLabel* lblPurgeType_[3] = {};
  QLabel* lblNumberOfTimes_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
