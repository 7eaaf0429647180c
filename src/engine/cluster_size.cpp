#include "engine/cluster_size.h"

#include "engine/disk_proc.h"
#include "platform/paths.h"

namespace {

constexpr std::int32_t kMinimumClusterSize = 512;
constexpr std::int32_t kMaximumClusterSize = 65536;
constexpr std::int32_t kFloppyFallback = 512;
constexpr std::int32_t kFallback = 4096;

}  // namespace

DriveClusterSize::DriveClusterSize() : DriveClusterSize(DiskProc::ClusterSizeOfRoot) {}

DriveClusterSize::DriveClusterSize(Query query) : query_(std::move(query)) {}

std::int32_t DriveClusterSize::GetClusterSize(const Platform::DriveInfo& drive,
                                              double* dblSpaceInFreeClusters) {
  if (const std::int32_t known = Known(drive.root); known >= kMinimumClusterSize) return known;

  double bytesInFreeClusters = -1;
  const std::int64_t answer = query_(drive.root, bytesInFreeClusters);
  if (dblSpaceInFreeClusters != nullptr) *dblSpaceInFreeClusters = bytesInFreeClusters;

  std::int32_t size;
  if (answer < 0)
    size = drive.floppy ? kFloppyFallback : kFallback;
  else if (answer > kMaximumClusterSize)
    size = kMaximumClusterSize;
  else
    size = static_cast<std::int32_t>(answer);
  sizes_[drive.root] = size;
  return size;
}

std::int32_t DriveClusterSize::ForPath(const std::string& path) {
  const std::string folder = Platform::FolderPart(path);
  if (folder.empty() || folder != lastFolder_) {
    Platform::DriveInfo drive;
    if (Platform::DriveOfPath(path, drive)) return kFallback;
    lastFolder_ = folder;
    lastDrive_ = drive;
  }
  return GetClusterSize(lastDrive_);
}

std::int32_t DriveClusterSize::Known(const std::string& root) const {
  const auto found = sizes_.find(root);
  return found == sizes_.end() ? 0 : found->second;
}

void DriveClusterSize::Set(const std::string& root, std::int32_t clusterSize) {
  sizes_[root] = clusterSize;
}
