#include "engine/placement.h"

#include <gtest/gtest.h>

#include <cstring>

using Placement::Verdict;
using Platform::ByteRange;
using Platform::DataExtent;
using Platform::FileLayout;

namespace {

// An extent at logical, physical, length; flags s (shared), i (inline), u (unplaced).
DataExtent At(std::int64_t logical, std::uint64_t physical, std::int64_t length, const char* flags = "") {
  const auto has = [flags](char flag) { return std::strchr(flags, flag) != nullptr; };
  return {logical, physical, length, has('s'), has('i'), has('u')};
}

FileLayout Located(std::vector<DataExtent> extents, bool journaled = false) {
  return {true, std::move(extents), journaled};
}

const FileLayout kTwoRuns = Located({At(0, 40960, 8192), At(8192, 90112, 4096)});

TEST(Placement, JudgeTellsWhetherTheOverwriteFellOnTheOldBytes) {
  // One cluster at `physical`.
  const auto one = [](std::uint64_t physical, const char* flags = "", bool journaled = false) {
    return Located({At(0, physical, 4096, flags)}, journaled);
  };
  const FileLayout split = Located({At(0, 40960, 4096), At(4096, 45056, 4096), At(8192, 90112, 8192)});
  const FileLayout movedInside = Located({At(0, 40960, 4096), At(4096, 49152, 4096), At(8192, 90112, 4096)});
  const struct { const char* what; FileLayout before, after; Verdict verdict; } rows[] = {
      {"same runs", kTwoRuns, kTwoRuns, Verdict::InPlace},
      {"runs joined, split and grown by the slack", kTwoRuns, split, Verdict::InPlace},
      {"a run moved by one block inside", kTwoRuns, movedInside, Verdict::Moved},
      {"old data unmapped", kTwoRuns, Located({At(0, 40960, 8192)}), Verdict::Moved},
      {"now not yet placed", kTwoRuns, Located({At(0, 40960, 8192), At(8192, 0, 4096, "u")}), Verdict::Moved},
      {"shared before, even in place", one(40960, "s"), one(40960), Verdict::Shared},
      {"inline, then blocks", Located({At(0, 1000, 3, "i")}), one(40960), Verdict::Inline},
      {"journaled", Located(kTwoRuns.extents, true), kTwoRuns, Verdict::Journaled},
      {"moved and journaled: moved", one(4096, "", true), one(8192, "", true), Verdict::Moved},
      {"no data before: nothing old", Located({}, true), kTwoRuns, Verdict::InPlace},
      {"not placed before", one(0, "u"), one(0), Verdict::NotTold},
      {"not told before", FileLayout{}, kTwoRuns, Verdict::NotTold},
      {"not told after", kTwoRuns, FileLayout{}, Verdict::NotTold}};
  for (const auto& row : rows) EXPECT_EQ(Placement::Judge(row.before, row.after), row.verdict) << row.what;
}

TEST(Placement, ClusterRunsWidenTheDataToWholeClustersAndJoinWhatTouches) {
  const struct { std::vector<ByteRange> data; std::int64_t length; std::vector<ByteRange> runs; } rows[] = {
      {{}, 0, {{0, 4096}}},              // empty: one cluster
      {{{0, 5000}}, 5000, {{0, 8192}}},  // the slack to a whole cluster
      {{}, 1 << 20, {}},                 // all hole: nothing to write
      {{{0, 10}, {1 << 20, 4096}, {(1 << 20) + 4096, 100}}, 3 << 20, {{0, 4096}, {1 << 20, 8192}}},  // joined
      {{{100, 5000}, {6000, 10}}, 9000, {{0, 8192}}},  // overlapping once widened
      {{{0, 8192}}, 6000, {{0, 8192}}},                // data past the end is cut to it
      {{{0, 10}, {6000, 100}}, 6000, {{0, 4096}}}};    // nothing from the end on
  for (const auto& row : rows)
    EXPECT_EQ(Placement::ClusterRuns(row.data, row.length, 4096), row.runs) << row.length;
}

}  // namespace
