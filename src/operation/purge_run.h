#pragma once

// One purge or listing of the current target, from its heading to its summary, with the report
// that the report window shows. The same object counts the matching files before a purge.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_purge.h"
#include "engine/free_space_purge.h"
#include "operation/free_space_texts.h"
#include "operation/report_text.h"
#include "operation/run_host.h"
#include "operation/run_request.h"
#include "operation/volume_warnings.h"
#include "platform/handles.h"

struct ProgramSettings;
class UserDialogs;

// How a run ended, as the report window's status label shows it.
enum class RunStatus { Running, Paused, Stopped, Done };

class PurgeRun {
 public:
  PurgeRun(ProgramSettings& settings, UserDialogs& dialogs, RunHost& host);
  PurgeRun(const PurgeRun&) = delete;
  PurgeRun& operator=(const PurgeRun&) = delete;

  // --- Flags that the window's buttons set, read at the poll points ------------------------
  std::atomic<bool> blnStop{false};
  std::atomic<bool> Paused{false};
  // Stops the file at hand at its next write rather than after its pass, and then the run; the
  // command line sets it on a second Ctrl-C.
  std::atomic<bool> AbortNow{false};

  // --- Run state -----------------------------------------------------------------------------
  bool blnPurgeRemainingFiles = false;
  bool ReportClosed = false;
  std::int32_t lngNumFilesProcessed = 0;  // -1 after counting: more than 1000
  std::int32_t lngNumFilesPurged = 0;
  double dblTotalBytesPurged = 0;  // in a listing: the sum of the sizes listed
  std::int16_t FoldersRemoved = 0;
  // Folders that could not be read, or were not entered (another file system, a link swapped
  // in): their files are not purged, so the run did not purge everything.
  std::int32_t FoldersNotEntered = 0;
  // Files overwritten in full whose old data may remain (the file system wrote elsewhere, shares
  // the blocks, keeps the data in its records or its journal): never counted as purged.
  std::int32_t lngNumFilesNotDestroyed = 0;
  // Purged files whose file system does not tell where their data lies.
  std::int32_t lngNumFilesNotVerified = 0;
  // Counted files that have other names (hard links).
  std::int32_t lngNumHardLinkedFiles = 0;
  std::int32_t intNumFiles = 0;  // matching files of the folder at hand
  std::string PendingText;
  // What the main window's estimate label shows after a listing ("" clears it).
  std::string EstimatedTimeCaption;

  // The clock of the heading and the closing line.
  std::function<std::time_t()> clock = [] { return std::time(nullptr); };
  // The warnings about the drive of a folder that follow a listing's estimate.
  std::function<std::vector<std::string>(const std::string& folder)> volumeWarnings =
      VolumeWarningsForPath;

  // What the last purge of free space did.
  FreeSpacePurge::Outcome FreeSpaceOutcome;
  // The warnings about the drive whose free space is purged, at the end of the report.
  std::function<std::vector<std::string>(const std::string& folder)> freeSpaceWarnings =
      FreeSpaceWarningsForPath;
  // Where the front end notes the dummy folder of a purge of free space: made (true), and
  // removed (false), so that a folder left by a crash is found at the next start.
  std::function<void(const std::string& folder, bool made)> noteFillFolder;

  // Runs the whole purge or listing that request names and writes the summary; a count is
  // counted as CountMatchingFilesOfTarget counts it; a purge of free space fills the free space
  // of the drive of the request's target folder from a dummy folder made in it.
  void ProcessFiles(const RunRequest& request);
  // Counts the matching files of the request's target, whatever its kind, stopping at its
  // stopAt: the count, or -1 when it passed 1000. blnStop ends the count between two files or
  // folders; it is left as it is at the start, so that a Stop pressed before the count reached
  // its first folder still counts.
  std::int32_t CountMatchingFilesOfTarget(const RunRequest& request);
  // What the run under way, or the last one, was told.
  const RunRequest& Request() const { return request_; }

  void AddToReport(std::string_view text, bool flush);
  void WaitIfPaused();
  void ReportBufferFull();

  // The report window's buttons.
  void StopButton();
  void PauseContinueButton();

  const std::string& Report() const { return report_.Text(); }
  RunStatus Status() const { return status_.load(); }

  // For tests: the environment of the per-file purge, and of the purge of free space.
  FilePurge::PurgeEnvironment& Environment() { return environment_; }
  FreeSpacePurge::Environment& FreeSpaceEnvironment() { return freeSpaceEnvironment_; }

 private:
  class PurgeHostAdapter final : public FilePurge::PurgeHost {
   public:
    explicit PurgeHostAdapter(RunHost& host) : host_(host) {}
    void Yield() override { host_.Yield(); }

   private:
    RunHost& host_;
  };

  friend class FreeSpaceReporter;
  enum class FileStep { Next, EndFolder, Return };

  void ResetRunState();
  void KXesPurgeRecursive(const std::string& folder);
  void ListFilesRecursive(const std::string& folder);
  void WriteHeading();
  void WriteSummary();
  void StopLineBreak();
  std::string DateAndTime() const;
  void PurgeFolder(const Platform::FolderHandle& handle, const std::string& folderPath);
  FileStep PurgeOneFile(const Platform::FolderHandle& handle, const std::string& folder,
                        const std::string& name, bool& firstMatch, double speedBytesPerSecond);
  FilePurge::PurgeOutcome PurgeConfirmedFile(const Platform::FolderHandle& handle,
                                             const std::string& name, double size,
                                             double speedBytesPerSecond);
  bool AskPurgeQuery(const std::string& path, const std::string& extension, short& code);
  // Removes the subfolder `name` of parent when the walk left it empty; true when it did.
  bool RemoveIfEmpty(const Platform::FolderHandle& parent, const Platform::FolderHandle& folder,
                     const std::string& name, const std::string& path);
  void ReportFolderNotEntered(const std::string& folder, const std::error_code& error);
  void NoteFolderNotEntered(const std::string& folder, const std::error_code& error);
  void ListFolder(const Platform::FolderHandle& handle, const std::string& folderPath);
  void PurgeFreeSpace();

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  RunHost& host_;
  PurgeHostAdapter purgeHost_;
  FilePurge::PurgeEnvironment environment_;
  FreeSpacePurge::Environment freeSpaceEnvironment_;
  ReportText report_;
  std::atomic<RunStatus> status_{RunStatus::Running};
  // The folder whose files the purge walk is at, and whether it removed a name there.
  Platform::FileIdentity folderIdentity_;
  bool namesRemoved_ = false;
  // Given at the start of a run and only read until its end.
  RunRequest request_;
};
