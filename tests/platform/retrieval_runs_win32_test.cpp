#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/file_layout.h"
#include "platform/win32/retrieval_runs.h"

namespace {

using Platform::DataExtent;
using Platform::Win32::ClusterRun;
using Platform::Win32::kNoLcn;

constexpr std::int64_t kCluster = 4096;
const DataExtent kEarlier{0, 8192, 4096, false, false, false};

DataExtent Placed(std::int64_t logical, std::uint64_t physical, std::int64_t length) {
  return {logical, physical, length, false, false, false};
}

DataExtent Unplaced(std::int64_t logical, std::int64_t length) {
  return {logical, 0, length, false, false, true};
}

struct RunsCase {
  const char* name;
  std::int64_t vcn;  // where the question began
  std::int64_t startingVcn;
  std::vector<ClusterRun> runs;
  bool map;
  std::int64_t vcnAfter;
  std::vector<DataExtent> added;  // after kEarlier
};

constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max() / kCluster + 1;

TEST(AddClusterRuns, TurnsClustersIntoBytesOrRefusesWhatIsNoMap) {
  const RunsCase cases[] = {
      {"placed runs and a hole", 0, 0, {{2, 100}, {5, kNoLcn}, {6, 7}}, true, 6,
       {Placed(0, 409600, 8192), Unplaced(8192, 12288), Placed(20480, 28672, 4096)}},
      {"the rest after a full answer", 6, 6, {{9, 0}}, true, 9, {Placed(24576, 0, 12288)}},
      {"Wine's answer", 0, 1, {{0, 0}}, false, 0, {}},
      {"starting elsewhere", 6, 4, {{9, 3}}, false, 6, {}},
      {"a run ending where it begins", 0, 0, {{2, 1}, {2, 3}}, false, 0, {}},
      {"a cluster beyond any offset", 0, 0, {{1, kHuge}}, false, 0, {}},
      {"a run beyond any offset", 0, 0, {{kHuge, 5}}, false, 0, {}}};
  for (const RunsCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<DataExtent> extents{kEarlier};
    std::int64_t vcn = c.vcn;
    EXPECT_EQ(Platform::Win32::AddClusterRuns(c.startingVcn, c.runs, kCluster, vcn, extents),
              c.map);
    std::vector<DataExtent> expected{kEarlier};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(extents, expected);
    EXPECT_EQ(vcn, c.vcnAfter);
  }
}

}  // namespace
