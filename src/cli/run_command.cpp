// The purge and list commands of kexwell-cli: the checks before a run, the confirmation, the run
// with Ctrl-C (SIGTERM, SIGHUP) as its Stop button, and the report.

#include "cli/run_command.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/console.h"
#include "cli/interrupts.h"
#include "cli/live_report.h"
#include "cli/program_texts.h"
#include "cli/terminal.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/result_texts.h"
#include "operation/run_start.h"
#include "operation/volume_warnings.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/program_paths.h"
#include "setups/setup_file.h"

namespace {

// The run with Ctrl-C, SIGTERM and SIGHUP as its Stop button, its report going out as it goes;
// true when a second one stopped the file at hand at its next write.
bool RunWithInterrupt(PurgeRun& run, const RunRequest& request, LiveReport& report) {
  const RunInterrupts interrupts(run.blnStop, run.AbortNow);
  report.Attach(run);
  run.ProcessFiles(request);
  report.Finish();
  return run.AbortNow;
}

// One PATH of the command: its own settings, run and checks.
struct Part {
  Part(UserDialogs& dialogs, RunHost& host, const std::string* given)
      : run(settings, dialogs, host), starter(settings, dialogs), path(given) {}
  ProgramSettings settings;
  PurgeRun run;
  RunStarter starter;
  const std::string* path;  // as given; none when the target comes from the operation file
  std::int32_t count = 0;
  int status = kExitDone;
};

using Parts = std::vector<std::unique_ptr<Part>>;

// The parts of the command, one per PATH given once (or the operation file's target), each
// configured; false after telling why the options are refused.
bool MakeParts(const RunCommandOptions& options, UserDialogs& dialogs, RunHost& host,
               Parts& parts) {
  std::vector<const std::string*> paths;
  std::vector<std::string> seen;
  for (const std::string& given : options.paths) {
    const std::string absolute = Platform::AbsolutePath(given);
    if (std::find(seen.begin(), seen.end(), absolute) != seen.end()) {
      std::cerr << "kexwell-cli: " << given << " is given more than once; taken once\n";
      continue;
    }
    seen.push_back(absolute);
    paths.push_back(&given);
  }
  if (paths.empty()) paths.push_back(nullptr);
  for (const std::string* path : paths) {
    auto part = std::make_unique<Part>(dialogs, host, path);
    if (const std::string problem = ConfigureRun(options, path, part->settings); !problem.empty()) {
      std::cerr << "kexwell-cli: " << problem << '\n';
      return false;
    }
    parts.push_back(std::move(part));
  }
  return true;
}

std::string PartName(const Part& part) {
  return part.path != nullptr ? *part.path : part.settings.target.TargetFolder;
}

// Runs the parts still to run, one after the other, each report after the one before. A stop
// ends the whole command: the parts after it are named as not run. A part stopped at a write by
// a second interrupt ends with its own status.
void RunParts(const Parts& parts, RunKind kind, LiveReport& report,
              const std::function<RunRequest(Part&)>& request,
              const std::function<void(Part&)>& after) {
  bool first = true;
  bool stopped = false;
  for (const auto& part : parts) {
    if (part->status != kExitDone) continue;
    if (stopped) {
      std::cerr << "kexwell-cli: stopped before " << PartName(*part) << "; "
                << (kind == RunKind::Purge ? "nothing there was purged" : "it was not listed")
                << '\n';
      part->status = kExitNotAll;
      continue;
    }
    if (!first) std::cout << '\n';
    first = false;
    const bool interrupted = RunWithInterrupt(part->run, request(*part), report);
    after(*part);
    if (interrupted) part->status = kExitInterrupted;
    stopped = part->run.blnStop;
  }
}

int WorstStatus(const Parts& parts) {
  int worst = kExitDone;
  for (const auto& part : parts) worst = std::max(worst, part->status);
  return worst;
}

// True when path names a file that is already there in one of the program's own folders (its
// program texts, its help, the program itself), which a setup must never replace.
bool IsOwnFile(const std::string& path) {
  Platform::FileIdentity folder;
  if (!Platform::FileExists(path) ||
      Platform::IdentityOfPath(Platform::FolderPart(Platform::AbsolutePath(path)), folder))
    return false;
  for (const std::string& own : Platform::ProgramFolders()) {
    Platform::FileIdentity ownFolder;
    if (!Platform::IdentityOfPath(own, ownFolder) && ownFolder == folder) return true;
  }
  return false;
}

int SaveSetup(const std::string& path, const ProgramSettings& settings) {
  if (IsOwnFile(path)) {
    std::cerr << "Error: Cannot save setup in operation file " << path
              << ": it is one of the program's own files!\n";
    return kExitRefused;
  }
  if (!SaveSetupToFile(path, settings)) {
    std::cerr << "Error: Cannot save setup in operation file " << path << "!\n";
    return kExitRefused;
  }
  std::cerr << "Setup saved in " << path << ".\n";
  return kExitDone;
}

}  // namespace

int RunPurgeCommand(const RunCommandOptions& options) {
  TerminalDialogs dialogs;
  LiveReport report(std::cout, OutputIsTerminal(), TerminalColumns());
  Parts parts;
  if (!MakeParts(options, dialogs, report, parts)) return kExitRefused;
  if (options.saveSetup) return SaveSetup(*options.saveSetup, parts.front()->settings);

  // Every part is checked and counted before the one question for all of them.
  bool anyToPurge = false;
  for (const auto& part : parts) {
    std::optional<std::int32_t> count;
    if (part->starter.CheckTarget())
      count = part->starter.PreparePurge(part->run, [](const std::string& status) {
        if (!status.empty()) std::cerr << status << '\n';
      });
    if (!count) {
      part->status = kExitRefused;
      continue;
    }
    part->count = *count;
    anyToPurge = true;
    const PurgeConfirmationTexts texts =
        part->starter.ConfirmationTexts(*count, part->starter.HardLinkedCount());
    std::cerr << WithSystemLineEnds(texts.element[1]) << '\n';
    for (const std::string& warning : VolumeWarningsForPath(part->settings.target.TargetFolder))
      std::cerr << "kexwell-cli: warning: " << warning << '\n';
  }
  if (!anyToPurge) return kExitRefused;

  if (!options.yes && !CanAsk())
    std::cerr << "(No terminal to answer on, and no --yes: taken as No.)\n";
  const bool confirmed = options.yes || Ask("Purge? [y]es or [n]o: ", "yn") == 'y';
  if (!confirmed) {
    for (const auto& part : parts) {
      if (part->status != kExitDone) continue;
      part->starter.TellCancelled();
      part->status = kExitNotAll;
      break;
    }
    return std::max(WorstStatus(parts), kExitNotAll);
  }

  RunParts(
      parts, RunKind::Purge, report,
      [](Part& part) {
        part.settings.options.blnConfirm = true;
        return part.starter.RequestForTarget(RunKind::Purge);
      },
      [&options](Part& part) {
        const PurgeRun& run = part.run;
        // With --yes nothing is asked: the emptied target folder stays unless it is to be
        // removed.
        bool removalFine = true;
        if (options.removeTargetFolder && !run.blnStop && part.starter.TargetFolderIsEmpty()) {
          const std::string& folder = part.settings.target.TargetFolder;
          if (const std::error_code error = Platform::RemoveFolder(folder)) {
            std::cerr << "kexwell-cli: cannot remove folder " << folder << ": " << ReasonText(error)
                      << '\n';
            removalFine = false;
          }
        } else if (!options.yes && !options.removeTargetFolder) {
          part.starter.OfferToDeleteEmptyFolder();
        }
        const bool everyFile = removalFine && !run.blnStop && run.FoldersNotEntered == 0 &&
                               run.lngNumFilesPurged == run.lngNumFilesProcessed;
        part.status = everyFile ? kExitDone : kExitNotAll;
      });
  return WorstStatus(parts);
}

int RunListCommand(const RunCommandOptions& options) {
  TerminalDialogs dialogs;
  LiveReport report(std::cout, OutputIsTerminal(), TerminalColumns());
  Parts parts;
  if (!MakeParts(options, dialogs, report, parts)) return kExitRefused;
  if (options.saveSetup) return SaveSetup(*options.saveSetup, parts.front()->settings);
  if (!LoadProgramTexts()) return kExitRefused;

  for (const auto& part : parts) {
    if (!part->starter.CheckTarget() || !part->starter.PrepareListing())
      part->status = kExitRefused;
  }
  RunParts(
      parts, RunKind::List, report,
      [&options](Part& part) {
        ProgramSettings& settings = part.settings;
        RunRequest listing = part.starter.RequestForTarget(RunKind::List);
        // Subfolders are listed folder by folder: a line per file would soon fill the report.
        listing.displayFileNames = !settings.target.blnSubdirectories && !options.noFileNames;
        listing.displayFolderNames = !options.noFolderNames;
        // The estimate uses the speed that a speed test stored for the drive.
        Platform::DriveInfo drive;
        if (!Platform::DriveOfPath(settings.target.TargetFolder, drive)) {
          if (const std::optional<float> speed = StoredPurgeSpeed(drive))
            settings.purgeSpeeds.Set(drive.root, *speed, 1);
        }
        return listing;
      },
      [](Part& part) {
        const PurgeRun& run = part.run;
        part.status = run.blnStop || run.FoldersNotEntered > 0 ? kExitNotAll : kExitDone;
      });
  return WorstStatus(parts);
}
