// The options of kexwell-cli's purge and list commands, and the settings they describe.

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/run_command.h"
#include "dates/date_input.h"
#include "dates/day_numbers.h"
#include "engine/purge_type_choice.h"
#include "operation/program_settings.h"
#include "operation/purge_confirmation.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/setup_file.h"

namespace {

using Box = PurgeConfirmationState::Box;

constexpr const char* kTypesHelp =
    "Types of purge (overwrites of one pass, in order):\n"
    "  1  random bytes, 00000000                                   1 to 9 passes, default 6\n"
    "  2  10101010, 01010101, 00000000                             1 to 8 passes, default 4\n"
    "  3  10101010, 01010101, random bytes, 00001010, 11110101,\n"
    "     random bytes                                             1 to 4 passes, default 2\n";

void AddSharedOptions(CLI::App& command, RunCommandOptions& options) {
  command.add_option("PATH", options.paths,
                     "Files (each purged on its own) or folders, one part of the run each; may "
                     "come from --setup");
  command.add_option("-f,--files", options.files,
                     "File specification within the folder (default \"*.*\")");
  command.add_flag("-r,--subfolders", options.subfolders, "Include lower subfolders");
  command.add_option("-t,--type", options.type, "Type of purge: 1, 2 or 3 (default 1)")
      ->check(kWholeNumber)
      ->check(CLI::Range(1, 3));
  command.add_option("-p,--passes", options.passes, "Passes (default: the type's default)")
      ->check(kWholeNumber);
  command.add_option("-b,--before", options.before,
                     "Only files dated before that day (YYYY-MM-DD)");
  command.add_option("--setup", options.setup,
                     "Start from an operation file (.kxs); options given here win");
  command.add_option("--save-setup", options.saveSetup,
                     "Write the setup these options describe to an operation file, and do "
                     "nothing else");
}

// The day a --before date names, or why the date dialog would refuse it ("Year too early",
// "Year too late", "Date is invalid"), or that it is not of the form YYYY-MM-DD.
struct BeforeDay {
  std::optional<std::int32_t> dayNumber;
  std::string refusal;
};

BeforeDay DayNumberOf(const std::string& text) {
  int year = 0;
  int month = 0;
  int day = 0;
  char dash1 = 0;
  char dash2 = 0;
  char rest = 0;
  // Four digits, two and two, as the form says: "2024-1-1" and "99999-01-01" are not of it.
  bool form = text.size() == 10;
  for (std::size_t at = 0; form && at < text.size(); ++at)
    form = at == 4 || at == 7 ? text[at] == '-' : text[at] >= '0' && text[at] <= '9';
  if (!form ||
      std::sscanf(text.c_str(), "%d%c%d%c%d%c", &year, &dash1, &month, &dash2, &day, &rest) != 5)
    return {std::nullopt, "is not a date of the form YYYY-MM-DD"};
  if (year < OnlyBefore::kEarliestYear) return {std::nullopt, "Year too early"};
  if (year > OnlyBefore::kLatestYear) return {std::nullopt, "Year too late"};
  DatePr2::DateParts parts;
  parts.year = year;
  parts.month = month;
  parts.day = day;
  DatePr2::EuroDateToJdn(parts);
  if (parts.valid == 0) return {std::nullopt, "Date is invalid"};
  return {parts.dayNumber, {}};
}

void SetTarget(const std::string& given, const RunCommandOptions& options, TargetRecord& target) {
  const std::string path = Platform::AbsolutePath(given);
  // A path ending in a separator names a folder, whether it exists or not.
  if (Platform::FolderExists(path) || (!path.empty() && IsPathSeparator(path.back()))) {
    target.TargetFolder = WithTrailingSeparator(path);
    target.SetFilespec(options.files.value_or("*.*"));
  } else {
    // A file named on its own keeps its exact name, and an existing file is that file even where
    // its name holds "*" or "?" (a POSIX name may); a name of no file is a pattern.
    target.TargetFolder = Platform::FolderPart(path);
    target.SetFilespec(Platform::NamePart(path), Platform::FileExists(path));
  }
}

}  // namespace

const CLI::Validator kWholeNumber(
    [](std::string& text) {
      const bool digits = !text.empty() && text.size() <= 9 &&
                          text.find_first_not_of("0123456789") == std::string::npos;
      return digits ? std::string() : "\"" + text + "\" is not a whole number";
    },
    "");

CLI::App& AddPurgeCommand(CLI::App& app, RunCommandOptions& options) {
  CLI::App* purge =
      app.add_subcommand("purge", "Overwrite files beyond recovery, then delete them");
  AddSharedOptions(*purge, options);
  purge->add_flag("--keep", options.keep,
                  "Do not delete purged files (they keep their length and dates)");
  purge->add_flag("--read-only", options.readOnly, "Purge read-only files");
  purge->add_flag("--system", options.system, "Purge system files");
  purge->add_flag("--hard-linked", options.hardLinked, kHardLinkedFilesCaption);
  purge->add_flag("--sensitive", options.sensitive,
                  "Purge files with sensitive extensions (bat bin com dll drv exe ini ovl pif "
                  "sys ocx kbd) without asking");
  purge->add_flag("--folder-names-only", options.folderNamesOnly,
                  "A dot per purged file instead of its name");
  purge->add_flag("--keep-empty-folders", options.keepEmptyFolders,
                  "Do not remove emptied subfolders (removed by default)");
  purge->add_flag("--confirm-each", options.confirmEach, "Ask before each file");
  purge->add_flag("-y,--yes", options.yes, "Ask nothing (an emptied target folder is kept)");
  purge->add_flag("--remove-target-folder", options.removeTargetFolder,
                  "Remove the target folder when the purge left it empty");
  purge->footer(
      std::string(kTypesHelp) +
      "\n"
      "The files of every PATH are counted and their confirmations shown first; then\n"
      "one question for all of them is asked on the terminal unless --yes is given\n"
      "(without a terminal the answer is No). Each PATH has its part of the report,\n"
      "printed line by line as the purge goes on. A PATH that names an existing file\n"
      "means that file, even when its name holds \"*\" or \"?\". Links, folders,\n"
      "devices, pipes and sockets are never written: they are reported as not a\n"
      "regular file.\n"
      "\n"
      "Ctrl-C (or SIGTERM, SIGHUP) stops the purge after the current pass; the\n"
      "summary is still written. A second one stops it at its next write: that file\n"
      "is then only partly overwritten and not deleted, and gets back its length and\n"
      "times, and the summary is written too.\n"
      "\n"
      "Only the parts of a file that hold data are overwritten (holes are left), and\n"
      "the file system is asked where the data lay before and after the first pass.\n"
      "A file whose old data may remain (written elsewhere by a copy-on-write file\n"
      "system, shared with another file or a snapshot, kept in the file system's\n"
      "records or journal) is reported so, not counted as purged, and still deleted.\n"
      "Warnings about the target's drive are printed before the question.\n"
      "\n"
      "Exit status: 0 every matching file purged, 1 a file not purged or the purge\n"
      "stopped or cancelled, 2 a usage error or a message before the purge, 130 the\n"
      "purge stopped by a second Ctrl-C; with several paths, the worst of their parts.\n"
      "\n"
      "Examples:\n"
      "  kexwell-cli purge letter.odt              one file, after asking\n"
      "  kexwell-cli purge a.txt b.txt drafts/     two files and a folder, one question\n"
      "  kexwell-cli purge ~/old -r -y             every file below ~/old, asking nothing\n"
      "  kexwell-cli purge ~/logs -f '*.log' -b 2024-01-01 -t 3 --keep\n"
      "                                            old logs, type 3, the files kept\n");
  return *purge;
}

CLI::App& AddListCommand(CLI::App& app, RunCommandOptions& options) {
  CLI::App* list = app.add_subcommand(
      "list", "List what a purge would touch and estimate its time; purges nothing");
  AddSharedOptions(*list, options);
  list->add_flag("--no-file-names", options.noFileNames, "No line per file");
  list->add_flag("--no-folder-names", options.noFolderNames,
                 "A dot per folder instead of its path");
  list->footer(
      std::string(kTypesHelp) +
      "\n"
      "With --subfolders, files are not listed one by one: folders are. The estimate\n"
      "uses the purge speed measured for the drive by 'kexwell-cli speed-test'.\n"
      "Exit status: 0 the listing was done, 1 it was stopped or a folder could not be\n"
      "read or was not entered, 2 a usage error or a message before the listing, 130\n"
      "it was stopped by a second Ctrl-C; with several paths, the worst of their parts.\n"
      "\n"
      "Examples:\n"
      "  kexwell-cli list ~/Documents -r           every file below ~/Documents, and the time\n"
      "  kexwell-cli list . -f '*.doc' -b 2020-01-01\n"
      "                                            old .doc files of this folder\n");
  return *list;
}

std::string RunCommandUsageError(const RunCommandOptions& options) {
  if (options.before) {
    const BeforeDay before = DayNumberOf(*options.before);
    if (!before.dayNumber) {
      return "--before: \"" + *options.before + "\"" +
             (before.refusal.starts_with("is ") ? " " : ": ") + before.refusal;
    }
  }
  if (options.files && options.files->empty()) return "--files: the file specification is empty";
  if (options.paths.empty() && !options.setup)
    return "PATH is required (or an operation file with --setup)";
  if (options.paths.size() > 1 && options.saveSetup)
    return "--save-setup: a setup holds one PATH, not " + std::to_string(options.paths.size());
  for (const std::string& given : options.paths) {
    const std::string path = Platform::AbsolutePath(given);
    if (!Platform::FolderExists(path) && (path.empty() || !IsPathSeparator(path.back()))) {
      // A link is never followed, so it is never the folder whose files are meant.
      Platform::FileAttributes attributes;
      if ((options.files || options.subfolders) && !Platform::GetFileAttributes(path, attributes) &&
          attributes.kind == Platform::FileKind::SymbolicLink)
        return "PATH: \"" + given +
               "\" is a link, which is never followed; name the folder it leads to";
      const std::string which = options.paths.size() > 1 ? "\"" + given + "\"" : "PATH";
      if (options.files) return "--files: " + which + " must be a folder";
      if (options.subfolders) return "--subfolders: " + which + " must be a folder";
    }
  }
  return {};
}

std::string ConfigureRun(const RunCommandOptions& options, const std::string* path,
                         ProgramSettings& settings) {
  PurgeConfirmationState& boxes = settings.confirmation;
  if (options.setup) {
    if (!Platform::FileExists(*options.setup)) return "File " + *options.setup + " not found!";
    if (!LoadSetupFromFile(*options.setup, settings))
      return "Error when attempting to load setup from file " + *options.setup + "!";
  } else {
    // The command line starts from file names shown and emptied subfolders removed.
    boxes.SetTicked(Box::chkFolderNamesOnly, false);
  }

  TargetRecord& target = settings.target;
  if (path != nullptr) {
    SetTarget(*path, options, target);
    target.blnSubdirectories = options.subfolders;
  } else {
    if (options.files) target.SetFilespec(*options.files);
    if (options.subfolders) target.blnSubdirectories = true;
  }

  PurgeTypeChoice& choice = settings.purgeType;
  const auto type = static_cast<short>(options.type.value_or(choice.GetPurgeType() + 1) - 1);
  if (options.type) choice.SetPurgeType(type);
  if (options.passes && !choice.RestoreFromSetup(type, static_cast<short>(*options.passes))) {
    return "--passes: type " + std::to_string(type + 1) + " offers 1 to " +
           std::to_string(PurgeTypeChoice::MaxPasses(type)) + " passes";
  }
  if (options.before)
    settings.dateRestriction.lngOnlyBeforeThisJDN = *DayNumberOf(*options.before).dayNumber;

  const auto tick = [&boxes](Box box, bool given) {
    if (given) boxes.SetTicked(box, true);
  };
  tick(Box::chkDoNotDeletePurgedFiles, options.keep);
  tick(Box::chkOKToPurgeReadOnlyFiles, options.readOnly);
  tick(Box::chkOKToPurgeSystemFiles, options.system);
  tick(Box::chkOKToPurgeHardLinkedFiles, options.hardLinked);
  tick(Box::chkOKToPurgeSensitiveFiles, options.sensitive);
  tick(Box::chkFolderNamesOnly, options.folderNamesOnly);
  tick(Box::chkConfirmFiles, options.confirmEach);
  if (options.keepEmptyFolders) boxes.SetTicked(Box::chkDeleteEmptyFolders, false);

  // The run takes its options from the boxes; whole files are always purged.
  PurgeOptions& run = settings.options;
  run.blnPurgeSlackOnly = false;
  run.blnDoNotDeletePurgedFiles = boxes.Get(Box::chkDoNotDeletePurgedFiles).ticked;
  run.blnOKToPurgeReadOnlyFiles = boxes.Get(Box::chkOKToPurgeReadOnlyFiles).ticked;
  run.blnOKToPurgeSystemFiles = boxes.Get(Box::chkOKToPurgeSystemFiles).ticked;
  run.blnOKToPurgeHardLinkedFiles = boxes.Get(Box::chkOKToPurgeHardLinkedFiles).ticked;
  run.blnOKToPurgeSensitiveFiles = boxes.Get(Box::chkOKToPurgeSensitiveFiles).ticked;
  run.blnFolderNamesOnly = boxes.Get(Box::chkFolderNamesOnly).ticked;
  // Emptied subfolders are removed only where subfolders are part of the target.
  run.blnDeleteEmptyFolders =
      target.blnSubdirectories && boxes.Get(Box::chkDeleteEmptyFolders).ticked;
  settings.blnConfirmFiles = boxes.Get(Box::chkConfirmFiles).ticked;
  return {};
}
