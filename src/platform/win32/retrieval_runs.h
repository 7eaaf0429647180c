#pragma once

// NTFS, ReFS and FAT tell where a file's clusters lie as runs of virtual cluster numbers (the
// clusters of the file, counted from 0) mapped to logical cluster numbers (the clusters of the
// volume). These turn such runs into the extents of a file's layout.

#include <cstdint>
#include <vector>

#include "platform/file_layout.h"

namespace Platform::Win32 {

// One run of an answer: it ends before nextVcn and begins where the one before it ended (the
// first at the answer's starting VCN). An LCN of -1 marks clusters with no place of their own: a
// sparse file's hole, or the clusters a compressed run saves.
struct ClusterRun {
  std::int64_t nextVcn = 0;
  std::int64_t lcn = 0;
};

inline constexpr std::int64_t kNoLcn = -1;

// Adds the runs of one answer, which began at startingVcn, to extents in bytes, and moves vcn to
// the end of the last run. False, with extents and vcn as they were, when the answer is no map of
// the file from vcn on: it starts elsewhere, a run ends where it begins or before, or a number
// lies outside the volume's range. (Wine answers every file with one run from VCN 1 to VCN 0.)
bool AddClusterRuns(std::int64_t startingVcn, const std::vector<ClusterRun>& runs,
                    std::int64_t clusterSize, std::int64_t& vcn, std::vector<DataExtent>& extents);

}  // namespace Platform::Win32
