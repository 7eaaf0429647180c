#include "targets/folder_queries.h"

#include <vector>

#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/program.h"
#include "targets/matching.h"

namespace {

constexpr std::int16_t kLimitReached = -2;

void AddLength(const std::string& path, double& totalSize) {
  std::int64_t length = 0;
  if (!Platform::GetEntryLength(path, length)) totalSize += static_cast<double>(length);
}

}  // namespace

std::int32_t CountMatchingFiles(const std::string& folder, const std::string& filespec,
                                bool stopAtFirst, double& totalSize, bool filespecIsName) {
  const bool wantSize = totalSize == -1.0;
  const bool everyFile = filespec == "*.*" && !filespecIsName && !wantSize;
  if (!everyFile) totalSize = 0;
  std::int32_t count = 0;
  const std::error_code error =
      Platform::ListFolder(folder, [&](const Platform::FolderEntry& entry) {
        if (entry.isFolder) return true;
        if (everyFile) {
          ++count;
          return true;
        }
        if (!FileMatchesFilespec(entry.name, filespec, false, filespecIsName)) return true;
        ++count;
        if (wantSize) AddLength(JoinPath(folder, entry.name), totalSize);
        return !stopAtFirst;
      });
  return error ? -1 : count;
}

std::int32_t CountSubfolders(const std::string& folder) {
  std::int32_t count = 0;
  const std::error_code error = Platform::ListFolder(WithTrailingSeparator(folder),
                                                     [&count](const Platform::FolderEntry& entry) {
                                                       if (entry.isFolder) ++count;
                                                       return true;
                                                     });
  return error ? -1 : count;
}

namespace {

// Counts through the folder's handle and enters each subfolder through it, as the purge does:
// never a link, never another file system.
void CountInFolder(const Platform::FolderHandle& folder, const std::string& filespec,
                   std::int32_t& count, std::int16_t& limit, bool wantSizes, double& totalSize,
                   const std::int32_t& stopFlag) {
  std::vector<std::string> subfolders;
  const std::error_code error = folder.List([&](const Platform::FolderEntry& entry) {
    if (entry.isFolder) {
      subfolders.push_back(entry.name);
      return true;
    }
    if (!FileMatchesFilespec(entry.name, filespec, false)) return true;
    ++count;
    Platform::EntryStatus status;
    if (wantSizes && !folder.Status(entry.name, status))
      totalSize += static_cast<double>(status.length);
    if (limit > 0 && count >= limit) {
      limit = kLimitReached;
      return false;
    }
    return true;
  });
  if (error) return;
  for (const std::string& name : subfolders) {
    if (limit == kLimitReached || stopFlag >= 1) break;
    Platform::FolderHandle subfolder;
    if (!folder.OpenSubfolder(name, subfolder))
      CountInFolder(subfolder, filespec, count, limit, wantSizes, totalSize, stopFlag);
  }
}

}  // namespace

bool CountMatchingFilesInTree(bool reset, const std::string& folder, const std::string& filespec,
                              std::int32_t& count, std::int16_t& limit, bool wantSizes,
                              double& totalSize, std::int32_t& stopFlag) {
  if (reset) {
    count = 0;
    totalSize = 0;
    stopFlag = 0;
  }
  Platform::FolderHandle handle;
  bool readable = false;
  if (!handle.Open(folder))
    readable = !handle.List([](const Platform::FolderEntry&) { return false; });
  if (!readable) return false;
  CountInFolder(handle, filespec, count, limit, wantSizes, totalSize, stopFlag);
  return true;
}

bool AnyMatchingFileInTree(const std::string& folder, const std::string& filespec) {
  std::int32_t count = 0;
  std::int16_t limit = 1;
  double totalSize = 0;
  std::int32_t stopFlag = 0;
  CountMatchingFilesInTree(true, folder, filespec, count, limit, false, totalSize, stopFlag);
  return limit == kLimitReached;
}
