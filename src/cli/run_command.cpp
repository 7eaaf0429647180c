// The purge and list commands of kexwell-cli: the checks before a run, the confirmation, the run
// with Ctrl-C (SIGTERM, SIGHUP) as its Stop button, and the report.

#include "cli/run_command.h"

#include <iostream>

#include "cli/interrupts.h"
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

void PrintReport(const PurgeRun& run);

// The run with Ctrl-C, SIGTERM and SIGHUP as its Stop button, then its report; true when a
// second one stopped the file at hand at its next write.
bool RunWithInterrupt(PurgeRun& run, const RunRequest& request) {
  const RunInterrupts interrupts(run.blnStop, run.AbortNow);
  run.ProcessFiles(request);
  PrintReport(run);
  return run.AbortNow;
}

void PrintReport(const PurgeRun& run) {
  const std::string report = WithSystemLineEnds(run.Report());
  std::cout << report << (report.empty() || report.back() == '\n' ? "" : "\n") << std::flush;
}

// Configures the settings; false after telling why not.
bool Configure(const RunCommandOptions& options, ProgramSettings& settings) {
  const std::string problem = ConfigureRun(options, settings);
  if (problem.empty()) return true;
  std::cerr << "kexwell-cli: " << problem << '\n';
  return false;
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
  ProgramSettings settings;
  if (!Configure(options, settings)) return kExitRefused;
  if (options.saveSetup) return SaveSetup(*options.saveSetup, settings);

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

  const PurgeConfirmationTexts texts = starter.ConfirmationTexts(*count, starter.HardLinkedCount());
  std::cerr << WithSystemLineEnds(texts.element[1]) << '\n';
  for (const std::string& warning : VolumeWarningsForPath(settings.target.TargetFolder))
    std::cerr << "kexwell-cli: warning: " << warning << '\n';
  if (!options.yes && !CanAsk())
    std::cerr << "(No terminal to answer on, and no --yes: taken as No.)\n";
  settings.options.blnConfirm = options.yes || Ask("Purge? [y]es or [n]o: ", "yn") == 'y';
  if (!settings.options.blnConfirm) {
    starter.TellCancelled();
    return kExitNotAll;
  }

  const bool interrupted = RunWithInterrupt(run, starter.RequestForTarget(RunKind::Purge));
  // With --yes nothing is asked: the emptied target folder stays unless it is to be removed.
  bool removalFine = true;
  if (options.removeTargetFolder && !run.blnStop && starter.TargetFolderIsEmpty()) {
    const std::string& folder = settings.target.TargetFolder;
    if (const std::error_code error = Platform::RemoveFolder(folder)) {
      std::cerr << "kexwell-cli: cannot remove folder " << folder << ": " << ReasonText(error)
                << '\n';
      removalFine = false;
    }
  } else if (!options.yes && !options.removeTargetFolder) {
    starter.OfferToDeleteEmptyFolder();
  }
  const bool everyFile = removalFine && !run.blnStop && run.FoldersNotEntered == 0 &&
                         run.lngNumFilesPurged == run.lngNumFilesProcessed;
  return interrupted ? kExitInterrupted : everyFile ? kExitDone : kExitNotAll;
}

int RunListCommand(const RunCommandOptions& options) {
  ProgramSettings settings;
  if (!Configure(options, settings)) return kExitRefused;
  if (options.saveSetup) return SaveSetup(*options.saveSetup, settings);
  if (!LoadProgramTexts()) return kExitRefused;

  TerminalDialogs dialogs;
  TerminalRunHost host;
  PurgeRun run(settings, dialogs, host);
  RunStarter starter(settings, dialogs);

  if (!starter.CheckTarget() || !starter.PrepareListing()) return kExitRefused;
  RunRequest listing = starter.RequestForTarget(RunKind::List);
  // Subfolders are listed folder by folder: a line per file would soon fill the report.
  listing.displayFileNames = !settings.target.blnSubdirectories && !options.noFileNames;
  listing.displayFolderNames = !options.noFolderNames;

  // The estimate uses the speed that a speed test stored for the drive.
  Platform::DriveInfo drive;
  if (!Platform::DriveOfPath(settings.target.TargetFolder, drive)) {
    if (const std::optional<float> speed = StoredPurgeSpeed(drive))
      settings.purgeSpeeds.Set(drive.root, *speed, 1);
  }

  if (RunWithInterrupt(run, listing)) return kExitInterrupted;
  return run.blnStop || run.FoldersNotEntered > 0 ? kExitNotAll : kExitDone;
}
