// The walk of a purge run: every matching file of a folder, then its subfolders.

#include <algorithm>
#include <cmath>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/result_texts.h"
#include "platform/drives.h"
#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "targets/file_selection.h"
#include "targets/folder_queries.h"
#include "targets/matching.h"
#include "text/locale_format.h"
#include "text/str_proc.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr int kLongestGauge = 10;

struct FolderListing {
  std::vector<std::string> files;
  std::vector<std::string> subfolders;
};

std::error_code ListEntries(const Platform::FolderHandle& folder, FolderListing& listing) {
  return folder.List([&listing](const Platform::FolderEntry& entry) {
    (entry.isFolder ? listing.subfolders : listing.files).push_back(entry.name);
    return true;
  });
}

// The drive's measured speed in bytes per second; an unmeasured drive is taken as 1 MB per
// second (1/60 MB on a floppy).
double SpeedInBytesPerSecond(const ProgramSettings& settings, const std::string& folder) {
  Platform::DriveInfo drive;
  float speed = 0;
  const bool known = !Platform::DriveOfPath(folder, drive);
  if (known) speed = settings.purgeSpeeds.Speed(drive.root);
  if (speed <= 0) speed = known && drive.floppy ? 1.0f / 60.0f : 1.0f;
  return std::nearbyint(static_cast<double>(speed) * 1048576.0);
}

}  // namespace

void PurgeRun::KXesPurgeRecursive(const std::string& folderPath) {
  Platform::FolderHandle folder;
  if (const std::error_code error = folder.Open(folderPath)) {
    host_.CaptionChanged(folderPath);
    ReportFolderNotEntered(WithTrailingSeparator(folderPath), error);
    return;
  }
  PurgeFolder(folder, folderPath);
}

void PurgeRun::PurgeFolder(const Platform::FolderHandle& handle, const std::string& folderPath) {
  host_.CaptionChanged(folderPath);
  const double speed = SpeedInBytesPerSecond(settings_, folderPath);
  const std::string folder = WithTrailingSeparator(folderPath);

  FolderListing listing;
  if (const std::error_code error = ListEntries(handle, listing)) {
    ReportFolderNotEntered(folder, error);
    return;
  }

  const std::int32_t limit = settings_.dateRestriction.lngOnlyBeforeThisJDN;
  intNumFiles = static_cast<std::int32_t>(
      std::count_if(listing.files.begin(), listing.files.end(), [&](const std::string& name) {
        return SatisfiesFilespecAndDateRestrictionIn(handle, name, request_.fileSpec, limit,
                                                     request_.fileSpecIsName);
      }));

  if (intNumFiles > 0) {
    (void)handle.Identity(folderIdentity_);
    namesRemoved_ = false;
    AddToReport(kLineBreak + folder, false);
    bool firstMatch = true;
    FileStep step = FileStep::Next;
    for (const std::string& name : listing.files) {
      host_.Yield();
      step = PurgeOneFile(handle, folder, name, firstMatch, speed);
      if (step != FileStep::Next) break;
    }
    // The deletions of this folder are made lasting once, after its last one.
    if (namesRemoved_) (void)handle.Sync();
    if (step == FileStep::Return) return;
  }
  if (blnStop) return;

  if (settings_.target.blnSubdirectories && !listing.subfolders.empty()) {
    bool foldersRemoved = false;
    for (const std::string& name : listing.subfolders) {
      const std::string subfolder = folder + name;
      Platform::FolderHandle subHandle;
      if (const std::error_code error = handle.OpenSubfolder(name, subHandle)) {
        ReportFolderNotEntered(WithTrailingSeparator(subfolder), error);
      } else {
        PurgeFolder(subHandle, subfolder);
      }
      if (blnStop) break;
      if (settings_.options.blnDeleteEmptyFolders && subHandle.IsOpen() &&
          RemoveIfEmpty(handle, subHandle, name, subfolder))
        foldersRemoved = true;
    }
    if (foldersRemoved) (void)handle.Sync();
    if (blnStop) return;
    AddToReport(kLineBreak, false);
  }
}

void PurgeRun::ReportFolderNotEntered(const std::string& folder, const std::error_code& error) {
  ++FoldersNotEntered;
  AddToReport(kLineBreak + FolderNotEnteredText(folder, error) + kLineBreak, true);
}

PurgeRun::FileStep PurgeRun::PurgeOneFile(const Platform::FolderHandle& handle,
                                          const std::string& folder, const std::string& name,
                                          bool& firstMatch, double speedBytesPerSecond) {
  const std::string& fileSpec = request_.fileSpec;
  const std::string path = folder + name;
  const PurgeOptions& options = settings_.options;
  if (!SatisfiesFilespecAndDateRestrictionIn(handle, name, fileSpec,
                                             settings_.dateRestriction.lngOnlyBeforeThisJDN,
                                             request_.fileSpecIsName)) {
    WaitIfPaused();
    return blnStop ? FileStep::Return : FileStep::Next;
  }
  ++lngNumFilesProcessed;
  if (firstMatch) {
    AddToReport(kLineBreak, false);
    firstMatch = false;
  }
  if (options.blnFolderNamesOnly)
    AddToReport(". ", true);
  else
    AddToReport(name, false);

  Platform::EntryStatus status;
  const bool known = !handle.Status(name, status);
  const std::string extension = FileOps::ProtectedFiles::ExtensionOf(path);
  short code = settings_.protectedFiles.CheckFile(path, folderIdentity_, status.identity);
  if (code == FileOps::kSensitiveExtension && options.blnOKToPurgeSensitiveFiles)
    code = FileOps::kMayPurge;
  if (code == FileOps::kSensitiveRefused) {
    code = FileOps::kSensitiveExtension;
  } else if (code == FileOps::kSensitiveExtension && !AskPurgeQuery(path, extension, code)) {
    AddToReport(std::string(kLineBreak) + kLineBreak, false);
    blnStop = true;
    return FileStep::Return;
  }

  FilePurge::PurgeOutcome outcome;
  bool ran = false;
  const double size = known ? static_cast<double>(status.length) : 0;
  const short passes = settings_.purgeType.GetNumberOfPasses();
  if (code == FileOps::kMayPurge) {
    bool confirmed = true;
    // A file that went since the folder was listed (while an earlier file was being confirmed,
    // say) is not asked about: its purge reports why it could not be opened.
    if (settings_.blnConfirmFiles && !blnPurgeRemainingFiles && known) {
      const std::string date =
          known ? StrProc::ModificationDateText(status.times.modification.seconds, false) : "";
      const std::string label = path + "     " + StrProc::SizeToText(size, 2) + "     " + date;
      switch (host_.ConfirmFile(label)) {
        case FileConfirmation::Purge:
          break;
        case FileConfirmation::Skip:
          confirmed = false;
          break;
        case FileConfirmation::PurgeAll:
          blnPurgeRemainingFiles = true;
          break;
        case FileConfirmation::Stop:
          confirmed = false;
          blnStop = true;
          status_ = RunStatus::Stopped;
          break;
      }
    }
    if (confirmed) {
      outcome = PurgeConfirmedFile(handle, name, size, speedBytesPerSecond);
      ran = true;
    }
  }

  host_.Yield();
  if (ran && outcome.code == FilePurge::kStoppedInPass) blnStop = true;
  const bool purged = ran && outcome.code == FilePurge::kPurged;
  if (ran && FilePurge::OldDataMayRemain(outcome.code)) ++lngNumFilesNotDestroyed;
  if (purged) {
    if (!options.blnFolderNamesOnly) AddToReport(OutcomeReportText(outcome, passes), false);
    dblTotalBytesPurged += size;
    ++lngNumFilesPurged;
    if (!outcome.verified) ++lngNumFilesNotVerified;
  } else {
    if (options.blnFolderNamesOnly) AddToReport(name, false);
    AddToReport(
        ran ? OutcomeReportText(outcome, passes, extension) : ResultCodeReportText(code, extension),
        false);
  }
  if (!(purged && options.blnFolderNamesOnly)) AddToReport(kLineBreak, true);
  WaitIfPaused();
  if (blnStop) return FileStep::Return;
  // A name without wildcards, or a name taken as it is, names one file of a folder.
  return NamesOneFile(fileSpec, request_.fileSpecIsName) ? FileStep::EndFolder : FileStep::Next;
}

// Purges a file that the user confirmed, pass after pass through one handle, with the pass gauge
// in the report and the pause and the stop looked at after every pass.
FilePurge::PurgeOutcome PurgeRun::PurgeConfirmedFile(const Platform::FolderHandle& handle,
                                                     const std::string& name, double size,
                                                     double speedBytesPerSecond) {
  const PurgeOptions& options = settings_.options;
  const PurgeTypeChoice& choice = settings_.purgeType;
  const short passes = choice.GetNumberOfPasses();
  const short overwrites = choice.GetNumOverwrites();
  const bool gauge =
      !options.blnFolderNamesOnly && passes >= 2 && size * overwrites > speedBytesPerSecond;
  if (!options.blnFolderNamesOnly) {
    AddToReport(" (" + StrProc::GroupedNumberText(size, 0) + " bytes) purging", true);
    if (gauge) AddToReport(" " + std::string(std::min<int>(passes, kLongestGauge), '_'), true);
  }
  const FilePurge::PurgeRequest request{choice.GetPurgeType(),
                                        passes,
                                        !options.blnDoNotDeletePurgedFiles,
                                        options.blnOKToPurgeReadOnlyFiles,
                                        options.blnOKToPurgeSystemFiles,
                                        options.blnOKToPurgeHardLinkedFiles};
  const FilePurge::PurgeOutcome outcome =
      FilePurge::PurgeFileIn(handle, name, request, environment_, [&](short pass) {
        if (gauge && !ReportClosed) {
          report_.CutLastCharacters(static_cast<std::size_t>(passes));
          report_.Append(std::string("123456789").substr(0, static_cast<std::size_t>(pass)) +
                         std::string(static_cast<std::size_t>(passes - pass), '_'));
          host_.ReportChanged();
        }
        WaitIfPaused();
        return !blnStop;
      });
  if (outcome.code == FilePurge::kPurged && request.deleteFile) namesRemoved_ = true;
  if (!options.blnFolderNamesOnly && !ReportClosed) {
    const std::size_t at = report_.Text().rfind("bytes)");
    if (at != std::string::npos) report_.CutAt(at + 6);
  }
  return outcome;
}

// The "Purge query": may every file with this extension be purged in this run? False on Cancel.
bool PurgeRun::AskPurgeQuery(const std::string& path, const std::string& extension, short& code) {
  const bool vowel =
      !extension.empty() && (extension[0] == 'e' || extension[0] == 'i' || extension[0] == 'o');
  const std::string text =
      path + kLineBreak + kLineBreak + "You have requested to purge a file with a" +
      (vowel ? "n" : "") + " \"" + extension + "\" extension." + kLineBreak +
      "Do you wish to allow all files with this " + "extension to be purged?" + kLineBreak +
      "(Permission lasts only during the course of this operation.)";
  const MessageAnswer answer = dialogs_.ShowMessage(
      {"Purge query", text, MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::No});
  if (answer == MessageAnswer::Yes) {
    settings_.protectedFiles.SetPermission(extension, 1);
    code = FileOps::kMayPurge;
  } else if (answer == MessageAnswer::No) {
    settings_.protectedFiles.SetPermission(extension, -1);
  } else {
    return false;
  }
  return true;
}

bool PurgeRun::RemoveIfEmpty(const Platform::FolderHandle& parent,
                             const Platform::FolderHandle& folder, const std::string& name,
                             const std::string& path) {
  bool empty = true;
  Platform::FileIdentity identity;
  if (folder.List([&empty](const Platform::FolderEntry&) { return empty = false; }) || !empty ||
      folder.Identity(identity) || parent.RemoveSubfolder(name, identity))
    return false;
  ++FoldersRemoved;
  AddToReport("Folder " + path + " removed." + kLineBreak + kLineBreak, false);
  return true;
}
