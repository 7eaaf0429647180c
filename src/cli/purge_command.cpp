#include "cli/purge_command.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "engine/cluster_size.h"
#include "engine/file_ops.h"
#include "engine/file_purge.h"
#include "engine/purge_type_choice.h"
#include "operation/result_texts.h"
#include "platform/program.h"
#include "text/random_source.h"

namespace {

constexpr const char* kPurgeDescription =
    "Overwrites FILE in place, whole cluster by whole cluster, with the patterns of the type of\n"
    "purge, flushing it to the disk after every overwrite, and then deletes it.\n"
    "\n"
    "Types of purge (overwrites of one pass, in order):\n"
    "  1  random bytes, 00000000                                   1 to 9 passes, default 6\n"
    "  2  10101010, 01010101, 00000000                             1 to 8 passes, default 4\n"
    "  3  10101010, 01010101, random bytes, 00001010, 11110101,\n"
    "     random bytes                                             1 to 4 passes, default 2\n"
    "\n"
    "Links, folders, devices, pipes and sockets are never written. Files in the program's own\n"
    "folders and swap files are refused. Files with extensions that mark programs, drivers or\n"
    "system settings (bat bin com dll drv exe ini ovl pif sys ocx kbd) are refused unless\n"
    "--sensitive is given.\n"
    "\n"
    "Prints the file's name followed by \" purged\" or by the reason it was not purged.\n"
    "Exit status: 0 purged, 1 not purged, 2 usage error.";

// Report texts use CR LF between lines; a terminal wants LF.
std::string ForTerminal(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  return text;
}

}  // namespace

CLI::App& AddPurgeCommand(CLI::App& app, PurgeCommandOptions& options) {
  CLI::App* purge = app.add_subcommand("purge", "Purge one file: overwrite it, then delete it");
  purge->footer(kPurgeDescription);
  purge->add_option("FILE", options.path, "The file to purge")->required();
  purge->add_option("-t,--type", options.type, "Type of purge, 1 to 3 (default 1)")
      ->check(CLI::Range(1, 3));
  purge->add_option("-p,--passes", options.passes,
                    "Number of passes (default: the type's default)");
  purge->add_flag("-k,--keep", options.keep,
                  "Keep the overwritten file with its former length and time stamps");
  purge->add_flag("--read-only", options.readOnly, "Also purge the file when it is read-only");
  purge->add_flag("--system", options.system, "Also purge the file when it is a system file");
  purge->add_flag("--sensitive", options.sensitive,
                  "Also purge a file with a sensitive extension (such as .exe or .sys)");
  return *purge;
}

std::string PurgeCommandUsageError(const PurgeCommandOptions& options) {
  if (options.passes) {
    const auto type = static_cast<short>(options.type - 1);
    const short maxPasses = PurgeTypeChoice::MaxPasses(type);
    if (*options.passes < 1 || *options.passes > maxPasses) {
      return "--passes: type " + std::to_string(options.type) + " offers 1 to " +
             std::to_string(maxPasses) + " passes";
    }
  }
  return {};
}

int RunPurgeCommand(const PurgeCommandOptions& options, std::ostream& out) {
  PurgeTypeChoice choice;
  choice.Initialization();
  const auto type = static_cast<short>(options.type - 1);
  choice.SetPurgeType(type);
  if (options.passes) choice.RestoreFromSetup(type, static_cast<short>(*options.passes));
  const short purgeType = choice.GetPurgeType();
  const short passes = choice.GetNumberOfPasses();

  const std::string path = Platform::AbsolutePath(options.path);

  FileOps::ProtectedFiles protection;
  protection.Reset(0);
  short code = protection.CheckFile(path);
  if (code == FileOps::kSensitiveExtension && options.sensitive) code = FileOps::kMayPurge;

  if (code == FileOps::kMayPurge) {
    DriveClusterSize clusterSizes;
    SystemRandomSource random;
    FilePurge::PurgeEnvironment environment(clusterSizes, random);
    for (short pass = 1; pass <= passes; ++pass) {
      const bool deleteAfterThisPass = pass == passes && !options.keep;
      FilePurge::PurgeFile(path, purgeType, 1, deleteAfterThisPass, options.readOnly,
                           options.system, code, environment);
      if (code < 0) break;
    }
  }

  if (code == FilePurge::kPurged) {
    out << options.path << " purged\n";
    return 0;
  }
  out << options.path
      << ForTerminal(ResultCodeReportText(code, FileOps::ProtectedFiles::ExtensionOf(path)))
      << '\n';
  return 1;
}
