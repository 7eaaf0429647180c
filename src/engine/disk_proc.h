#pragma once

// Questions about drives: cluster size, free space, readiness, kind, and which drives there are.
// A drive is named by its root (on POSIX the mount point of its file system). Nothing here
// writes to a disk.

#include <cstdint>
#include <string>

namespace DiskProc {

// The cluster size of the drive with this root: -1 when the drive does not answer, -2 when it
// answers with less than 512 bytes; otherwise the size, and bytesInFreeClusters receives the
// bytes in the free clusters (-1 on either failure).
std::int64_t ClusterSizeOfRoot(const std::string& root, double& bytesInFreeClusters);

// Bytes available to this user and total bytes of the drive that holds path: 0, or -1 when the
// drive cannot be asked.
short FreeSpace(const std::string& path, double& availableBytes, double& totalBytes);

// A fixed drive or a RAM disk is ready; any other drive when its free space can be read.
bool DriveReady(const std::string& root);

// The drive's kind (the numbers of Platform::DriveType) and serial number: 0, or -1 when the
// path lies on no known drive.
short DriveTypeAndSerial(const std::string& drivePath, int& driveType, std::int32_t& serialNumber);

// The root of the first fixed drive in the order the drives are listed; empty when there is none.
std::string FirstFixedDrive();

// The number of drives; lastDrive and lastType receive the root and kind of the last one listed,
// or an empty string and -1 when there is none.
int DriveEnumeration(std::string& lastDrive, int& lastType);

}  // namespace DiskProc
