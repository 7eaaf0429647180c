#pragma once

// "kexwell-cli purge PATH" and "kexwell-cli list PATH": whole runs over a file or a folder, with
// the report printed as the report window would hold it.

#include <optional>
#include <string>

namespace CLI {
class App;
}

struct RunCommandOptions {
  std::string path;
  std::optional<std::string> files;
  bool subfolders = false;
  int type = 1;  // as users see it: 1 to 3
  std::optional<int> passes;
  std::optional<std::string> before;  // YYYY-MM-DD
  bool keep = false;
  bool readOnly = false;
  bool system = false;
  bool sensitive = false;
  bool folderNamesOnly = false;
  bool keepEmptyFolders = false;
  bool confirmEach = false;
  bool yes = false;
  bool noFileNames = false;
  bool noFolderNames = false;
};

// Exit statuses.
inline constexpr int kExitDone = 0;     // every matching file purged, or the listing done
inline constexpr int kExitNotAll = 1;   // a file not purged, or the run stopped or cancelled
inline constexpr int kExitRefused = 2;  // a usage error, or a message before the run

CLI::App& AddPurgeCommand(CLI::App& app, RunCommandOptions& options);
CLI::App& AddListCommand(CLI::App& app, RunCommandOptions& options);

// An empty text when the options fit together, otherwise the message of the usage error.
std::string RunCommandUsageError(const RunCommandOptions& options);

int RunPurgeCommand(const RunCommandOptions& options);
int RunListCommand(const RunCommandOptions& options);
