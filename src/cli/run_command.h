#pragma once

// "kexwell-cli purge" and "kexwell-cli list": whole runs over files and folders, one part per
// path given, with each part's report printed as the report window would hold it.

#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Validator;
}  // namespace CLI

// A whole number written in digits: what the type and the passes are given as.
extern const CLI::Validator kWholeNumber;

struct ProgramSettings;

struct RunCommandOptions {
  std::vector<std::string> paths;  // each a part of the run, in order
  std::optional<std::string> files;
  bool subfolders = false;
  std::optional<int> type;  // as users see it: 1 to 3
  std::optional<int> passes;
  std::optional<std::string> before;  // YYYY-MM-DD
  bool keep = false;
  bool readOnly = false;
  bool system = false;
  bool hardLinked = false;
  bool sensitive = false;
  bool folderNamesOnly = false;
  bool keepEmptyFolders = false;
  bool confirmEach = false;
  bool yes = false;
  bool removeTargetFolder = false;  // remove the target folder when the purge left it empty
  bool noFileNames = false;
  bool noFolderNames = false;
  std::optional<std::string> setup;      // an operation file to start from
  std::optional<std::string> saveSetup;  // write the setup and do nothing else
};

// Exit statuses.
inline constexpr int kExitDone = 0;           // every matching file purged, or the listing done
inline constexpr int kExitNotAll = 1;         // a file not purged, or the run stopped or cancelled
inline constexpr int kExitRefused = 2;        // a usage error, or a message before the run
inline constexpr int kExitInterrupted = 130;  // stopped by a second Ctrl-C (SIGTERM, SIGHUP)

CLI::App& AddPurgeCommand(CLI::App& app, RunCommandOptions& options);
CLI::App& AddListCommand(CLI::App& app, RunCommandOptions& options);

// An empty text when the options fit together, otherwise the message of the usage error.
std::string RunCommandUsageError(const RunCommandOptions& options);

// The settings that the options describe for one PATH (none: the operation file's target): the
// operation file's when one is named, then every option given on the command line. An empty
// text, or the message that refuses the options.
std::string ConfigureRun(const RunCommandOptions& options, const std::string* path,
                         ProgramSettings& settings);

int RunPurgeCommand(const RunCommandOptions& options);
int RunListCommand(const RunCommandOptions& options);
