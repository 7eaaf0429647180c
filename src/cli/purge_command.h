#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

// "kexwell-cli purge FILE": purges one file with a chosen type of purge.
struct PurgeCommandOptions {
  std::string path;
  int type = 1;  // as users see it: 1 to 3
  std::optional<int> passes;
  bool keep = false;
  bool readOnly = false;
  bool system = false;
  bool sensitive = false;
};

// Adds the purge command and its options to the application.
CLI::App& AddPurgeCommand(CLI::App& app, PurgeCommandOptions& options);

// Checks the options that depend on each other: an empty text when they are sound, otherwise the
// message for a usage error.
std::string PurgeCommandUsageError(const PurgeCommandOptions& options);

// Purges the file and prints one line: its name followed by " purged" or by the reason it was
// not. Returns the exit status: 0 purged, 1 not purged.
int RunPurgeCommand(const PurgeCommandOptions& options, std::ostream& out);
