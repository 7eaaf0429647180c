#include "cli/run_command.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/terminal.h"
#include "dates/day_numbers.h"
#include "engine/purge_type_choice.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/run_start.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/program.h"

namespace {

constexpr const char* kTypesHelp =
    "Types of purge (overwrites of one pass, in order):\n"
    "  1  random bytes, 00000000                                   1 to 9 passes, default 6\n"
    "  2  10101010, 01010101, 00000000                             1 to 8 passes, default 4\n"
    "  3  10101010, 01010101, random bytes, 00001010, 11110101,\n"
    "     random bytes                                             1 to 4 passes, default 2\n";

std::atomic<bool>* stopFlag = nullptr;

// Ctrl-C asks the run to stop at its next poll point, so the summary is still written. A second
// Ctrl-C ends the program at once.
extern "C" void OnInterrupt(int) {
  if (stopFlag != nullptr) stopFlag->store(true);
  std::signal(SIGINT, SIG_DFL);
}

void AddTargetOptions(CLI::App& command, RunCommandOptions& options) {
  command.add_option("PATH", options.path, "A file (purged on its own) or a folder")->required();
  command.add_option("-f,--files", options.files,
                     "File specification within the folder (default \"*.*\")");
  command.add_flag("-r,--subfolders", options.subfolders, "Include lower subfolders");
  command.add_option("-t,--type", options.type, "Type of purge: 1, 2 or 3 (default 1)")
      ->check(CLI::Range(1, 3));
  command.add_option("-p,--passes", options.passes, "Passes (default: the type's default)");
  command.add_option("-b,--before", options.before,
                     "Only files dated before that day (YYYY-MM-DD)");
}

std::optional<std::int32_t> DayNumberOf(const std::string& text) {
  int year = 0;
  int month = 0;
  int day = 0;
  char dash1 = 0;
  char dash2 = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%d%c%d%c%d%c", &year, &dash1, &month, &dash2, &day, &rest) != 5 ||
      dash1 != '-' || dash2 != '-')
    return std::nullopt;
  DatePr2::DateParts parts;
  parts.year = year;
  parts.month = month;
  parts.day = day;
  DatePr2::EuroDateToJdn(parts);
  if (parts.valid == 0) return std::nullopt;
  return parts.dayNumber;
}

// The settings of the run from the options: target, type of purge, date restriction, options.
void Configure(const RunCommandOptions& options, ProgramSettings& settings) {
  const std::string path = Platform::AbsolutePath(options.path);
  TargetRecord& target = settings.target;
  // A path ending in "/" names a folder, whether it exists or not.
  if (Platform::FolderExists(path) || path.ends_with('/')) {
    target.TargetFolder = WithTrailingSeparator(path);
    target.TargetFilespec = options.files.value_or("*.*");
    target.blnSubdirectories = options.subfolders;
  } else {
    // A file named on its own keeps its exact name.
    target.TargetFolder = Platform::FolderPart(path);
    target.TargetFilespec = Platform::NamePart(path);
    target.blnSubdirectories = false;
  }

  const auto type = static_cast<short>(options.type - 1);
  settings.purgeType.SetPurgeType(type);
  if (options.passes)
    settings.purgeType.RestoreFromSetup(type, static_cast<short>(*options.passes));

  if (options.before) settings.dateRestriction.lngOnlyBeforeThisJDN = *DayNumberOf(*options.before);

  PurgeOptions& run = settings.options;
  run.blnDoNotDeletePurgedFiles = options.keep;
  run.blnOKToPurgeReadOnlyFiles = options.readOnly;
  run.blnOKToPurgeSystemFiles = options.system;
  run.blnOKToPurgeSensitiveFiles = options.sensitive;
  run.blnFolderNamesOnly = options.folderNamesOnly;
  // Emptied subfolders are removed only where subfolders are part of the target.
  run.blnDeleteEmptyFolders = target.blnSubdirectories && !options.keepEmptyFolders;
  settings.blnConfirmFiles = options.confirmEach;
}

void PrintReport(const PurgeRun& run) {
  const std::string report = WithSystemLineEnds(run.Report());
  std::cout << report << (report.empty() || report.back() == '\n' ? "" : "\n") << std::flush;
}

int RunWithInterrupt(PurgeRun& run) {
  stopFlag = &run.blnStop;
  auto* const previous = std::signal(SIGINT, OnInterrupt);
  run.ProcessFiles();
  std::signal(SIGINT, previous);
  stopFlag = nullptr;
  return 0;
}

}  // namespace

CLI::App& AddPurgeCommand(CLI::App& app, RunCommandOptions& options) {
  CLI::App* purge =
      app.add_subcommand("purge", "Overwrite files beyond recovery, then delete them");
  AddTargetOptions(*purge, options);
  purge->add_flag("--keep", options.keep,
                  "Do not delete purged files (they keep their length and dates)");
  purge->add_flag("--read-only", options.readOnly, "Purge read-only files");
  purge->add_flag("--system", options.system, "Purge system files");
  purge->add_flag("--sensitive", options.sensitive,
                  "Purge files with sensitive extensions (bat bin com dll drv exe ini ovl pif "
                  "sys ocx kbd) without asking");
  purge->add_flag("--folder-names-only", options.folderNamesOnly,
                  "A dot per purged file instead of its name");
  purge->add_flag("--keep-empty-folders", options.keepEmptyFolders,
                  "Do not remove emptied subfolders (removed by default)");
  purge->add_flag("--confirm-each", options.confirmEach, "Ask before each file");
  purge->add_flag("-y,--yes", options.yes, "Do not ask for the confirmation");
  purge->footer(std::string(kTypesHelp) +
                "\n"
                "The files are counted and the confirmation is shown first; without --yes it is\n"
                "asked on the terminal (without a terminal the answer is No). Links, folders,\n"
                "devices, pipes and sockets are never written: they are reported as not a\n"
                "regular file. Ctrl-C stops the purge after the current pass; the summary is\n"
                "still written.\n"
                "\n"
                "Exit status: 0 every matching file purged, 1 a file not purged or the purge\n"
                "stopped or cancelled, 2 a usage error or a message before the purge.\n");
  return *purge;
}

CLI::App& AddListCommand(CLI::App& app, RunCommandOptions& options) {
  CLI::App* list = app.add_subcommand(
      "list", "List what a purge would touch and estimate its time; purges nothing");
  AddTargetOptions(*list, options);
  list->add_flag("--no-file-names", options.noFileNames, "No line per file");
  list->add_flag("--no-folder-names", options.noFolderNames,
                 "A dot per folder instead of its path");
  list->footer(std::string(kTypesHelp) +
               "\n"
               "With --subfolders, files are not listed one by one: folders are.\n"
               "Exit status: 0 the listing was done, 1 it was stopped, 2 a usage error or a\n"
               "message before the listing.\n");
  return *list;
}

std::string RunCommandUsageError(const RunCommandOptions& options) {
  if (options.passes) {
    const auto type = static_cast<short>(options.type - 1);
    const short maxPasses = PurgeTypeChoice::MaxPasses(type);
    if (*options.passes < 1 || *options.passes > maxPasses) {
      return "--passes: type " + std::to_string(options.type) + " offers 1 to " +
             std::to_string(maxPasses) + " passes";
    }
  }
  if (options.before && !DayNumberOf(*options.before))
    return "--before: \"" + *options.before + "\" is not a date of the form YYYY-MM-DD";
  if (options.files && options.files->empty()) return "--files: the file specification is empty";
  const std::string path = Platform::AbsolutePath(options.path);
  if (!Platform::FolderExists(path) && !path.ends_with('/')) {
    if (options.files) return "--files: PATH must be a folder";
    if (options.subfolders) return "--subfolders: PATH must be a folder";
  }
  return {};
}

int RunPurgeCommand(const RunCommandOptions& options) {
  ProgramSettings settings;
  Configure(options, settings);
  TerminalDialogs dialogs;
  TerminalRunHost host;
  PurgeRun run(settings, dialogs, host);
  RunStarter starter(settings, dialogs);

  if (!starter.CheckTarget()) return kExitRefused;
  const std::optional<std::int32_t> count =
      starter.PreparePurge(run, [](const std::string& status) {
        if (!status.empty()) std::cerr << status << '\n';
      });
  if (!count) return kExitRefused;

  const PurgeConfirmationTexts texts = starter.ConfirmationTexts(*count);
  std::cerr << WithSystemLineEnds(texts.element[1]) << '\n';
  if (!options.yes && !CanAsk())
    std::cerr << "(No terminal to answer on, and no --yes: taken as No.)\n";
  settings.options.blnConfirm = options.yes || Ask("Purge? [y]es or [n]o: ", "yn") == 'y';
  if (!settings.options.blnConfirm) {
    starter.TellCancelled();
    return kExitNotAll;
  }

  RunWithInterrupt(run);
  PrintReport(run);
  starter.OfferToDeleteEmptyFolder();
  const bool everyFile = !run.blnStop && run.lngNumFilesPurged == run.lngNumFilesProcessed;
  return everyFile ? kExitDone : kExitNotAll;
}

int RunListCommand(const RunCommandOptions& options) {
  ProgramSettings settings;
  Configure(options, settings);
  TerminalDialogs dialogs;
  TerminalRunHost host;
  PurgeRun run(settings, dialogs, host);
  RunStarter starter(settings, dialogs);

  if (!starter.CheckTarget() || !starter.PrepareListing()) return kExitRefused;
  starter.SetUpRun(run, false);
  // Subfolders are listed folder by folder: a line per file would soon fill the report.
  run.blnDisplayFileNames = !settings.target.blnSubdirectories && !options.noFileNames;
  run.blnDisplayFolderNames = !options.noFolderNames;

  RunWithInterrupt(run);
  PrintReport(run);
  return run.blnStop ? kExitNotAll : kExitDone;
}
