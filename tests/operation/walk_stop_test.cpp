// A stop at any poll point of a walk: nothing is opened, overwritten or deleted after it but the
// pass under way, and no file whose bytes were changed is reported as not purged. A stop at the
// next write (a second Ctrl-C) changes nothing after it but the length of a widened file, and
// reports as partly overwritten only files that were.

#include <map>

#include "operation/run_fixture.h"
#include "support/native_path.h"

using namespace TestSupport;

namespace {

class WalkStopTest : public RunTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WalkStopTest, AtEveryPollPointNothingButThePassUnderWayChangesAfterTheStop) {
  std::vector<std::string> paths;
  for (const char* name : {"n.txt", "a/n.txt", "a/b/n.txt", "c/n.txt", "c/m.txt"})
    paths.push_back(folder / NativePath(name));
  const auto contents = [&] {
    std::map<std::string, std::string> all;
    for (const std::string& path : paths) all[path] = Exists(path) ? ReadFile(path) : "(gone)";
    return all;
  };
  settings.purgeType.SelectIndex(1, 1);  // two passes
  Target(GetParam(), true);
  for (const bool atNextWrite : {false, true}) {
    int stops = 0;
    for (int stopAt = 1;; ++stopAt) {
      MakeFolders(folder / NativePath("a/b"));
      MakeFolders(folder / "c");
      for (const std::string& path : paths) WriteFile(path, Repeat('x', 5000));
      std::map<std::string, std::string> atStop;
      host.yields = 0;
      host.onYield = [&] {
        if (host.yields != stopAt) return;
        run.StopButton();
        run.AbortNow = atNextWrite;
        atStop = contents();
      };
      Purge();
      if (atStop.empty()) break;  // the run ended before this poll point
      ++stops;

      int changedAfterStop = 0, partlyOverwritten = 0;
      for (const auto& [path, content] : contents()) {
        changedAfterStop += content != (atNextWrite ? atStop[path].substr(0, 5000) : atStop[path]);
        partlyOverwritten += content != "(gone)" && content != Repeat('x', 5000);
      }
      const std::string& report = run.Report();
      EXPECT_LE(changedAfterStop, atNextWrite ? 0 : 1) << "stop at poll point " << stopAt << "\n" << report;
      EXPECT_FALSE(Contains(report, " not purged.")) << stopAt;
      EXPECT_TRUE(!Contains(report, "only partly overwritten") || partlyOverwritten >= 1) << stopAt;
    }
    EXPECT_GT(stops, 10);
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWildcards, WalkStopTest, ::testing::Values("n.txt", "*.txt"));

}  // namespace
