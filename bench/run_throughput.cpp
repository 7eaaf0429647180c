// Whole runs of kexwell-cli against the usual tools, each the median of ROUNDS runs:
//  - many small files: 2,000 files of 1 to 64 KiB in 20 folders, purged with type 2 and one pass
//    (three overwrites) and deleted, against find -exec shred -n 2 -z -u on an identical copy;
//  - a listing of a 100,000-file tree with subfolders, against find -printf '%s %t\n'.
//
//   run_throughput [FOLDER] [ROUNDS]
//
// FOLDER (default: the system's temporary folder) decides the file system; ROUNDS defaults to 3.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "child_measure.h"

namespace fs = std::filesystem;

namespace {

void WriteBytes(const fs::path& path, std::size_t size, std::mt19937& random) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror(path.c_str());
    std::exit(1);
  }
  close(fd);
}

// 2,000 files of 1 to 64 KiB, 100 in each of 20 folders; the same sizes every time.
void MakeSmallFiles(const fs::path& root) {
  std::mt19937 random(42);
  for (int folder = 0; folder < 20; ++folder) {
    const fs::path dir = root / ("folder" + std::to_string(folder));
    fs::create_directories(dir);
    for (int file = 0; file < 100; ++file)
      WriteBytes(dir / ("file" + std::to_string(file) + ".dat"), 1024 + random() % (63 * 1024 + 1),
                 random);
  }
}

// 100,000 empty files: 100 folders of 10 subfolders of 100 files.
void MakeLargeTree(const fs::path& root) {
  for (int a = 0; a < 100; ++a) {
    for (int b = 0; b < 10; ++b) {
      const fs::path dir = root / ("folder" + std::to_string(a)) / ("sub" + std::to_string(b));
      fs::create_directories(dir);
      for (int c = 0; c < 100; ++c)
        close(
            open((dir / ("file" + std::to_string(c) + ".txt")).c_str(), O_WRONLY | O_CREAT, 0600));
    }
  }
}

void Print(const char* name, const Bench::Measurement& m) {
  std::printf("%-58s %8.2f s %8.1f MiB%s\n", name, m.seconds, m.peakMiB, m.ok ? "" : "  (failed)");
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const fs::path self = fs::canonical("/proc/self/exe");
  const std::string cli = (self.parent_path().parent_path() / "src/cli/kexwell-cli").string();
  const fs::path work = base / "kexwell-run-throughput";
  fs::remove_all(work);

  std::vector<Bench::Measurement> kexwell;
  std::vector<Bench::Measurement> shred;
  for (int round = 0; round < rounds; ++round) {
    const fs::path a = work / "a";
    const fs::path b = work / "b";
    MakeSmallFiles(a);
    fs::copy(a, b, fs::copy_options::recursive);
    std::system("sync");
    const auto runKexwell = [&] {
      kexwell.push_back(
          Bench::RunCommand({cli, "purge", a.string(), "-r", "-t", "2", "-p", "1", "-y"}));
    };
    const auto runShred = [&] {
      shred.push_back(Bench::RunCommand(
          {"sh", "-c", "find '" + b.string() + "' -type f -exec shred -n 2 -z -u {} +"}));
    };
    // Each round starts with the other tool.
    if (round % 2 == 0) {
      runKexwell();
      runShred();
    } else {
      runShred();
      runKexwell();
    }
    fs::remove_all(work);
  }

  const fs::path tree = work / "tree";
  MakeLargeTree(tree);
  std::vector<Bench::Measurement> listing;
  std::vector<Bench::Measurement> find;
  for (int round = 0; round < rounds; ++round) {
    listing.push_back(Bench::RunCommand({cli, "list", tree.string(), "-r"}));
    find.push_back(Bench::RunCommand(
        {"sh", "-c", "find '" + tree.string() + "' -type f -printf '%s %t\\n' > /dev/null"}));
  }
  fs::remove_all(work);

  const Bench::Measurement k = Bench::Median(kexwell);
  const Bench::Measurement s = Bench::Median(shred);
  const Bench::Measurement l = Bench::Median(listing);
  const Bench::Measurement f = Bench::Median(find);
  std::printf("median of %d rounds\n", rounds);
  Print("kexwell-cli purge DIR -r -t 2 -p 1 -y (2,000 files)", k);
  Print("find DIR -type f -exec shred -n 2 -z -u {} +", s);
  Print("kexwell-cli list DIR -r (100,000 files)", l);
  Print("find DIR -type f -printf '%s %t\\n'", f);
  std::printf("\npurge: kexwell-cli / shred time: %.2f  (target: at most 0.50)\n",
              k.seconds / s.seconds);
  std::printf("list:  kexwell-cli / find time:  %.2f  (target: at most 3)\n",
              l.seconds / f.seconds);
  std::printf("peak memory: purge %.1f MiB, list %.1f MiB  (target: under 32 MiB)\n", k.peakMiB,
              l.peakMiB);
  return 0;
}
