// The walk of a listing, and of the count before a purge: the matching files of a folder, then
// its subfolders. Nothing is written to any file.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "targets/file_selection.h"
#include "text/str_proc.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

// A length as the listing counts it: one that cannot be read counts 0, one of 2 GiB or more
// counts 2,147,483,647.
double ListedLength(const std::string& path) {
  std::int64_t length = 0;
  if (Platform::GetEntryLength(path, length)) return 0;
  return static_cast<double>(
      std::min<std::int64_t>(length, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void PurgeRun::ListFilesRecursive(const std::string& folderPath, const std::string& fileSpec) {
  const std::string folder = WithTrailingSeparator(folderPath);
  const bool counting = !blnPurgeFiles && !blnListFiles;

  std::vector<std::string> matching;
  std::vector<std::string> subfolders;
  const std::int32_t limit = settings_.dateRestriction.lngOnlyBeforeThisJDN;
  const std::error_code error =
      Platform::ListFolder(folder, [&](const Platform::FolderEntry& entry) {
        if (entry.isFolder)
          subfolders.push_back(entry.name);
        else if (SatisfiesFilespecAndDateRestriction(folder + entry.name, fileSpec, false, limit))
          matching.push_back(entry.name);
        return true;
      });
  // A folder that cannot be read is passed over.
  if (error) return;
  intNumFiles = static_cast<std::int32_t>(matching.size());

  if (!matching.empty() && !counting) {
    if (blnDisplayFolderNames)
      AddToReport(folder + kLineBreak, true);
    else
      AddToReport(" .", true);
  }

  for (const std::string& name : matching) {
    host_.Yield();
    ++lngNumFilesProcessed;
    if (counting) {
      if (lngNumFilesProcessed >= intStopAt) {
        lngNumFilesProcessed = -1;
        return;
      }
      continue;
    }
    const std::string path = folder + name;
    const double size = ListedLength(path);
    if (blnListFiles && blnDisplayFileNames) {
      AddToReport(name + " (" + StrProc::FileDateText(path, false) + ", " +
                      StrProc::SizeToTextGB(size, 2) + ")   " + kLineBreak,
                  true);
    }
    dblTotalBytesPurged += size;
    WaitIfPaused();
    if (blnStop) return;
  }

  if (!settings_.target.blnSubdirectories) return;
  for (const std::string& name : subfolders) {
    strNextDirPath = folder + name;
    ListFilesRecursive(strNextDirPath, fileSpec);
    if (counting) {
      if (lngNumFilesProcessed == -1) return;
    } else {
      WaitIfPaused();
      if (blnStop) return;
    }
  }
}
