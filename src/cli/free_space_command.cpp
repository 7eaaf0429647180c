#include "cli/free_space_command.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/console.h"
#include "cli/interrupts.h"
#include "cli/live_report.h"
#include "cli/program_texts.h"
#include "cli/run_command.h"
#include "cli/terminal.h"
#include "engine/purge_type_texts.h"
#include "operation/free_space_texts.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/result_texts.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/fill_folders.h"
#include "setups/program_paths.h"
#include "text/program_text.h"

namespace {

int Refuse(const std::string& message) {
  std::cerr << "kexwell-cli: " << message << '\n';
  return kExitRefused;
}

}  // namespace

CLI::App& AddFreeSpaceCommand(CLI::App& app, FreeSpaceOptions& options) {
  CLI::App* command = app.add_subcommand(
      "purge-free-space",
      "Overwrite the free space of the drive that holds PATH, where deleted files left their data");
  command->add_option("PATH", options.path, "A folder on the drive; the fill files go in it")
      ->required();
  command->add_option("-t,--type", options.type, "Type of purge: 1, 2 or 3 (default 1)")
      ->check(kWholeNumber)
      ->check(CLI::Range(1, 3));
  command->add_option("-p,--passes", options.passes, "Passes (default: the type's default)")
      ->check(kWholeNumber);
  command->add_flag("-y,--yes", options.yes, "Ask nothing");
  command->footer(
      "Fill files (_kx_dummy1, _kx_dummy2 ...) are written in a new folder _kx_dummyN in PATH\n"
      "with the first overwrite of the type of purge until the drive is full, then written\n"
      "again in place with each further overwrite, flushed to the disk after each, and\n"
      "deleted with their folder. While it runs, the drive has no free space for other\n"
      "programs. The drive, its free space, the type of purge and the estimated time (from\n"
      "the speed that 'kexwell-cli speed-test' stored) are shown first, with warnings about\n"
      "the drive; then the question is asked on the terminal unless --yes is given (without\n"
      "a terminal the answer is No). Ctrl-C stops the purge between two writes; the fill\n"
      "files are still deleted and the report is written. A folder that an interrupted\n"
      "purge left behind is removed at the next start of kexwell-cli.\n"
      "\n"
      "Exit status: 0 the drive was filled and every overwrite done, 1 the purge was\n"
      "stopped, cancelled or did not reach all of the free space (a quota, an error), 2 a\n"
      "usage error or a message before the purge.\n"
      "\n"
      "Examples:\n"
      "  kexwell-cli purge-free-space ~            the free space of the home folder's drive\n"
      "  kexwell-cli purge-free-space /mnt/usb -t 2 -p 1 -y\n"
      "                                            type 2 once, asking nothing\n");
  return *command;
}

int RunFreeSpaceCommand(const FreeSpaceOptions& options) {
  if (!LoadProgramTexts()) return kExitRefused;
  const std::string folder = Platform::AbsolutePath(options.path);
  if (!Platform::FolderExists(folder)) {
    Platform::FileAttributes attributes;
    if (!Platform::GetFileAttributes(folder, attributes) &&
        attributes.kind == Platform::FileKind::SymbolicLink)
      return Refuse("PATH: \"" + options.path +
                    "\" is a link, which is never followed; name the folder it leads to");
    return Refuse("PATH: \"" + options.path + "\" is not a folder");
  }
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(JoinPath(folder, "x"), drive))
    return Refuse("no drive holds " + options.path);

  ProgramSettings settings;
  PurgeTypeChoice& choice = settings.purgeType;
  const auto type = static_cast<short>(options.type.value_or(choice.GetPurgeType() + 1) - 1);
  if (options.type) choice.SetPurgeType(type);
  if (options.passes && !choice.RestoreFromSetup(type, static_cast<short>(*options.passes)))
    return Refuse("--passes: type " + std::to_string(type + 1) + " offers 1 to " +
                  std::to_string(PurgeTypeChoice::MaxPasses(type)) + " passes");

  Platform::DriveSpace space;
  if (const std::error_code error = Platform::QueryFolderSpace(folder, space))
    return Refuse("the free space of Drive " + drive.root +
                  " cannot be read: " + ReasonText(error));
  std::cerr << WithSystemLineEnds(
                   FreeSpaceQuestion(FreeSpaceDriveName(drive.root, drive.fileSystem),
                                     static_cast<double>(space.availableBytes),
                                     TypeOfPurgeDescription(choice), choice.GetNumOverwrites(),
                                     StoredPurgeSpeed(drive), FreeSpaceWarningsForPath(folder)))
            << '\n';
  if (!options.yes && !CanAsk())
    std::cerr << "(No terminal to answer on, and no --yes: taken as No.)\n";
  if (!options.yes && Ask("Purge free space? [y]es or [n]o: ", "yn") != 'y') {
    std::cerr << "Purge cancelled: " << kFreeSpaceCancelled << '\n';
    return kExitNotAll;
  }

  TerminalDialogs dialogs;
  LiveReport report(std::cout, OutputIsTerminal(), TerminalColumns());
  PurgeRun run(settings, dialogs, report);
  run.noteFillFolder = [](const std::string& fillFolder, bool made) {
    NoteFillFolder(fillFolder, made);
  };
  RunRequest request;
  request.kind = RunKind::FreeSpace;
  request.targetFolder = WithTrailingSeparator(folder);
  {
    // Ctrl-C, SIGTERM and SIGHUP stop the purge between two writes, and the fill files are
    // deleted, however many come.
    const RunInterrupts interrupts(run.blnStop, run.AbortNow);
    report.Attach(run);
    run.ProcessFiles(request);
    report.Finish();
  }

  const FreeSpacePurge::Outcome& outcome = run.FreeSpaceOutcome;
  const bool allReached = outcome.ending == FreeSpacePurge::Ending::Full &&
                          outcome.overwritesDone == outcome.overwrites && outcome.removed;
  return allReached ? kExitDone : kExitNotAll;
}

void RemoveLeftoverFillFoldersAtStart() {
  // The list lies in the program's own folder, which its texts name.
  if (Language2::GetText(310).empty() &&
      Language2::LoadProgramText(Language2::ProgramTextPath()) <= 0)
    return;
  for (const LeftoverFillFolder& leftover : RemoveLeftoverFillFolders()) {
    const std::string text = LeftoverFolderText(leftover.folder, leftover.what, leftover.error);
    if (!text.empty()) std::cerr << "kexwell-cli: " << text << '\n';
  }
}
