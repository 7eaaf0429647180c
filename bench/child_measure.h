#pragma once

// Runs a command or a piece of code in a child process, timing it and reading its peak memory
// (its own and that of the processes it waited for) from the kernel.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace Bench {

struct Measurement {
  double seconds = 0;
  double peakMiB = 0;
  bool ok = false;
};

inline Measurement RunChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Measurement m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

// Runs argv with standard input, output and error on /dev/null.
inline Measurement RunCommand(const std::vector<std::string>& argv) {
  return RunChild([&argv] {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    execvp(args[0], args.data());
    return 127;
  });
}

inline Measurement Median(std::vector<Measurement> runs) {
  std::sort(runs.begin(), runs.end(),
            [](const Measurement& a, const Measurement& b) { return a.seconds < b.seconds; });
  return runs[runs.size() / 2];
}

}  // namespace Bench
