#include "operation/target_commands.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/disk_proc.h"
#include "operation/main_window_view.h"
#include "operation/program_settings.h"
#include "platform/drives.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "targets/folder_queries.h"
#include "targets/target_texts.h"
#include "text/str_proc.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr double kBytesPerMB = 1048576.0;

// A rounded number of seconds that fits the duration text.
std::int32_t ToSeconds(double seconds) {
  if (!(seconds > 0)) return 0;
  if (seconds >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(seconds);
}

std::int32_t FilesInFolder(const std::string& folder, bool stopAtFirst) {
  double noSizes = 0;
  return CountMatchingFiles(folder, "*.*", stopAtFirst, noSizes);
}

}  // namespace

std::string SingleFileEstimate(double length, float speed, short numOverwrites, double factorA,
                               double factorB) {
  if (!(speed > 0) || !(length > 0)) return {};
  const double mb = length / 1024 / 1024;
  // Halves go to the even number, as every estimate of the program rounds.
  const double baseSeconds = std::nearbyint(mb / static_cast<double>(speed) * numOverwrites);
  const double factor = factorA / std::pow(mb, factorB);
  const std::int32_t seconds = ToSeconds(std::nearbyint(baseSeconds * factor));
  if (seconds < 60) return "Less than a minute.";
  return StrProc::SecondsToText(seconds, true, false);
}

TargetCommands::TargetCommands(MainWindowView& main, ProgramSettings& settings,
                               UserDialogs& dialogs)
    : main_(main), settings_(settings), dialogs_(dialogs) {}

bool TargetCommands::Offered() const {
  return !main_.Running() && !main_.DialogGuard();
}

void TargetCommands::ShowSubfolderSetting() {
  const std::int32_t count =
      settings_.target.TargetFolder.empty() ? 0 : CountSubfolders(settings_.target.TargetFolder);
  const SubfolderSetting setting = ::ShowSubfolderSetting(settings_.target, count);
  main_.SetCaption("lblSubdirectories", setting.answer);
  main_.SetCaption("lblSubdirectories2", setting.explanation);
}

void TargetCommands::ShowSingleFileEstimate(const std::string& path) {
  std::string estimate;
  Platform::DriveInfo drive;
  std::int64_t length = 0;
  if (!Platform::DriveOfPath(settings_.target.TargetFolder, drive) &&
      !Platform::GetEntryLength(path, length)) {
    estimate = SingleFileEstimate(
        static_cast<double>(length), settings_.purgeSpeeds.Speed(drive.root),
        settings_.purgeType.GetNumOverwrites(), settings_.dblAF_A, settings_.dblAF_B);
  }
  main_.SetCaption("lblEstimatedTime", estimate);
}

void TargetCommands::cmdSingleFile_MouseUp() {
  if (!Offered()) return;
  main_.SetMenuEnabled(false);
  const std::optional<std::string> chosen =
      dialogs_.ChooseFileToOpen({"Specify file to be purged.", "", "", ""});
  main_.SetMenuEnabled(true);
  main_.StartDialogGuard();
  if (!chosen || chosen->empty()) return;
  TakeSingleFile(*chosen);
}

void TargetCommands::TakeSingleFile(const std::string& chosen) {
  const std::string path =
      chosen.front() == Platform::kPathSeparator ? chosen : Platform::AbsolutePath(chosen);
  const std::string name = Platform::NamePart(path);
  if (name.empty()) return;
  // The file is taken by its exact name, never as a pattern that would name other files too; a
  // Windows name that holds a wildcard names no file.
  if (!NameCanStandAlone(name)) {
    dialogs_.Tell(kSingleFileCaption, NameCannotStandAloneText(path), MessageIcon::Exclamation);
    return;
  }
  settings_.target.TargetFolder = Platform::FolderPart(path);
  settings_.target.SetFilespec(name, true);

  const bool excluded =
      settings_.dateRestriction.blnDateRestriction() &&
      settings_.dateRestriction.ShowDateRestrictionExclusion(path, kSingleFileCaption, dialogs_);

  // The window shows the file even when the date restriction excludes it, so that what it shows
  // is what a purge would work on; and the file is that one file, never its namesakes in lower
  // subfolders.
  settings_.target.blnSubdirectories = false;
  main_.SetCaption("lblSubdirectories", "No");
  main_.RefreshTargetDisplay();
  ShowSubfolderSetting();
  if (excluded) {
    main_.SetCaption("lblEstimatedTime", "");
  } else {
    ShowSingleFileEstimate(path);
  }
}

void TargetCommands::cmdSpecifyDirectory0_MouseUp() {
  if (!Offered()) return;
  main_.SetCaption("lblLargePurgeMessage", "");
  main_.SetSetupFilename("");
  main_.SetMenuEnabled(false);
  const std::optional<std::string> chosen =
      dialogs_.ChooseFolder({"Specify folder containing files to be purged", "", "", ""});
  main_.SetMenuEnabled(true);

  if (!chosen || chosen->empty()) {
    main_.ShowInfoLabels(true);
    main_.UpdateDateRestrictionLabel();
    return;
  }
  TakeFolder(*chosen);
}

void TargetCommands::TakeFolder(const std::string& chosen) {
  TargetRecord& target = settings_.target;
  const std::string folder = WithTrailingSeparator(chosen);
  target.TargetFolder = folder;
  main_.RefreshTargetDisplay();

  const bool hasSubfolders = CountSubfolders(folder) > 0;
  main_.SetCaption("lblSubdirectories", "No");
  main_.SetCaption("lblSubdirectories2", hasSubfolders
                                             ? "(Do not operate on files in lower subfolders.)"
                                             : "(The folder has no subfolders.)");
  target.blnSubdirectories = false;
  main_.SetSetupFilename("");
  target.SetFilespec({});
  main_.RefreshTargetDisplay();

  if (FilesInFolder(folder, true) > 0) {
    const MessageAnswer answer =
        dialogs_.ShowMessage({kSpecifyFolderCaption,
                              "Do you wish to purge ALL files in " + folder + kLineBreak +
                                  "(subject to any date restriction which is in effect)?",
                              MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer == MessageAnswer::Yes) {
      target.SetFilespec("*.*");
      main_.RefreshTargetDisplay();
      main_.SetSetupFilename("");
      main_.SetCaption("lblEstimatedTime", "");
      CheckFolderHasFiles(target, "*.*", dialogs_);
      if (hasSubfolders) {
        dialogs_.Tell(kSpecifyFolderCaption,
                      std::string("If you wish also to purge all files in subfolders") +
                          kLineBreak + "(subject to any date restriction which is in effect)" +
                          kLineBreak + "then click on the 'Subfolders?' button.",
                      MessageIcon::Information);
      }
    }
  }
  main_.UpdateDateRestrictionLabel();
}

void TargetCommands::cmdSpecifyFiles_MouseUp(const std::function<bool(SpecifyFiles&)>& showDialog) {
  if (!Offered()) return;
  TargetRecord& target = settings_.target;
  if (target.TargetFolder.empty()) {
    dialogs_.Tell("Folder unspecified", "The folder has not been specified.",
                  MessageIcon::Exclamation);
    return;
  }
  if (!CheckFolderHasFiles(target, "*.*", dialogs_)) return;

  const std::int32_t files = FilesInFolder(target.TargetFolder, false);
  const bool noFiles =
      target.blnSubdirectories ? !AnyMatchingFileInTree(target.TargetFolder, "*.*") : files <= 0;
  if (noFiles) {
    dialogs_.Tell(kSpecifyFilesCaption,
                  "There are no files in " + target.TargetFolder +
                      (target.blnSubdirectories ? " or in any of its subfolders" : "") +
                      (settings_.dateRestriction.blnDateRestriction()
                           ? " (possibly due to the date restriction)"
                           : "") +
                      ".",
                  MessageIcon::Information);
    return;
  }

  specifyFiles_.Prepare("purge", files > 0, target.TargetFolder);
  main_.SetMenuEnabled(false);
  const bool closed = showDialog(specifyFiles_);
  main_.SetMenuEnabled(true);

  const std::string filespec = closed ? specifyFiles_.ChosenFilespec() : std::string();
  if (!filespec.empty()) {
    // A file chosen on its own is that one file, by its exact name, and not every file of its
    // name in lower subfolders.
    const bool singleFile = specifyFiles_.SelectedOption() == SpecifyFilesOption::SingleFile;
    target.SetFilespec(filespec, singleFile);
    if (singleFile) {
      target.blnSubdirectories = false;
      ShowSubfolderSetting();
    }
    main_.RefreshTargetDisplay();
    main_.SetSetupFilename("");
    main_.SetCaption("lblEstimatedTime", "");
    CheckFolderHasFiles(target, filespec, dialogs_, target.filespecIsName);
  }
  main_.UpdateDateRestrictionLabel();
}

void TargetCommands::cmdSubdirectories_MouseUp() {
  if (!Offered()) return;
  TargetRecord& target = settings_.target;
  main_.SetCaption("lblEstimatedTime", "");
  if (!target.TargetFolder.empty()) {
    const std::int32_t count = CountSubfolders(target.TargetFolder);
    if (count >= 0) {
      target.blnSubdirectories = count > 0 && !target.blnSubdirectories;
      const SubfolderSetting setting = ::ShowSubfolderSetting(target, count);
      main_.SetCaption("lblSubdirectories", setting.answer);
      main_.SetCaption("lblSubdirectories2", setting.explanation);
      main_.SetSetupFilename("");
      return;
    }
    // A folder that has gone, or a drive taken away, is forgotten; the user is told only when
    // the drive is there to be read.
    Platform::DriveInfo drive;
    if (main_.StartupCompleted() && !Platform::DriveOfPath(target.TargetFolder, drive) &&
        DiskProc::DriveReady(drive.root)) {
      dialogs_.Tell("Error", "Error when attempting to access " + target.TargetFolder + ".",
                    MessageIcon::Exclamation);
    }
    target.TargetFolder.clear();
  }
  target.SetFilespec({});
  main_.RefreshTargetDisplay();
}

void TargetCommands::cmdClear_Click() {
  if (main_.Running()) return;
  const MessageAnswer answer =
      dialogs_.ShowMessage({kClearCaption, "Clear folder and file specifications?",
                            MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
  if (answer != MessageAnswer::Yes) return;
  settings_.target.TargetFolder.clear();
  settings_.target.SetFilespec({});
  main_.RefreshTargetDisplay();
  main_.UpdateDateRestrictionLabel();
}

void TargetCommands::DropTarget(const std::string& path) {
  if (main_.Running() || path.empty()) return;
  if (Platform::FolderExists(path)) {
    main_.SetCaption("lblLargePurgeMessage", "");
    main_.SetSetupFilename("");
    TakeFolder(path);
  } else {
    TakeSingleFile(path);
  }
}

void TargetCommands::StartWithTargets(const std::vector<std::string>& paths) {
  if (paths.empty() || main_.Running()) return;
  const std::string first = Platform::AbsolutePath(paths.front());
  if (paths.size() > 1) {
    dialogs_.ShowMessage({kOneTargetCaption,
                          "Kexwell takes one target at a time: " + first + kLineBreak +
                              "The other " + std::to_string(paths.size() - 1) +
                              (paths.size() == 2 ? " path was" : " paths were") + " left out.",
                          MessageIcon::Information, MessageButtons::OK, MessageAnswer::OK});
  }
  DropTarget(first);
}
