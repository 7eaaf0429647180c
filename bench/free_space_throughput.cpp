// Free-space throughput: how fast a purge of free space fills a drive, compared with dd writing
// as much to the same file system (the device's limit), and how much memory it needs. Some
// disks (thin-provisioned and virtual ones) take zeros faster than other bytes, so dd's zeros are
// also written as the bit pattern 10101010 that the fill writes (type 2's first overwrite), the
// way dd writes: 1 MiB a call, written through at the end.
//
//   free_space_throughput FOLDER [ROUNDS]
//
// The purge fills the whole drive of FOLDER, so FOLDER must lie on a file system of its own,
// such as a loop-mounted image; a drive with more than 8 GiB free is refused. ROUNDS (default 3)
// are run, and the median of each is shown. kexwell-cli is looked for beside this program's build
// folder.

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "child_measure.h"
#include "engine/cluster_size.h"
#include "engine/free_space_purge.h"
#include "text/random_source.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kMiB = 1048576.0;
constexpr double kMostFree = 8.0 * 1024 * kMiB;

double AvailableBytes(const std::string& folder) {
  struct statvfs info {};
  if (statvfs(folder.c_str(), &info) != 0) return -1;
  return static_cast<double>(info.f_bavail) * static_cast<double>(info.f_frsize);
}

// Times the fill (the first overwrite) and the rewrite in place (the second) of one purge.
class Timer final : public FreeSpacePurge::FillHost {
 public:
  void OverwriteStarted(short, short, std::int64_t) override { marks.push_back(Clock::now()); }
  void OverwriteDone(short, std::int64_t written, int) override {
    marks.push_back(Clock::now());
    bytes.push_back(static_cast<double>(written));
  }
  double Rate(std::size_t overwrite) const {
    const std::size_t start = 2 * overwrite;
    if (bytes.size() <= overwrite || marks.size() < start + 2) return 0;
    const double seconds = std::chrono::duration<double>(marks[start + 1] - marks[start]).count();
    return bytes[overwrite] / kMiB / seconds;
  }
  std::vector<Clock::time_point> marks;
  std::vector<double> bytes;
};

// dd bs=1M count=mebibytes conv=fdatasync, of the bit pattern 10101010.
bool WritePattern(const std::string& path, long mebibytes) {
  const std::vector<unsigned char> block(1 << 20, 0xAA);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return false;
  bool ok = true;
  for (long i = 0; ok && i < mebibytes; ++i)
    ok = write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size());
  ok = ok && fdatasync(fd) == 0;
  return close(fd) == 0 && ok;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: free_space_throughput FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const double available = AvailableBytes(folder);
  if (available < 64 * kMiB || available > kMostFree) {
    std::fprintf(stderr,
                 "%s has %.0f MiB free: give the bench a file system of its own with 64 MiB to "
                 "8 GiB free (it fills it)\n",
                 folder.c_str(), available / kMiB);
    return 2;
  }
  const fs::path self = fs::canonical("/proc/self/exe");
  const std::string cli = (self.parent_path().parent_path() / "src/cli/kexwell-cli").string();
  const std::string ddFile = (fs::path(folder) / "dd-throughput.dat").string();
  // dd writes as much as the purge fills, less a margin so that it never meets a full drive.
  const long ddMiB = static_cast<long>(available / kMiB) - 16;

  std::vector<double> dd, ddPattern, fill, rewrite, cliRate, cliPeak;
  for (int round = 0; round < rounds; ++round) {
    const Bench::Measurement p =
        Bench::RunChild([&ddFile, ddMiB] { return WritePattern(ddFile, ddMiB) ? 0 : 1; });
    fs::remove(ddFile);
    Bench::RunCommand({"sync"});
    if (!p.ok) {
      std::fprintf(stderr, "writing the pattern as dd does failed\n");
      return 1;
    }
    ddPattern.push_back(static_cast<double>(ddMiB) / p.seconds);

    const Bench::Measurement d =
        Bench::RunCommand({"dd", "if=/dev/zero", "of=" + ddFile, "bs=1M",
                           "count=" + std::to_string(ddMiB), "conv=fdatasync"});
    fs::remove(ddFile);
    Bench::RunCommand({"sync"});
    if (!d.ok) {
      std::fprintf(stderr, "dd failed\n");
      return 1;
    }
    dd.push_back(static_cast<double>(ddMiB) / d.seconds);

    DriveClusterSize sizes;
    SystemRandomSource random;
    FreeSpacePurge::Environment environment(sizes, random);
    Timer timer;
    environment.host = &timer;
    // Type 2 as users number it: 10101010, 01010101, 00000000.
    const FreeSpacePurge::Outcome outcome = FreeSpacePurge::Run(folder, 1, 1, environment);
    if (outcome.ending != FreeSpacePurge::Ending::Full || !outcome.removed) {
      std::fprintf(stderr, "the purge of free space did not fill the drive\n");
      return 1;
    }
    fill.push_back(timer.Rate(0));
    rewrite.push_back(timer.Rate(1));

    const double before = AvailableBytes(folder);
    const Bench::Measurement c =
        Bench::RunCommand({cli, "purge-free-space", folder, "-t", "2", "-p", "1", "-y"});
    if (!c.ok) {
      std::fprintf(stderr, "kexwell-cli purge-free-space failed\n");
      return 1;
    }
    cliRate.push_back(3 * before / kMiB / c.seconds);
    cliPeak.push_back(c.peakMiB);
  }

  std::printf("drive of %s: %.0f MiB free, median of %d rounds\n\n", folder.c_str(),
              available / kMiB, rounds);
  std::printf("%-58s %12s\n", "", "MiB/s");
  std::printf("%-58s %12.1f\n", "dd if=/dev/zero bs=1M conv=fdatasync", Median(dd));
  std::printf("%-58s %12.1f\n", "the same, of the bit pattern 10101010", Median(ddPattern));
  std::printf("%-58s %12.1f\n", "engine, the fill (overwrite 1: until the drive is full)",
              Median(fill));
  std::printf("%-58s %12.1f\n", "engine, the rewrite in place (overwrite 2)", Median(rewrite));
  std::printf("%-58s %12.1f\n", "kexwell-cli purge-free-space -t 2 -p 1 -y (3 overwrites)",
              Median(cliRate));
  std::printf("\nfill / dd:                  %.2f  (target: at least 0.90)\n",
              Median(fill) / Median(dd));
  std::printf("fill / dd of the pattern:   %.2f\n", Median(fill) / Median(ddPattern));
  std::printf("kexwell-cli peak memory:    %.1f MiB  (target: under 32 MiB)\n", Median(cliPeak));
  return 0;
}
