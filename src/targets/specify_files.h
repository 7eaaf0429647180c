#pragma once

// frmSpecifyFiles as a state object: which files of the target folder a command works on. The
// dialog window only shows and edits this object.

#include <string>
#include <vector>

class UserDialogs;

enum class SpecifyFilesOption { SingleFile, AllFiles, Extension, MultipleFiles };

// True when a file name can be chosen on its own. On POSIX every name can: a file chosen on its
// own is taken by its exact name, "*" and "?" included. A Windows name holding "*", "?", ":" or
// "\" names no file of the folder (":" would name a stream of one).
bool NameCanStandAlone(const std::string& name);

// What the user is told about a file that cannot be chosen on its own.
std::string NameCannotStandAloneText(const std::string& path);

class SpecifyFiles {
 public:
  // Set by the caller before the dialog is shown: the verb at the start of each option caption,
  // whether a single file may be chosen, and the folder whose files are listed. Clears accepted
  // and activates the dialog's state.
  void Prepare(const std::string& verb, bool singleFileEnabled, const std::string& folder);

  // The dialog is shown: both texts are emptied, the captions and the file list are made anew,
  // and the single-file option is selected when it is enabled, "all files" otherwise.
  void Activate();

  const std::string& Verb() const { return verb_; }
  bool SingleFileEnabled() const { return singleFileEnabled_; }
  const std::string& Folder() const { return folder_; }

  // The caption of an option: the verb followed by what the option does.
  std::string OptionCaption(SpecifyFilesOption option) const;

  SpecifyFilesOption SelectedOption() const { return option_; }
  // Selects an option; the single-file option only while it is enabled.
  void SelectOption(SpecifyFilesOption option);

  // The list File: the names of the folder's entries that are not folders, sorted. Links are
  // listed as they are, never followed.
  const std::vector<std::string>& Files() const { return files_; }
  // The selected entry of the file list, -1 when none.
  int SelectedFile() const { return selectedFile_; }
  // A file chosen in the list selects the single-file option; -1 clears the choice.
  void SelectFile(int index);

  // txbExtension and txbFilespec.
  std::string extensionText;
  std::string filespecText;

  // cmdAccept: decides "accepted" by the selected option and answers whether the dialog closes.
  // An extension holding a dot, or a file that cannot be chosen on its own, is refused with a
  // message and the dialog stays open. The texts are left trimmed as they were taken.
  bool Accept(UserDialogs& dialogs);
  // cmdCancel: the dialog closes and nothing is accepted.
  void Cancel() { accepted = false; }

  // The file specification the accepted choice names: the exact name of the single file (to be
  // taken as a name, never as a pattern), "*.*", "*." followed by the extension, or the file
  // specification, both as typed. Empty when nothing was accepted.
  std::string ChosenFilespec() const;

  // After the dialog closed: true when the choice stands.
  bool accepted = false;

 private:
  void LoadFiles();

  std::string verb_ = "purge";
  bool singleFileEnabled_ = true;
  std::string folder_;
  SpecifyFilesOption option_ = SpecifyFilesOption::AllFiles;
  std::vector<std::string> files_;
  int selectedFile_ = -1;
};
