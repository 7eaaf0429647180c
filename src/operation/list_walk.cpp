// The walk of a listing, and of the count before a purge: the matching files of a folder, then
// its subfolders. Nothing is written to any file.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/result_texts.h"
#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "targets/file_selection.h"
#include "text/locale_format.h"
#include "text/str_proc.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

}  // namespace

void PurgeRun::ListFilesRecursive(const std::string& folderPath) {
  Platform::FolderHandle folder;
  if (const std::error_code error = folder.Open(folderPath)) {
    NoteFolderNotEntered(WithTrailingSeparator(folderPath), error);
    return;
  }
  ListFolder(folder, folderPath);
}

void PurgeRun::ListFolder(const Platform::FolderHandle& handle, const std::string& folderPath) {
  const std::string folder = WithTrailingSeparator(folderPath);
  const bool counting = request_.kind == RunKind::Count;

  std::vector<std::string> matching;
  std::vector<std::string> subfolders;
  const std::int32_t limit = settings_.dateRestriction.lngOnlyBeforeThisJDN;
  const std::error_code error = handle.List([&](const Platform::FolderEntry& entry) {
    if (entry.isFolder)
      subfolders.push_back(entry.name);
    else if (SatisfiesFilespecAndDateRestrictionIn(handle, entry.name, request_.fileSpec, limit,
                                                   request_.fileSpecIsName))
      matching.push_back(entry.name);
    return true;
  });
  if (error) {
    NoteFolderNotEntered(folder, error);
    return;
  }
  intNumFiles = static_cast<std::int32_t>(matching.size());

  if (!matching.empty() && !counting) {
    if (request_.displayFolderNames)
      AddToReport(folder + kLineBreak, true);
    else
      AddToReport(" .", true);
  }

  for (const std::string& name : matching) {
    host_.Yield();
    ++lngNumFilesProcessed;
    Platform::EntryStatus status;
    const bool known = !handle.Status(name, status);
    if (counting) {
      if (known && status.kind == Platform::FileKind::Regular && status.links > 1)
        ++lngNumHardLinkedFiles;
      if (lngNumFilesProcessed >= request_.stopAt) {
        lngNumFilesProcessed = -1;
        return;
      }
      if (blnStop) return;
      continue;
    }
    const double size = known ? static_cast<double>(status.length) : 0;
    if (request_.kind == RunKind::List && request_.displayFileNames) {
      const std::string date =
          known ? StrProc::ModificationDateText(status.times.modification.seconds, false) : "";
      AddToReport(name + " (" + date + ", " + StrProc::SizeToTextGB(size, 2) + ")   " + kLineBreak,
                  true);
    }
    dblTotalBytesPurged += size;
    WaitIfPaused();
    if (blnStop) return;
  }

  if (!settings_.target.blnSubdirectories) return;
  for (const std::string& name : subfolders) {
    const std::string subfolder = folder + name;
    Platform::FolderHandle subHandle;
    if (const std::error_code openError = handle.OpenSubfolder(name, subHandle))
      NoteFolderNotEntered(WithTrailingSeparator(subfolder), openError);
    else
      ListFolder(subHandle, subfolder);
    if (counting) {
      if (lngNumFilesProcessed == -1 || blnStop) return;
    } else {
      WaitIfPaused();
      if (blnStop) return;
    }
  }
}

// A listing reports a folder it could not read or enter; the count before a purge only counts
// it, since the purge reports it.
void PurgeRun::NoteFolderNotEntered(const std::string& folder, const std::error_code& error) {
  if (request_.kind == RunKind::Count)
    ++FoldersNotEntered;
  else
    ReportFolderNotEntered(folder, error);
}
