#include "engine/placement.h"

#include <algorithm>

namespace Placement {
namespace {

using Platform::DataExtent;

bool Any(const std::vector<DataExtent>& extents, bool DataExtent::*flag) {
  return std::any_of(extents.begin(), extents.end(),
                     [flag](const DataExtent& extent) { return extent.*flag; });
}

// True when every byte of `old` lies after the overwrite where it lay before: the extents that
// cover its run now map each byte to the same place on the device.
bool StaysInPlace(const DataExtent& old, const std::vector<DataExtent>& after) {
  std::int64_t covered = old.logical;
  const std::int64_t end = old.logical + old.length;
  for (const DataExtent& now : after) {
    if (now.logical + now.length <= covered || now.logical >= end) continue;
    if (now.logical > covered || now.unplaced) return false;
    // The same offset from the start of the run on both sides: the same place on the device.
    const std::int64_t shift = covered - old.logical;
    if (now.physical + static_cast<std::uint64_t>(covered - now.logical) !=
        old.physical + static_cast<std::uint64_t>(shift))
      return false;
    covered = std::min(end, now.logical + now.length);
    if (covered >= end) return true;
  }
  return covered >= end;
}

}  // namespace

Verdict Judge(const Platform::FileLayout& before, const Platform::FileLayout& after) {
  if (!before.located || !after.located) return Verdict::NotTold;
  const std::vector<DataExtent>& old = before.extents;
  if (old.empty()) return Verdict::InPlace;  // no data, nothing old to destroy
  if (Any(old, &DataExtent::inlined)) return Verdict::Inline;
  if (Any(old, &DataExtent::shared)) return Verdict::Shared;
  if (Any(old, &DataExtent::unplaced)) return Verdict::NotTold;
  for (const DataExtent& extent : old)
    if (!StaysInPlace(extent, after.extents)) return Verdict::Moved;
  if (before.dataJournaled || after.dataJournaled) return Verdict::Journaled;
  return Verdict::InPlace;
}

std::vector<Platform::ByteRange> ClusterRuns(const std::vector<Platform::ByteRange>& dataRanges,
                                             std::int64_t length, std::int64_t clusterSize) {
  std::vector<Platform::ByteRange> runs;
  if (length <= 0) {
    runs.push_back({0, clusterSize});
    return runs;
  }
  for (const Platform::ByteRange& range : dataRanges) {
    const std::int64_t end = std::min(range.offset + range.length, length);
    if (range.length <= 0 || range.offset >= end) continue;
    const std::int64_t start = range.offset / clusterSize * clusterSize;
    const std::int64_t stop = (end + clusterSize - 1) / clusterSize * clusterSize;
    if (!runs.empty() && runs.back().offset + runs.back().length >= start) {
      const std::int64_t joined = std::max(runs.back().offset + runs.back().length, stop);
      runs.back().length = joined - runs.back().offset;
    } else {
      runs.push_back({start, stop - start});
    }
  }
  return runs;
}

}  // namespace Placement
