#pragma once

// "kexwell-cli purge-free-space PATH": purges the free space of the drive that holds the folder
// PATH, from a dummy folder made in it; and, at every start of kexwell-cli, the removal of the
// dummy folders that interrupted purges of free space left behind.

#include <optional>
#include <string>

namespace CLI {
class App;
}

struct FreeSpaceOptions {
  std::string path;
  std::optional<int> type;  // as users see it: 1 to 3
  std::optional<int> passes;
  bool yes = false;
};

CLI::App& AddFreeSpaceCommand(CLI::App& app, FreeSpaceOptions& options);
int RunFreeSpaceCommand(const FreeSpaceOptions& options);

// Removes the dummy folders that purges of free space cut short left behind, and says so on
// standard error.
void RemoveLeftoverFillFoldersAtStart();
