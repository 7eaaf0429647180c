#include "operation/purge_run.h"

#include <ctime>

#include "engine/purge_type_texts.h"
#include "operation/estimates.h"
#include "operation/program_settings.h"
#include "platform/drives.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "targets/matching.h"
#include "text/locale_format.h"
#include "text/str_proc.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";

std::string Grouped(double value) {
  return StrProc::GroupedNumberText(value, 0);
}

// "Number of files " + the file pattern is used for patterns that hold "?", or a "*" after
// their first character.
bool NamesTheSpecification(const std::string& fileSpec) {
  return fileSpec.find('?') != std::string::npos ||
         (fileSpec.size() > 1 && fileSpec.find('*', 1) != std::string::npos);
}

}  // namespace

PurgeRun::PurgeRun(ProgramSettings& settings, UserDialogs& dialogs, RunHost& host)
    : settings_(settings),
      dialogs_(dialogs),
      host_(host),
      purgeHost_(host),
      environment_(settings.clusterSizes, settings.random),
      freeSpaceEnvironment_(settings.clusterSizes, settings.random) {
  environment_.host = &purgeHost_;
  environment_.abortNow = &AbortNow;
}

void PurgeRun::ResetRunState() {
  blnStop = false;
  Paused = false;
  AbortNow = false;
  ReportClosed = false;
  lngNumFilesProcessed = 0;
  lngNumFilesPurged = 0;
  lngNumFilesNotDestroyed = 0;
  lngNumFilesNotVerified = 0;
  dblTotalBytesPurged = 0;
  FoldersRemoved = 0;
  FoldersNotEntered = 0;
  intNumFiles = 0;
  PendingText.clear();
  report_.Clear();
  status_ = RunStatus::Running;
}

std::string PurgeRun::DateAndTime() const {
  const std::time_t now = clock();
  std::tm local{};
  Platform::LocalTime(now, local);
  const StrProc::LocaleFormat format = StrProc::CurrentLocaleFormat();
  return StrProc::FormatDateTime(format.shortDatePattern, local, format) + ", " +
         StrProc::FormatDateTime("%H:%M:%S", local, format);
}

void PurgeRun::ProcessFiles(const RunRequest& request) {
  if (request.kind == RunKind::Count) {
    blnStop = false;
    CountMatchingFilesOfTarget(request);
    host_.Finished();
    return;
  }
  request_ = request;
  ResetRunState();
  if (request_.kind == RunKind::FreeSpace) {
    PurgeFreeSpace();
    host_.ReportChanged();
    host_.Finished();
    return;
  }
  const bool purge = request_.kind == RunKind::Purge;
  if (purge) {
    WriteHeading();
    settings_.protectedFiles.Reset(0);
    if (settings_.blnConfirmFiles) blnPurgeRemainingFiles = false;
    KXesPurgeRecursive(request_.targetFolder);
  } else {
    EstimatedTimeCaption.clear();
    ListFilesRecursive(request_.targetFolder);
    if (lngNumFilesProcessed == 0) {
      report_.Append(std::string("No files to list") +
                     (settings_.dateRestriction.blnDateRestriction()
                          ? " (possibly due to the date restriction)"
                          : "") +
                     "." + kLineBreak);
    }
  }
  if (!ReportClosed && !PendingText.empty()) {
    report_.Append(PendingText);
    PendingText.clear();
  }
  report_.TrimTrailingControls();
  report_.Append(std::string(kLineBreak) + kLineBreak);
  WriteSummary();
  if (purge) {
    report_.Append(DateAndTime() + kLineBreak);
    const RunStatus status = status_.load();
    if (status != RunStatus::Paused && status != RunStatus::Stopped && lngNumFilesPurged > 0)
      status_ = RunStatus::Done;
  }
  host_.ReportChanged();
  host_.Finished();
}

void PurgeRun::WriteHeading() {
  const std::string& folder = request_.targetFolder;
  const std::string& fileSpec = request_.fileSpec;
  const bool allFiles = fileSpec == "*.*" && !request_.fileSpecIsName;
  std::string heading = DateAndTime() + kLineBreak + "Purging ";
  heading += allFiles ? "all files in " + folder : "files " + folder + fileSpec + " ";
  if (settings_.target.blnSubdirectories) {
    heading += kLineBreak;
    heading += allFiles ? "(including all files in subfolders) "
                        : "(including " + fileSpec + " files in subfolders) ";
  }
  if (settings_.dateRestriction.blnDateRestriction()) {
    heading += kLineBreak;
    heading += "which satisfy the date restriction";
  }
  const PurgeTypeChoice& choice = settings_.purgeType;
  heading += std::string(kLineBreak) + "using " +
             PurgeTypeNumPasses(choice.GetPurgeType(), choice.GetNumberOfPasses()) + "." +
             kLineBreak;
  report_.Append(heading);
  host_.ReportChanged();
}

void PurgeRun::WriteSummary() {
  std::string summary;
  if (lngNumFilesProcessed >= 1) {
    summary += !request_.fileSpecIsName && NamesTheSpecification(request_.fileSpec)
                   ? "Number of files " + request_.fileSpec + ": "
                   : std::string("Number of files: ");
    summary += Grouped(lngNumFilesProcessed) + kLineBreak;
  }
  if (request_.kind == RunKind::Purge) {
    if (!(lngNumFilesProcessed == 1 && lngNumFilesPurged == 1))
      summary += "Number of files purged: " + Grouped(lngNumFilesPurged) + kLineBreak;
    if (lngNumFilesNotDestroyed > 0)
      summary += "Number of files overwritten whose old data may remain: " +
                 Grouped(lngNumFilesNotDestroyed) + kLineBreak;
    if (lngNumFilesNotVerified > 0)
      summary += "Number of files purged but not verified: " + Grouped(lngNumFilesNotVerified) +
                 kLineBreak;
    if (lngNumFilesPurged > 1) {
      summary += "Sum of sizes of files purged: " + StrProc::SizeToText(dblTotalBytesPurged, 2) +
                 kLineBreak + kLineBreak;
    }
    // Kept files are named as such whenever any were purged, not only when several were.
    if (settings_.options.blnDoNotDeletePurgedFiles && lngNumFilesPurged > 0)
      summary += std::string("Purged files not deleted.") + kLineBreak;
    if (FoldersRemoved > 0)
      summary += "Number of folders removed: " + Grouped(FoldersRemoved) + kLineBreak;
    if (FoldersNotEntered > 0)
      summary += "Number of folders not purged: " + Grouped(FoldersNotEntered) + kLineBreak;
    if (blnStop) summary += std::string("Purge operation was stopped.") + kLineBreak + kLineBreak;
  } else {
    if (lngNumFilesProcessed > 1) {
      summary += "Sum of file sizes: " + StrProc::SizeToText(dblTotalBytesPurged, 2) + kLineBreak +
                 kLineBreak;
    }
    if (FoldersNotEntered > 0)
      summary += "Number of folders not listed: " + Grouped(FoldersNotEntered) + kLineBreak;
    if (blnStop) summary += std::string("Listing was stopped.") + kLineBreak + kLineBreak;
    if (dblTotalBytesPurged > 0 && !blnStop) {
      Platform::DriveInfo drive;
      const std::string& folder = request_.targetFolder;
      if (Platform::DriveOfPath(folder, drive)) drive.root = folder;
      const PurgeTypeChoice& choice = settings_.purgeType;
      const ListingEstimate estimate = EstimateAfterListing(
          settings_.purgeSpeeds.Speed(drive.root), drive, dblTotalBytesPurged, lngNumFilesProcessed,
          choice.GetNumOverwrites(), TypeOfPurgeDescription(choice), settings_.dblAF_A,
          settings_.dblAF_B);
      summary += WithVolumeWarnings(estimate.reportText, volumeWarnings(folder));
      EstimatedTimeCaption = estimate.estimateLabel;
    }
  }
  report_.Append(summary);
}

void PurgeRun::AddToReport(std::string_view text, bool flush) {
  if (ReportClosed) return;
  PendingText.append(text);
  if (flush) {
    report_.Append(PendingText);
    PendingText.clear();
    host_.ReportChanged();
    host_.Yield();
  }
  if (report_.Characters() > ReportText::kLimit) ReportBufferFull();
}

void PurgeRun::WaitIfPaused() {
  host_.Yield();
  if (blnStop) {
    StopLineBreak();
    return;
  }
  if (!Paused) return;
  host_.ReportChanged();
  while (Paused && !blnStop) {
    host_.WaitWhilePaused();
    host_.Yield();
  }
  if (blnStop) StopLineBreak();
}

// A stop ends the report's current line; a purge cut short cuts it back again.
void PurgeRun::StopLineBreak() {
  if (ReportClosed) return;
  report_.Append(kLineBreak);
  host_.ReportChanged();
}

void PurgeRun::ReportBufferFull() {
  if (report_.Characters() >= 1025) report_.CutLastCharacters(1024);
  const std::size_t lastBreak = report_.Text().rfind(kLineBreak);
  if (lastBreak != std::string::npos) report_.CutAt(lastBreak);
  report_.Append(std::string(kLineBreak) + kLineBreak);
  PendingText.clear();
  if (request_.kind == RunKind::Purge) {
    report_.Append(std::string("The report buffer has been filled, so ") +
                   "this report cannot continue.  The purge operation will continue, " +
                   "but without report of results for individual files." + kLineBreak + kLineBreak);
  } else {
    dialogs_.Tell("Report buffer full",
                  std::string("The output report buffer has been filled, so ") +
                      "this report cannot continue.",
                  MessageIcon::Exclamation);
    report_.Append(std::string("The output report buffer was filled.") + kLineBreak +
                   "Note: Some files or folders were not listed." + kLineBreak);
    blnStop = true;
  }
  ReportClosed = true;
  host_.ReportChanged();
}

void PurgeRun::StopButton() {
  blnStop = true;
  status_ = RunStatus::Stopped;
}

void PurgeRun::PauseContinueButton() {
  const bool pausing = !Paused;
  Paused = pausing;
  if (status_.load() != RunStatus::Stopped)
    status_ = pausing ? RunStatus::Paused : RunStatus::Running;
}

std::int32_t PurgeRun::CountMatchingFilesOfTarget(const RunRequest& request) {
  request_ = request;
  request_.kind = RunKind::Count;
  lngNumFilesProcessed = 0;
  lngNumHardLinkedFiles = 0;
  FoldersNotEntered = 0;
  ListFilesRecursive(request_.targetFolder);
  return lngNumFilesProcessed;
}
