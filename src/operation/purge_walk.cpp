// The walk of a purge run: every matching file of a folder, then its subfolders.

#include <algorithm>
#include <cmath>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/result_texts.h"
#include "platform/drives.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "targets/file_selection.h"
#include "targets/folder_queries.h"
#include "targets/matching.h"
#include "text/locale_format.h"
#include "text/str_proc.h"
#include "ui/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr int kLongestGauge = 10;

struct FolderListing {
  std::vector<std::string> files;
  std::vector<std::string> subfolders;
};

bool ListEntries(const std::string& folder, FolderListing& listing) {
  return !Platform::ListFolder(folder, [&listing](const Platform::FolderEntry& entry) {
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

std::int64_t EntryLength(const std::string& path) {
  std::int64_t length = 0;
  return Platform::GetEntryLength(path, length) ? 0 : length;
}

}  // namespace

void PurgeRun::KXesPurgeRecursive(const std::string& folderPath, const std::string& fileSpec) {
  host_.CaptionChanged(folderPath);
  const double speed = SpeedInBytesPerSecond(settings_, folderPath);
  const std::string folder = WithTrailingSeparator(folderPath);

  // A folder that cannot be read is passed over; the walk goes on with the next one.
  FolderListing listing;
  if (!ListEntries(folder, listing)) return;

  const std::int32_t limit = settings_.dateRestriction.lngOnlyBeforeThisJDN;
  intNumFiles = static_cast<std::int32_t>(
      std::count_if(listing.files.begin(), listing.files.end(), [&](const std::string& name) {
        return SatisfiesFilespecAndDateRestriction(folder + name, fileSpec, false, limit);
      }));

  if (intNumFiles > 0) {
    AddToReport(kLineBreak + folder, false);
    bool firstMatch = true;
    for (const std::string& name : listing.files) {
      host_.Yield();
      const FileStep step = PurgeOneFile(folder, name, fileSpec, firstMatch, speed);
      if (step == FileStep::Return) return;
      if (step == FileStep::EndFolder) break;
    }
  }

  if (settings_.target.blnSubdirectories && !listing.subfolders.empty()) {
    for (const std::string& name : listing.subfolders) {
      strNextDirPath = folder + name;
      const std::string subfolder = strNextDirPath;
      KXesPurgeRecursive(subfolder, fileSpec);
      if (blnStop) return;
      if (settings_.options.blnDeleteEmptyFolders) RemoveIfEmpty(subfolder);
    }
    AddToReport(kLineBreak, false);
  }
}

PurgeRun::FileStep PurgeRun::PurgeOneFile(const std::string& folder, const std::string& name,
                                          const std::string& fileSpec, bool& firstMatch,
                                          double speedBytesPerSecond) {
  const std::string path = folder + name;
  const PurgeOptions& options = settings_.options;
  if (SatisfiesFilespecAndDateRestriction(path, fileSpec, false,
                                          settings_.dateRestriction.lngOnlyBeforeThisJDN)) {
    ++lngNumFilesProcessed;
    if (firstMatch) {
      AddToReport(kLineBreak, false);
      firstMatch = false;
    }
    if (options.blnFolderNamesOnly)
      AddToReport(". ", true);
    else
      AddToReport(name, false);

    const std::string extension = FileOps::ProtectedFiles::ExtensionOf(path);
    short code = settings_.protectedFiles.CheckFile(path);
    if (code == FileOps::kSensitiveExtension && options.blnOKToPurgeSensitiveFiles)
      code = FileOps::kMayPurge;
    if (code == FileOps::kSensitiveRefused) {
      code = FileOps::kSensitiveExtension;
    } else if (code == FileOps::kSensitiveExtension && !AskPurgeQuery(path, extension, code)) {
      AddToReport(std::string(kLineBreak) + kLineBreak, false);
      blnStop = true;
      return FileStep::Return;
    }

    bool purged = false;
    double size = 0;
    if (code == FileOps::kMayPurge) {
      size = static_cast<double>(EntryLength(path));
      bool confirmed = true;
      if (settings_.blnConfirmFiles && !blnPurgeRemainingFiles) {
        const std::string label = path + "     " + StrProc::SizeToText(size, 2) + "     " +
                                  StrProc::FileDateText(path, false);
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
        const PurgeTypeChoice& choice = settings_.purgeType;
        const short purgeType = choice.GetPurgeType();
        const short passes = choice.GetNumberOfPasses();
        const short overwrites = choice.GetNumOverwrites();
        const bool gauge =
            !options.blnFolderNamesOnly && passes >= 2 && size * overwrites > speedBytesPerSecond;
        if (!options.blnFolderNamesOnly) {
          AddToReport(" (" + StrProc::GroupedNumberText(size, 0) + " bytes) purging", true);
          if (gauge)
            AddToReport(" " + std::string(std::min<int>(passes, kLongestGauge), '_'), true);
        }
        bool allPassesRan = true;
        for (short pass = 1; pass <= passes; ++pass) {
          const bool deleteAfterThisPass = pass == passes && !options.blnDoNotDeletePurgedFiles;
          FilePurge::PurgeFile(path, purgeType, 1, deleteAfterThisPass,
                               options.blnOKToPurgeReadOnlyFiles, options.blnOKToPurgeSystemFiles,
                               code, environment_);
          const bool gaugeShown = gauge && !ReportClosed;
          if (gaugeShown) report_.CutLastCharacters(static_cast<std::size_t>(passes));
          if (code < 0) break;
          if (gaugeShown && pass < passes) {
            report_.Append(std::string("123456789").substr(0, static_cast<std::size_t>(pass)) +
                           std::string(static_cast<std::size_t>(passes - pass), '_'));
            host_.ReportChanged();
          }
          WaitIfPaused();
          if (blnStop) {
            allPassesRan = pass == passes;
            break;
          }
        }
        purged = code == FilePurge::kPurged && allPassesRan;
        if (!options.blnFolderNamesOnly && !ReportClosed) {
          const std::size_t at = report_.Text().rfind("bytes)");
          if (at != std::string::npos) report_.CutAt(at + 6);
        }
      }
    }

    host_.Yield();
    if (purged) {
      if (!options.blnFolderNamesOnly) AddToReport(" purged", false);
      dblTotalBytesPurged += size;
      ++lngNumFilesPurged;
    } else {
      if (options.blnFolderNamesOnly) AddToReport(name, false);
      AddToReport(ResultCodeReportText(code, extension), false);
    }
    if (!(purged && options.blnFolderNamesOnly)) AddToReport(kLineBreak, true);
    if (!HasWildcard(fileSpec)) return FileStep::EndFolder;
  }
  WaitIfPaused();
  return blnStop ? FileStep::Return : FileStep::Next;
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

void PurgeRun::RemoveIfEmpty(const std::string& path) {
  double noSizes = 0;
  if (CountMatchingFiles(path, "*.*", false, noSizes) != 0 || CountSubfolders(path) != 0) return;
  if (Platform::RemoveFolder(path)) return;
  ++FoldersRemoved;
  AddToReport("Folder " + path + " removed." + kLineBreak + kLineBreak, false);
}
