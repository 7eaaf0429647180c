// A stop at any poll point of a walk: nothing is opened, overwritten or deleted after it but the
// pass under way, and no file whose bytes were changed is reported as not purged.

#include <map>

#include "operation/run_fixture.h"
#include "support/native_path.h"

using namespace TestSupport;

namespace {

class WalkStopTest : public RunTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void MakeTree() {
    paths.clear();
    for (const char* name : {"n.txt", "a/n.txt", "a/b/n.txt", "c/n.txt", "c/m.txt"}) {
      paths.push_back(folder / NativePath(name));
      MakeFolders(Utf8Path(FileSystemPath(paths.back()).parent_path()));
      WriteFile(paths.back(), Repeat('x', 5000));
    }
  }

  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    for (const std::string& path : paths) contents[path] = Exists(path) ? ReadFile(path) : "(gone)";
    return contents;
  }

  std::vector<std::string> paths;
};

TEST_P(WalkStopTest, AtEveryPollPointNothingButThePassUnderWayChangesAfterTheStop) {
  settings.purgeType.SelectIndex(1, 1);  // two passes
  Target(GetParam(), true);
  int stops = 0;
  for (int stopAt = 1;; ++stopAt) {
    MakeTree();
    std::map<std::string, std::string> atStop;
    host.yields = 0;
    host.onYield = [&] {
      if (host.yields == stopAt) {
        run.StopButton();
        atStop = Contents();
      }
    };
    Purge();
    if (atStop.empty()) break;  // the run ended before this poll point
    ++stops;

    int changedAfterStop = 0;
    for (const auto& [path, content] : Contents()) changedAfterStop += content != atStop[path];
    EXPECT_LE(changedAfterStop, 1) << "stop at poll point " << stopAt << "\n" << run.Report();
    EXPECT_FALSE(Contains(run.Report(), " not purged.")) << stopAt << "\n" << run.Report();
    EXPECT_TRUE(Contains(run.Report(), "Purge operation was stopped.")) << stopAt;
  }
  EXPECT_GT(stops, 10);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWildcards, WalkStopTest,
                         ::testing::Values("n.txt", "*.txt"));

}  // namespace
