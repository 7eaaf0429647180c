#include "engine/purge_fixture.h"

#include <fstream>
#include <sstream>

#include "engine/overwrite_buffers.h"

namespace TestSupport {

void WatchingHost::Yield() {
  std::ifstream in(FileSystemPath(path_), std::ios::binary);
  if (!in) return;
  std::ostringstream content;
  content << in.rdbuf();
  if (contents.empty() || contents.back() != content.str()) contents.push_back(content.str());
}

std::vector<std::string> WatchingHost::WholeOverwrites(std::size_t clusterSize) const {
  std::vector<std::string> whole;
  for (const std::string& content : contents) {
    std::string copies;
    while (copies.size() < content.size()) copies += content.substr(0, clusterSize);
    if (!content.empty() && content.size() % clusterSize == 0 && copies == content)
      whole.push_back(content);
  }
  return whole;
}

PurgeTest::PurgeTest()
    : clusterSizes([this](const std::string&, double& freeBytes) -> std::int64_t {
        ++clusterQuestions;
        freeBytes = 1e9;
        return 4096;
      }),
      environment(clusterSizes, random) {
  environment.deleteRetry.sleep = [](int) {};
  environment.yieldInterval = std::chrono::milliseconds(0);
  environment.writeRunBytes = 0;  // one cluster per write, so every overwrite can be watched
}

short PurgeTest::Purge(const std::string& path, short type, short passes, bool deleteFile,
                       bool okReadOnly, bool okSystem) {
  short code = 12345;
  const bool ok =
      FilePurge::PurgeFile(path, type, passes, deleteFile, okReadOnly, okSystem, code, environment);
  EXPECT_EQ(ok, code >= 0);
  return code;
}

std::string PurgeTest::RandomClusterOfPass(int pass) const {
  ScriptedRandom again;
  again.Seed();
  FilePurge::ClusterBuffers buffers;
  for (int i = 1; i <= pass; ++i) buffers.Build(4096, again);
  const auto& cluster = buffers.ForPattern(256);
  return std::string(cluster.begin(), cluster.end());
}

}  // namespace TestSupport
