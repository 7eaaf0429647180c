#pragma once

// "kexwell-cli speed-test [PATH]": measures the purge speed of the drive that holds PATH and
// stores it for the estimates of later listings.

#include <string>

namespace CLI {
class App;
}

struct SpeedTestOptions {
  std::string path = ".";
  bool yes = false;
};

CLI::App& AddSpeedTestCommand(CLI::App& app, SpeedTestOptions& options);
int RunSpeedTestCommand(const SpeedTestOptions& options);
