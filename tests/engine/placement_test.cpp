#include "engine/placement.h"

#include <gtest/gtest.h>

using Placement::Verdict;
using Platform::ByteRange;
using Platform::DataExtent;
using Platform::FileLayout;

namespace {

// An extent at logical, physical, length; flags s (shared), i (inline), u (unplaced).
DataExtent At(std::int64_t logical, std::uint64_t physical, std::int64_t length,
              const char* flags = "") {
  const std::string f(flags);
  return {logical,
          physical,
          length,
          f.find('s') != std::string::npos,
          f.find('i') != std::string::npos,
          f.find('u') != std::string::npos};
}

FileLayout Located(std::vector<DataExtent> extents, bool journaled = false) {
  return {true, std::move(extents), journaled};
}

struct JudgeCase {
  const char* what;
  FileLayout before;
  FileLayout after;
  Verdict verdict;
};

class JudgeTest : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(JudgeTest, TellsWhetherTheOverwriteFellOnTheOldBytes) {
  EXPECT_EQ(Placement::Judge(GetParam().before, GetParam().after), GetParam().verdict)
      << GetParam().what;
}

const FileLayout kTwoRuns = Located({At(0, 40960, 8192), At(8192, 90112, 4096)});

const FileLayout kSplit =
    Located({At(0, 40960, 4096), At(4096, 45056, 4096), At(8192, 90112, 8192)});
const FileLayout kInline = Located({At(0, 1000, 3, "i")});

INSTANTIATE_TEST_SUITE_P(
    Layouts, JudgeTest,
    ::testing::Values(
        JudgeCase{"same runs", kTwoRuns, kTwoRuns, Verdict::InPlace},
        JudgeCase{"runs joined, split and grown by the slack", kTwoRuns, kSplit, Verdict::InPlace},
        JudgeCase{"one run elsewhere", kTwoRuns,
                  Located({At(0, 40960, 8192), At(8192, 94208, 4096)}), Verdict::Moved},
        JudgeCase{"a run moved by one block inside", kTwoRuns,
                  Located({At(0, 40960, 4096), At(4096, 49152, 4096), At(8192, 90112, 4096)}),
                  Verdict::Moved},
        JudgeCase{"old data unmapped", kTwoRuns, Located({At(0, 40960, 8192)}), Verdict::Moved},
        JudgeCase{"now not yet placed", kTwoRuns,
                  Located({At(0, 40960, 8192), At(8192, 0, 4096, "u")}), Verdict::Moved},
        JudgeCase{"shared before, even in place", Located({At(0, 40960, 4096, "s")}),
                  Located({At(0, 40960, 4096)}), Verdict::Shared},
        JudgeCase{"inline before", kInline, kInline, Verdict::Inline},
        JudgeCase{"inline, then blocks", kInline, Located({At(0, 40960, 4096)}), Verdict::Inline},
        JudgeCase{"journaled", Located(kTwoRuns.extents, true), kTwoRuns, Verdict::Journaled},
        JudgeCase{"moved and journaled: moved", Located({At(0, 4096, 4096)}, true),
                  Located({At(0, 8192, 4096)}, true), Verdict::Moved},
        JudgeCase{"no data before: nothing old", Located({}, true), kTwoRuns, Verdict::InPlace},
        JudgeCase{"not placed before", Located({At(0, 0, 4096, "u")}), Located({At(0, 0, 4096)}),
                  Verdict::NotTold},
        JudgeCase{"not told before", FileLayout{}, kTwoRuns, Verdict::NotTold},
        JudgeCase{"not told after", kTwoRuns, FileLayout{}, Verdict::NotTold}));

struct RunsCase {
  std::vector<ByteRange> data;
  std::int64_t length;
  std::vector<ByteRange> runs;
};

class ClusterRunsTest : public ::testing::TestWithParam<RunsCase> {};

TEST_P(ClusterRunsTest, WidenTheDataToWholeClustersAndJoinWhatTouches) {
  EXPECT_EQ(Placement::ClusterRuns(GetParam().data, GetParam().length, 4096), GetParam().runs);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ClusterRunsTest,
    ::testing::Values(
        RunsCase{{}, 0, {{0, 4096}}},              // empty: one cluster
        RunsCase{{{0, 5000}}, 5000, {{0, 8192}}},  // the slack to a whole cluster
        RunsCase{{}, 1 << 20, {}},                 // all hole: nothing to write
        RunsCase{{{0, 10}, {1 << 20, 4096}, {(1 << 20) + 4096, 100}},
                 3 << 20,
                 {{0, 4096}, {1 << 20, 8192}}},                  // touching runs joined
        RunsCase{{{100, 5000}, {6000, 10}}, 9000, {{0, 8192}}},  // overlapping once widened
        RunsCase{{{0, 8192}}, 6000, {{0, 8192}}},                // data past the end is cut to it
        RunsCase{{{0, 10}, {6000, 100}}, 6000, {{0, 4096}}}));   // nothing from the end on

}  // namespace
