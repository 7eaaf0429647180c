#include "platform/win32/retrieval_runs.h"

#include <limits>

namespace Platform::Win32 {

bool AddClusterRuns(std::int64_t startingVcn, const std::vector<ClusterRun>& runs,
                    std::int64_t clusterSize, std::int64_t& vcn, std::vector<DataExtent>& extents) {
  if (clusterSize <= 0 || startingVcn != vcn) return false;
  // Cluster numbers beyond this would overflow as byte offsets.
  const std::int64_t largest = std::numeric_limits<std::int64_t>::max() / clusterSize;
  std::vector<DataExtent> added;
  std::int64_t at = vcn;
  for (const ClusterRun& run : runs) {
    if (run.nextVcn <= at || run.nextVcn > largest) return false;
    if (run.lcn != kNoLcn && (run.lcn < 0 || run.lcn > largest)) return false;
    DataExtent extent;
    extent.logical = at * clusterSize;
    extent.length = (run.nextVcn - at) * clusterSize;
    extent.unplaced = run.lcn == kNoLcn;
    if (!extent.unplaced) extent.physical = static_cast<std::uint64_t>(run.lcn * clusterSize);
    added.push_back(extent);
    at = run.nextVcn;
  }
  extents.insert(extents.end(), added.begin(), added.end());
  vcn = at;
  return true;
}

}  // namespace Platform::Win32
