#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/file_layout.h"
#include "platform/win32/retrieval_runs.h"

using Platform::DataExtent;
using namespace Platform::Win32;

constexpr std::int64_t kCluster = 4096;
constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max() / kCluster + 1;
const DataExtent kEarlier{0, 8192, 4096, false, false, false};

// Runs of clusters become extents in bytes after the ones already found, a run without a cluster
// (kNoLcn) a hole; an answer that is no map of the runs asked for adds nothing and keeps the VCN.
TEST(AddClusterRuns, TurnsClustersIntoBytesOrRefusesWhatIsNoMap) {
  // vcn: where the question began, startingVcn: where the answer begins; added: none when no map.
  const struct { const char* name; std::int64_t vcn, startingVcn; std::vector<ClusterRun> runs;
                 std::int64_t vcnAfter; std::vector<DataExtent> added; } cases[] = {
      {"placed runs and a hole", 0, 0, {{2, 100}, {5, kNoLcn}, {6, 7}}, 6,
       {{0, 409600, 8192, false, false, false}, {8192, 0, 12288, false, false, true},
        {20480, 28672, 4096, false, false, false}}},
      {"the rest after a full answer", 6, 6, {{9, 0}}, 9, {{24576, 0, 12288, false, false, false}}},
      {"Wine's answer", 0, 1, {{0, 0}}, 0, {}},
      {"a run ending where it begins", 0, 0, {{2, 1}, {2, 3}}, 0, {}},
      {"a cluster beyond any offset", 0, 0, {{1, kHuge}}, 0, {}},
      {"a run beyond any offset", 0, 0, {{kHuge, 5}}, 0, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<DataExtent> extents{kEarlier};
    std::int64_t vcn = c.vcn;
    EXPECT_EQ(AddClusterRuns(c.startingVcn, c.runs, kCluster, vcn, extents), !c.added.empty());
    std::vector<DataExtent> expected{kEarlier};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(extents, expected);
    EXPECT_EQ(vcn, c.vcnAfter);
  }
}
