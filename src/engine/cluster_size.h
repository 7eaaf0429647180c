#pragma once

// The cluster size of each drive, asked of the system once and kept for the whole run of the
// program. The purge overwrites whole clusters of this size.

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/drives.h"

class DriveClusterSize {
 public:
  // Asks the system for a drive root's cluster size (see DiskProc::ClusterSizeOfRoot).
  using Query = std::function<std::int64_t(const std::string& root, double& bytesInFreeClusters)>;

  DriveClusterSize();
  explicit DriveClusterSize(Query query);

  // The drive's cluster size in bytes. A known size (512 or more) comes from the table, and then
  // bytesInFreeClusters is left as it is. Otherwise the system is asked: a drive that does not
  // answer, or answers with less than 512, gets 512 on a floppy and 4096 elsewhere; an answer
  // above 65536 is cut to 65536. The result is kept for the drive.
  std::int32_t GetClusterSize(const Platform::DriveInfo& drive,
                              double* dblSpaceInFreeClusters = nullptr);

  // The cluster size for the drive that holds a path; 4096 when no drive can be found for it.
  std::int32_t ForPath(const std::string& path);

  // The kept value for a drive root: 0 when none (a value below 512 means not yet known).
  std::int32_t Known(const std::string& root) const;
  // Sets a drive's value, as the user may choose one before a purge.
  void Set(const std::string& root, std::int32_t clusterSize);

 private:
  Query query_;
  std::map<std::string, std::int32_t> sizes_;
  // The folder of the last path asked about and its drive, so that a walk over one folder finds
  // its drive once.
  std::string lastFolder_;
  Platform::DriveInfo lastDrive_;
};
