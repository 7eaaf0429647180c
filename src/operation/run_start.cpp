#include "operation/run_start.h"

#include "platform/handles.h"

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "targets/folder_queries.h"
#include "targets/matching.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kPurgeTitle = "Purge files";
constexpr const char* kListTitle = "List and estimate time";

}  // namespace

RunStarter::RunStarter(ProgramSettings& settings, UserDialogs& dialogs)
    : settings_(settings), dialogs_(dialogs) {}

std::string RunStarter::TargetPath() const {
  return JoinPath(settings_.target.TargetFolder, settings_.target.TargetFilespec);
}

bool RunStarter::CheckTarget() {
  TargetRecord& target = settings_.target;
  if (!target.TargetIsSpecified()) {
    dialogs_.Tell("Error", "No files specified.", MessageIcon::Exclamation);
    return false;
  }
  if (!Platform::FolderExists(WithTrailingSeparator(target.TargetFolder))) {
    dialogs_.Tell("Error", "Folder does not exist.", MessageIcon::Exclamation);
    target.TargetFolder.clear();
    target.SetFilespec({});
    return false;
  }
  return true;
}

RunRequest RunStarter::RequestForTarget(RunKind kind) const {
  RunRequest request{kind, WithTrailingSeparator(settings_.target.TargetFolder),
                     settings_.target.TargetFilespec};
  request.fileSpecIsName = settings_.target.filespecIsName;
  return request;
}

std::int32_t RunStarter::FilesInTargetFolder() const {
  const TargetRecord& target = settings_.target;
  double noSizes = 0;
  return CountMatchingFiles(target.TargetFolder, target.TargetFilespec, false, noSizes,
                            target.filespecIsName);
}

std::optional<std::int32_t> RunStarter::PreparePurge(
    PurgeRun& run, const std::function<void(const std::string&)>& showStatus) {
  const TargetRecord& target = settings_.target;
  const bool pattern = !target.NamesOneFile();
  if (!target.blnSubdirectories) {
    double noSizes = 0;
    if (CountMatchingFiles(target.TargetFolder, target.TargetFilespec, true, noSizes,
                           target.filespecIsName) <= 0) {
      dialogs_.Tell(kPurgeTitle,
                    pattern ? "There are no files in " + target.TargetFolder + " matching " +
                                  target.TargetFilespec + "."
                            : "File " + target.TargetFilespec + " not found.",
                    MessageIcon::Exclamation);
      return std::nullopt;
    }
  }

  std::int32_t count = 1;
  hardLinkedCount_ = 0;
  if (pattern) {
    if (showStatus) showStatus("Now counting files ...");
    count = run.CountMatchingFilesOfTarget(RequestForTarget(RunKind::Count));
    hardLinkedCount_ = run.lngNumHardLinkedFiles;
    if (showStatus) showStatus("");
    if (run.blnStop) return std::nullopt;
    if (count == 0) {
      dialogs_.Tell(kPurgeTitle,
                    "There are no files in " + target.TargetFolder +
                        " or in any of its subfolders matching " + target.TargetFilespec +
                        (settings_.dateRestriction.blnDateRestriction()
                             ? " (possibly due to the date restriction)"
                             : "") +
                        ".",
                    MessageIcon::Information);
      return std::nullopt;
    }
  } else {
    Platform::FolderHandle folder;
    Platform::EntryStatus status;
    if (!folder.Open(target.TargetFolder) && !folder.Status(target.TargetFilespec, status) &&
        status.kind == Platform::FileKind::Regular && status.links > 1)
      hardLinkedCount_ = 1;
  }
  if (!pattern && settings_.dateRestriction.blnDateRestriction() &&
      settings_.dateRestriction.ShowDateRestrictionExclusion(TargetPath(), kPurgeTitle, dialogs_)) {
    return std::nullopt;
  }
  return count;
}

PurgeConfirmationTexts RunStarter::ConfirmationTexts(std::int32_t count,
                                                     std::int32_t withOtherNames) {
  return BuildPurgeConfirmationText(settings_.target,
                                    settings_.dateRestriction.blnDateRestriction(), count,
                                    withOtherNames, settings_.random);
}

void RunStarter::TellCancelled() {
  dialogs_.Tell("Purge cancelled", "No files purged.", MessageIcon::Information);
}

bool RunStarter::PrepareListing() {
  const TargetRecord& target = settings_.target;
  if (target.blnSubdirectories) return true;
  double noSizes = 0;
  if (CountMatchingFiles(target.TargetFolder, target.TargetFilespec, true, noSizes,
                         target.filespecIsName) > 0)
    return true;
  std::string text;
  if (target.NamesOneFile())
    text = "File " + target.TargetFilespec + " not found.";
  else if (target.TargetFilespec == "*.*")
    text = "There are no files in " + target.TargetFolder + ".";
  else
    text =
        "There are no files in " + target.TargetFolder + " matching " + target.TargetFilespec + ".";
  dialogs_.Tell(kListTitle, text, MessageIcon::Exclamation);
  return false;
}

bool RunStarter::ChooseListingDisplay(RunRequest& listing) {
  if (!settings_.target.blnSubdirectories) {
    listing.displayFileNames = true;
    listing.displayFolderNames = true;
    return true;
  }
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(settings_.target.TargetFolder, drive))
    drive.root = settings_.target.TargetFolder;
  const bool measured = settings_.purgeSpeeds.Speed(drive.root) > 0;
  if (!measured) {
    const MessageAnswer answer = dialogs_.ShowMessage(
        {kListTitle,
         "The purge speed has not been measured for drive " + drive.root + "." + kLineBreak +
             "For an estimate of the purge time test the purge speed for this drive then "
             "relist." +
             kLineBreak +
             "Do you wish to list subfolders without getting an estimate of purge time?",
         MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::Yes});
    if (answer != MessageAnswer::Yes) return false;
  }
  listing.displayFileNames = false;
  const MessageAnswer answer = dialogs_.ShowMessage(
      {measured ? kListTitle : "List folder names?", "Suppress display of folder names?",
       MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::Yes});
  if (answer == MessageAnswer::Cancel) return false;
  listing.displayFolderNames = answer == MessageAnswer::No;
  return true;
}

std::string RunStarter::ListingCaption(const RunRequest& listing) const {
  const std::string& filespec = listing.fileSpec;
  if (!listing.displayFileNames)
    return listing.displayFolderNames ? "List folders" : "Estimate purge time";
  if (NamesOneFile(filespec, listing.fileSpecIsName)) return "List files";
  if (filespec == "*.*") return "List all files";
  return "List files " + filespec;
}

bool RunStarter::TargetFolderIsEmpty() const {
  const std::string& folder = settings_.target.TargetFolder;
  double noSizes = 0;
  return CountMatchingFiles(folder, "*.*", false, noSizes) == 0 && CountSubfolders(folder) == 0;
}

bool RunStarter::OfferToDeleteEmptyFolder() {
  const std::string folder = settings_.target.TargetFolder;
  if (!TargetFolderIsEmpty()) return false;
  const MessageAnswer answer =
      dialogs_.ShowMessage({"Delete folder?", "Delete folder " + folder + "?",
                            MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No});
  return answer == MessageAnswer::Yes && !Platform::RemoveFolder(folder);
}
