#include "targets/target_record.h"

#include <cstdint>

#include "targets/folder_queries.h"
#include "targets/matching.h"
#include "text/user_dialogs.h"

bool TargetRecord::NamesOneFile() const {
  return ::NamesOneFile(TargetFilespec, filespecIsName);
}

bool CheckFolderHasFiles(const TargetRecord& target, const std::string& filespec,
                         UserDialogs& dialogs, bool filespecIsName) {
  double noSizes = 0;
  const std::int32_t files =
      CountMatchingFiles(target.TargetFolder, filespec, false, noSizes, filespecIsName);
  const std::int32_t subfolders = CountSubfolders(target.TargetFolder);
  if (files == -1 || subfolders == -1) {
    dialogs.Tell("Error", "Cannot access the folder.", MessageIcon::Critical);
    return false;
  }
  if (files == 0 && subfolders == 0) {
    dialogs.Tell("Empty folder",
                 std::string(filespec == "*.*" && !filespecIsName
                                 ? "The folder contains no files "
                                 : "The folder contains no matching files ") +
                     "and no subfolders.",
                 MessageIcon::Exclamation);
    return false;
  }
  return true;
}

void ShowNoFilesFound(UserDialogs& dialogs) {
  dialogs.Tell("No files found", "There are no files satisfying this file specification",
               MessageIcon::Exclamation);
}
