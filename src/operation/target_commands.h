#pragma once

// The main window's commands that set the target: one file, a folder, which files of the folder,
// whether lower subfolders are included, and clearing it all. Each handler does nothing while a
// run is on; the mouse-release handlers also do nothing while the dialog guard holds.

#include <functional>
#include <string>
#include <vector>

#include "targets/specify_files.h"

class MainWindowView;
class UserDialogs;
struct ProgramSettings;

class TargetCommands {
 public:
  // The captions of the command buttons, which title their messages.
  static constexpr const char* kSingleFileCaption = "Single file";
  static constexpr const char* kSpecifyFolderCaption = "Specify folder";
  static constexpr const char* kSpecifyFilesCaption = "Specify files";
  static constexpr const char* kSubdirectoriesCaption = "Subfolders?";
  static constexpr const char* kClearCaption = "Clear";

  TargetCommands(MainWindowView& main, ProgramSettings& settings, UserDialogs& dialogs);

  // cmdSingleFile: one file, chosen in the file chooser.
  void cmdSingleFile_MouseUp();
  // cmdSpecifyDirectory(0): the folder, chosen in the folder chooser, and perhaps all its files.
  void cmdSpecifyDirectory0_MouseUp();
  // cmdSpecifyFiles: which files of the folder. showDialog shows frmSpecifyFiles over the
  // prepared state and returns once it has closed.
  void cmdSpecifyFiles_MouseUp(const std::function<bool(SpecifyFiles&)>& showDialog);
  // cmdSubdirectories: the "Subfolders?" toggle.
  void cmdSubdirectories_MouseUp();
  // cmdClear: forgets the folder and the file specification after asking.
  void cmdClear_Click();

  // A file or folder dropped on the main window: taken as choosing it in the file or the folder
  // chooser would take it, with every check and question that choice brings.
  void DropTarget(const std::string& path);

  // The paths the program was started with ("kexwell PATH", or "Open with" of a file manager): the
  // first is taken as a dropped target, a relative one from the current folder. When there are
  // several, a message says first that only that one is taken.
  void StartWithTargets(const std::vector<std::string>& paths);
  static constexpr const char* kOneTargetCaption = "Kexwell";

  // The state of frmSpecifyFiles, kept between uses.
  SpecifyFiles& SpecifyFilesState() { return specifyFiles_; }

 private:
  bool Offered() const;
  // What choosing a file or a folder sets and asks, once it is chosen.
  void TakeSingleFile(const std::string& chosen);
  void TakeFolder(const std::string& chosen);
  // lblSubdirectories and lblSubdirectories2 for the target folder.
  void ShowSubfolderSetting();
  // lblEstimatedTime for a single file just chosen.
  void ShowSingleFileEstimate(const std::string& path);

  MainWindowView& main_;
  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  SpecifyFiles specifyFiles_;
};

// The estimated time to purge a file of length bytes at speed MB per second for one overwrite
// with numOverwrites overwrites, scaled by factorA / (size in MB) ^ factorB: "Less than a
// minute." below a minute, else the duration. Empty for an empty file or an unmeasured drive.
std::string SingleFileEstimate(double length, float speed, short numOverwrites, double factorA,
                               double factorB);
