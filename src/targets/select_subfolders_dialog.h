#pragma once

// frmSelectSubfolders: the dialog with one check box row per subfolder of a folder, from which the
// user chooses the subfolders to purge. It shows and edits a SelectSubfolders.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "targets/subfolder_selection.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;
class UserDialogs;

class frmSelectSubfolders : public QDialog {
  Q_OBJECT

 public:
  // The subfolders of folder are read when the dialog is shown; preselectedNames are checked
  // where they can be.
  frmSelectSubfolders(SelectSubfolders& state, std::string folder,
                      std::vector<std::string> preselectedNames, UserDialogs& dialogs,
                      QWidget* parent = nullptr);

  bool accepted = false;
  // The checked names in list order, once accepted.
  std::vector<std::string> result;

 signals:
  // After each subfolder has been read, before pending events run.
  void subfolderRead();

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the window's close button: refused, except that they end a reading in progress.
  void reject() override;

 private:
  void ReadList();
  void ShowRows();
  void Accept();
  void Cancel();

  SelectSubfolders& state_;
  std::string parentFolder_;
  std::vector<std::string> preselectedNames_;
  UserDialogs& dialogs_;
  bool busy_ = false;
  bool stopRequested_ = false;
  QWidget* list_ = nullptr;
  QLabel* reading_ = nullptr;
  std::vector<QCheckBox*> rows_;
  QScrollBar* vsbSubfolders_ = nullptr;
  QLabel* lblNumSubfolders_ = nullptr;
  QPushButton* cmdAccept_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
};

// Lets the user choose subfolders of parent in the dialog titled caption, placed over the main
// window's command frame. The remembered selection is offered again for the same parent and
// forgotten for another one. Accepted: the memory takes the parent and the chosen full paths,
// which are returned (none checked gives an empty list); totalSize and overLimit, when given,
// receive the bytes counted in the checked subfolders and whether a count stopped at its limit.
// Cancelled: "Selection cancelled." is shown, the memory keeps its selection, and nothing is
// returned.
std::optional<std::vector<std::string>> RunSubfolderSelection(
    const std::string& parent, const std::string& caption, SubfolderSelectionMemory& memory,
    UserDialogs& dialogs, QWidget* mainWindow, double* totalSize = nullptr,
    bool* overLimit = nullptr);
