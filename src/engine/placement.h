#pragma once

// Where an overwrite lands. Overwriting destroys a file's old bytes only where the file system
// writes the new ones over them; the purge asks where the data lies before the first overwrite
// and after the first pass, and judges from the two answers. It also works out which bytes to
// overwrite: the parts of the file that hold data, in whole clusters.

#include <cstdint>
#include <vector>

#include "platform/file_layout.h"

namespace Placement {

enum class Verdict {
  InPlace,    // the same blocks, none shared, none inside the file system's records
  Moved,      // the new bytes went to other blocks (copy-on-write): the old ones remain
  Shared,     // blocks that another file or a snapshot also owns: the old bytes remain there
  Inline,     // the data lay inside the file system's own records, which it may keep copies of
  Journaled,  // the file system wrote the data to its journal as well
  NotTold,    // the file system does not say where a file's data lies
};

// The verdict on a file whose data lay as `before` says before its first overwrite and as
// `after` says once the first pass reached the disk. Only the placement of the old data counts:
// runs that the overwrite added beyond it (the slack to a whole cluster) do not.
Verdict Judge(const Platform::FileLayout& before, const Platform::FileLayout& after);

// The runs to overwrite in a file of that length whose data lies in dataRanges: each range
// widened to whole clusters, touching runs joined, in order. An empty file gets one cluster,
// the length the overwrite has always given it.
std::vector<Platform::ByteRange> ClusterRuns(const std::vector<Platform::ByteRange>& dataRanges,
                                             std::int64_t length, std::int64_t clusterSize);

}  // namespace Placement
