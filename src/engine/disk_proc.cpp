#include "engine/disk_proc.h"

#include <vector>

#include "platform/drives.h"

namespace DiskProc {

std::int64_t ClusterSizeOfRoot(const std::string& root, double& bytesInFreeClusters) {
  Platform::DriveSpace space;
  if (Platform::QueryDriveSpace(root, space)) {
    bytesInFreeClusters = -1;
    return -1;
  }
  if (space.clusterSize < 512) {
    bytesInFreeClusters = -1;
    return -2;
  }
  bytesInFreeClusters = static_cast<double>(space.availableBytes);
  return space.clusterSize;
}

short FreeSpace(const std::string& path, double& availableBytes, double& totalBytes) {
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(path, drive)) return -1;
  Platform::DriveSpace space;
  if (Platform::QueryDriveSpace(drive.root, space)) return -1;
  availableBytes = static_cast<double>(space.availableBytes);
  totalBytes = static_cast<double>(space.totalBytes);
  return 0;
}

bool DriveReady(const std::string& root) {
  const std::string rootFolder = Platform::DriveRootFolder(root);
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(rootFolder, drive)) return false;
  if (drive.type == Platform::DriveType::Fixed || drive.type == Platform::DriveType::RamDisk)
    return true;
  double available = 0;
  double total = 0;
  return FreeSpace(rootFolder, available, total) == 0;
}

short DriveTypeAndSerial(const std::string& drivePath, int& driveType, std::int32_t& serialNumber) {
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(drivePath, drive)) return -1;
  driveType = static_cast<int>(drive.type);
  Platform::DriveSpace space;
  serialNumber = Platform::QueryDriveSpace(drive.root, space)
                     ? 0
                     : static_cast<std::int32_t>(space.serialNumber);
  return 0;
}

std::string FirstFixedDrive() {
  for (const Platform::DriveInfo& drive : Platform::ListDrives())
    if (drive.type == Platform::DriveType::Fixed) return drive.root;
  return {};
}

int DriveEnumeration(std::string& lastDrive, int& lastType) {
  const std::vector<Platform::DriveInfo> drives = Platform::ListDrives();
  if (drives.empty()) {
    lastDrive.clear();
    lastType = -1;
    return 0;
  }
  lastDrive = drives.back().root;
  lastType = static_cast<int>(drives.back().type);
  return static_cast<int>(drives.size());
}

}  // namespace DiskProc
