#pragma once

// What a purge operates on: a folder, a file specification within it, and whether the files of
// lower subfolders are included. A single file is a folder plus a file specification without
// wildcards.

#include <string>

class UserDialogs;

struct TargetRecord {
  std::string TargetFolder;    // empty: no folder chosen
  std::string TargetFilespec;  // empty: no files chosen
  bool blnSubdirectories = false;

  // Both the folder and the file specification are chosen.
  bool TargetIsSpecified() const { return !TargetFolder.empty() && !TargetFilespec.empty(); }
};

// Tells the user when the target folder cannot be read, or holds neither a file matching filespec
// nor a subfolder; true when it has something to work on.
bool CheckFolderHasFiles(const TargetRecord& target, const std::string& filespec,
                         UserDialogs& dialogs);

// Tells the user that a listing found no file for the target.
void ShowNoFilesFound(UserDialogs& dialogs);
