// Purge throughput: how fast one large file is overwritten by kexwell-cli, compared with shred
// and with dd writing the same amount (the device's limit), and how much memory each needs.
//
//   purge_throughput [FOLDER] [SIZE_MIB] [ROUNDS]
//
// FOLDER (default: the system's temporary folder) decides the file system; SIZE_MIB defaults to
// 512, ROUNDS (the median of which is shown) to 5. kexwell-cli is looked for beside this program's
// build folder. The engine itself is also timed in-process with one cluster per write call and
// with longer runs of whole clusters, to choose the write size.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "child_measure.h"
#include "engine/cluster_size.h"
#include "engine/file_purge.h"
#include "text/random_source.h"

namespace fs = std::filesystem;

namespace {

using Bench::Measurement;
using Bench::RunChild;
using Bench::RunCommand;

Measurement RunEngine(const std::string& path, std::size_t writeRunBytes) {
  return RunChild([&path, writeRunBytes] {
    DriveClusterSize clusterSizes;
    SystemRandomSource random;
    FilePurge::PurgeEnvironment environment(clusterSizes, random);
    environment.writeRunBytes = writeRunBytes;
    short code = 0;
    // Type 2 as users number it: 0xAA, 0x55, 0x00, three overwrites.
    FilePurge::PurgeFile(path, 1, 1, false, false, false, code, environment);
    return code == 0 ? 0 : 1;
  });
}

bool MakeFile(const std::string& path, long sizeMiB) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  std::vector<char> block(1 << 20);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7 + 3);
  for (long i = 0; i < sizeMiB; ++i)
    if (write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) return false;
  const bool ok = fsync(fd) == 0;
  return close(fd) == 0 && ok;
}

struct Row {
  std::string name;
  int overwrites;
  std::function<Measurement()> run;
  std::vector<Measurement> runs{};
  // The median round: the disk's own caching makes single runs swing widely.
  Measurement Median() const {
    std::vector<Measurement> sorted = runs;
    std::sort(sorted.begin(), sorted.end(),
              [](const Measurement& a, const Measurement& b) { return a.seconds < b.seconds; });
    return sorted[sorted.size() / 2];
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : fs::temp_directory_path().string();
  const long sizeMiB = argc > 2 ? std::atol(argv[2]) : 512;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
  const std::string path = (fs::path(folder) / "kexwell-throughput.dat").string();
  const fs::path self = fs::canonical("/proc/self/exe");
  const std::string cli = (self.parent_path().parent_path() / "src/cli/kexwell-cli").string();
  if (!fs::exists(cli)) {
    std::fprintf(stderr, "kexwell-cli not found at %s\n", cli.c_str());
    return 1;
  }
  if (!MakeFile(path, sizeMiB)) {
    std::fprintf(stderr, "cannot write %ld MiB to %s\n", sizeMiB, path.c_str());
    return 1;
  }
  DriveClusterSize clusterSizes;
  std::printf("file: %s, %ld MiB, cluster size %d bytes, median of %d rounds\n\n", path.c_str(),
              sizeMiB, clusterSizes.ForPath(path), rounds);

  const std::string count = std::to_string(sizeMiB);
  std::vector<Row> rows = {
      {"dd bs=1M conv=notrunc,fdatasync", 1,
       [&] {
         return RunCommand({"dd", "if=/dev/zero", "of=" + path, "bs=1M", "count=" + count,
                            "conv=notrunc,fdatasync"});
       }},
      {"kexwell-cli purge --type 2 --passes 1 --keep -y", 3,
       [&] {
         return RunCommand({cli, "purge", "--type", "2", "--passes", "1", "--keep", "--yes", path});
       }},
      {"shred -n 2 -z", 3,
       [&] {
         return RunCommand({"shred", "-n", "2", "-z", path});
       }},
      {"engine, 1 cluster per write call", 3, [&] { return RunEngine(path, 0); }},
      {"engine, 64 KiB per write call", 3, [&] { return RunEngine(path, 64 << 10); }},
      {"engine, 1 MiB per write call", 3, [&] { return RunEngine(path, 1 << 20); }},
      {"engine, 4 MiB per write call", 3, [&] { return RunEngine(path, 4 << 20); }},
  };

  // Each round starts with another row, so that no tool always follows the same one.
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
      Row& row = rows[(i + static_cast<std::size_t>(round)) % rows.size()];
      const Measurement m = row.run();
      if (!m.ok) {
        std::fprintf(stderr, "%s failed\n", row.name.c_str());
        fs::remove(path);
        return 1;
      }
      row.runs.push_back(m);
    }
  }
  fs::remove(path);

  auto rate = [sizeMiB](const Row& row) {
    return static_cast<double>(sizeMiB) * row.overwrites / row.Median().seconds;
  };
  std::printf("%-46s %10s %9s %19s %12s\n", "", "overwrites", "seconds", "MB/s per overwrite",
              "peak memory");
  for (const Row& row : rows) {
    std::printf("%-46s %10d %9.2f %19.1f %8.1f MiB\n", row.name.c_str(), row.overwrites,
                row.Median().seconds, rate(row), row.Median().peakMiB);
  }
  const double dd = rate(rows[0]);
  const double kexwell = rate(rows[1]);
  const double shred = rate(rows[2]);
  std::printf("\nkexwell-cli / dd:    %.2f  (target: at least 0.90)\n", kexwell / dd);
  std::printf("kexwell-cli / shred: %.2f  (target: above 1.00)\n", kexwell / shred);
  std::printf("kexwell-cli peak memory: %.1f MiB  (target: under 16 MiB)\n",
              rows[1].Median().peakMiB);
  return 0;
}
