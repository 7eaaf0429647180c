// Counting the matching files of a large tree, compared with find.
//
//   tree_count [FOLDER] [FILES]
//
// Makes a tree of FILES empty files (default 100,000: 100 folders of 10 subfolders of 100 files)
// under FOLDER (default: the system's temporary folder), then times CountMatchingFilesInTree
// with "*.*" and with "*.txt" against `find DIR -type f | wc -l`, each the median of 5 runs.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "targets/folder_queries.h"

namespace fs = std::filesystem;

namespace {

double MedianSeconds(const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const long files = argc > 2 ? std::atol(argv[2]) : 100000;
  const fs::path root = base / "kexwell-tree-count";
  fs::remove_all(root);
  long made = 0;
  for (int a = 0; made < files; ++a) {
    for (int b = 0; b < 10 && made < files; ++b) {
      const fs::path folder = root / ("folder" + std::to_string(a)) / ("sub" + std::to_string(b));
      fs::create_directories(folder);
      for (int c = 0; c < 100 && made < files; ++c, ++made) {
        const std::string name =
            (folder / ("file" + std::to_string(c) + (c % 2 ? ".txt" : ".dat"))).string();
        close(open(name.c_str(), O_WRONLY | O_CREAT, 0600));
      }
    }
  }

  std::int32_t count = 0;
  auto countTree = [&](const char* filespec) {
    std::int16_t limit = 0;
    double size = 0;
    std::int32_t stop = 0;
    CountMatchingFilesInTree(true, root.string(), filespec, count, limit, false, size, stop);
  };
  const double allFiles = MedianSeconds([&] { countTree("*.*"); });
  const std::int32_t allCount = count;
  const double txtFiles = MedianSeconds([&] { countTree("*.txt"); });
  const std::int32_t txtCount = count;
  const std::string command = "find '" + root.string() + "' -type f | wc -l > /dev/null";
  const double find = MedianSeconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "find failed\n");
  });
  fs::remove_all(root);

  std::printf("tree of %ld files, median of 5 runs\n", made);
  std::printf("CountMatchingFilesInTree \"*.*\"   %8.3f s  (%d files)\n", allFiles, allCount);
  std::printf("CountMatchingFilesInTree \"*.txt\" %8.3f s  (%d files)\n", txtFiles, txtCount);
  std::printf("find -type f | wc -l             %8.3f s\n", find);
  std::printf("ratio to find: %.2f and %.2f  (target: at most 2)\n", allFiles / find,
              txtFiles / find);
  return 0;
}
