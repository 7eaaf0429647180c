#include "engine/fill_disk.h"

#include <vector>

#include "engine/file_proc.h"
#include "platform/drives.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "targets/matching.h"
#include "text/str_proc.h"

namespace FillDisk {
namespace {

// Dummy names are the stub and a number; this pattern finds them and nothing else of the user's.
const std::string kDummyPattern = std::string(kDummyStub) + "*";

std::vector<std::string> DummyFiles(const std::string& folder) {
  std::vector<std::string> names;
  (void)Platform::ListFolder(folder, [&names](const Platform::FolderEntry& entry) {
    if (!entry.isFolder && FileMatchesFilespec(entry.name, kDummyPattern, false))
      names.push_back(entry.name);
    return true;
  });
  return names;
}

}  // namespace

std::string DummyParentFolder(const std::string& driveRoot) {
  const std::string rootFolder = Platform::DriveRootFolder(driveRoot);
  if (Platform::CanWriteFolder(rootFolder)) return rootFolder;
  const std::string home = Platform::HomeFolder();
  Platform::DriveInfo homeDrive;
  if (!home.empty() && !Platform::DriveOfPath(JoinPath(home, "x"), homeDrive) &&
      homeDrive.root == driveRoot && Platform::CanWriteFolder(home))
    return home;
  return {};
}

std::string MakeDummyFolder(const std::string& parent) {
  const std::string stub = JoinPath(parent, kDummyStub);
  for (int number = 1; number < 10000; ++number) {
    const std::string candidate = stub + std::to_string(number);
    if (Platform::FileExists(candidate) || Platform::FolderExists(candidate)) continue;
    if (!Platform::CreateFolder(candidate)) return candidate;
  }
  return {};
}

int MakeDummyFiles(const std::string& folder, int count, RandomSource& random, double& totalBytes) {
  totalBytes = 0;
  const std::string stub = JoinPath(folder, kDummyStub);
  int made = 0;
  while (made < count) {
    const std::int64_t length =
        51200 + 3 * static_cast<std::int64_t>(StrProc::RandomInteger(0, 26624, random));
    const std::string name = FileProc::UniqueName(stub);
    // Written in full: a purge overwrites only the parts of a file that hold data, so a file
    // stretched to its length would leave nothing to time.
    if (Platform::CreateNewFile(name, std::string(static_cast<std::size_t>(length), '\0'))) break;
    totalBytes += static_cast<double>(length);
    ++made;
  }
  return made;
}

bool PurgeDummyFiles(const std::string& folder, short purgeType, short passes,
                     FilePurge::PurgeEnvironment& environment) {
  bool purged = true;
  for (const std::string& name : DummyFiles(folder)) {
    short code = 0;
    FilePurge::PurgeFile(JoinPath(folder, name), purgeType, passes, true, true, true, code,
                         environment);
    if (environment.host != nullptr) environment.host->Yield();
    if (code < 0) {
      purged = false;
      break;
    }
  }
  RemoveDummyFiles(folder);
  return purged;
}

void RemoveDummyFiles(const std::string& folder) {
  for (const std::string& name : DummyFiles(folder))
    (void)FileProc::DeleteFile(JoinPath(folder, name), true, true, true);
  (void)Platform::RemoveFolder(folder);
}

}  // namespace FillDisk
