#include "platform/posix/block_devices.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "platform/posix/mount_lookup.h"
#include "platform/posix/proc_text.h"

namespace Platform::BlockDevices {

using MountLookup::ReadTextFile;
using MountLookup::ResolvedPath;

DiskFacts ReadDiskFacts(const std::string& kernelName, const std::string& sysFolder) {
  DiskFacts disk;
  if (kernelName.empty() || kernelName == "." || kernelName == ".." ||
      kernelName.find('/') != std::string::npos)
    return disk;
  std::string device = ResolvedPath(sysFolder + "/class/block/" + kernelName);
  if (device.empty()) return disk;
  struct stat partition {};
  if (::stat((device + "/partition").c_str(), &partition) == 0) {
    const std::size_t slash = device.rfind('/');
    if (slash == std::string::npos || slash == 0) return disk;
    device.resize(slash);
  }
  disk.found = true;
  const auto removable = ReadTextFile(device + "/removable");
  disk.removable = removable && removable->starts_with("1");
  const auto rotational = ReadTextFile(device + "/queue/rotational");
  disk.rotational = !rotational || !rotational->starts_with("0");
  disk.memoryCard = MountLookup::LastName(device).starts_with("mmcblk");
  return disk;
}

bool IsRemovableDisk(const std::string& kernelName, const std::string& sysFolder) {
  return ReadDiskFacts(kernelName, sysFolder).removable;
}

std::string VolumeLabel(const std::string& device, const std::string& byLabelFolder) {
  const std::string node = ResolvedPath(device);
  if (node.empty()) return {};
  struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
  };
  std::unique_ptr<DIR, FolderCloser> folder(::opendir(byLabelFolder.c_str()));
  if (!folder) return {};
  while (const dirent* entry = ::readdir(folder.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (ResolvedPath(byLabelFolder + "/" + name) == node) return ProcText::DecodeHexEscapes(name);
  }
  return {};
}

}  // namespace Platform::BlockDevices
