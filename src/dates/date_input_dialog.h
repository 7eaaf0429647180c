#pragma once

// frmCEDateInput: the dialog in which the user enters a date (month, day, year). It shows and
// edits a DateInput, which holds every rule; the window keeps nothing of its own.

#include <QDialog>

class DateInput;
enum class FocusAfterChoice;
class UserDialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmCEDateInput : public QDialog {
  Q_OBJECT

 public:
  frmCEDateInput(DateInput& state, UserDialogs& dialogs, QWidget* parent = nullptr);

  // Shows the state (caption, prompt and its colours, Clear's caption, the date of DateJDN) and
  // runs the dialog; the answer is left in the state's DateInputResult.
  void ShowModally();

 protected:
  void reject() override;

 private:
  // Enter in the year box acts as Accept.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Sets the lists and the year box from the state.
  void ShowState();
  void FitToWidth();
  // After a month or a day was chosen: the trimmed year box and the focus the state asks for.
  void FollowChoice(FocusAfterChoice focus);
  void Accept();

  DateInput& state_;
  UserDialogs& dialogs_;
  QLabel* lblPrompt_ = nullptr;
  QComboBox* cboMonthNames_ = nullptr;
  QComboBox* cboDayNumbers_ = nullptr;
  QLineEdit* txbYear_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdClear_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};
