#pragma once

// What a purge operates on: a folder, a file specification within it, and whether the files of
// lower subfolders are included. A single file is a folder plus a file specification without
// wildcards, or plus the file's name taken as it is: a POSIX name may hold "*" and "?", and a
// file chosen on its own is that file, never the files its name would match as a pattern.

#include <string>
#include <utility>

class UserDialogs;

struct TargetRecord {
  std::string TargetFolder;    // empty: no folder chosen
  std::string TargetFilespec;  // empty: no files chosen
  bool blnSubdirectories = false;
  // TargetFilespec is the exact name of one file, "*" and "?" included.
  bool filespecIsName = false;

  // Both the folder and the file specification are chosen.
  bool TargetIsSpecified() const { return !TargetFolder.empty() && !TargetFilespec.empty(); }

  // Sets the file specification, and whether it is one file's exact name.
  void SetFilespec(std::string filespec, bool isName = false) {
    TargetFilespec = std::move(filespec);
    filespecIsName = isName;
  }

  // The target is one file: its file specification is a name, or holds no wildcard.
  bool NamesOneFile() const;
};

// Tells the user when the target folder cannot be read, or holds neither a file matching filespec
// (the exact name of one file when filespecIsName) nor a subfolder; true when it has something to
// work on.
bool CheckFolderHasFiles(const TargetRecord& target, const std::string& filespec,
                         UserDialogs& dialogs, bool filespecIsName = false);

// Tells the user that a listing found no file for the target.
void ShowNoFilesFound(UserDialogs& dialogs);
