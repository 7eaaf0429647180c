// The purge of free space as a run: its heading, a line for each overwrite with its gauge while
// it runs, and its summary, in the report that the report window shows.

#include "engine/purge_type_texts.h"
#include "operation/free_space_texts.h"
#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "platform/drives.h"

// Tells the run what the purge of free space does, and gives it the run's Stop and Pause.
class FreeSpaceReporter final : public FreeSpacePurge::FillHost {
 public:
  FreeSpaceReporter(PurgeRun& run, short overwrites) : run_(run), overwrites_(overwrites) {}

  void Yield() override {
    run_.host_.Yield();
    if (!run_.Paused || run_.blnStop) return;
    run_.host_.ReportChanged();
    while (run_.Paused && !run_.blnStop) {
      run_.host_.WaitWhilePaused();
      run_.host_.Yield();
    }
  }

  bool StopRequested() override { return run_.blnStop; }

  void Began(const Platform::DriveSpace& before) override {
    run_.AddToReport(FreeSpaceBeforeLine(static_cast<double>(before.availableBytes)), true);
  }

  void OverwriteStarted(short number, short pattern, std::int64_t bytesToDo) override {
    toDo_ = bytesToDo;
    gauge_ = OverwriteGauge(0, toDo_);
    run_.AddToReport(OverwriteLineStart(number, overwrites_, pattern) + gauge_, true);
  }

  void Progress(short /*number*/, std::int64_t bytesDone) override {
    const std::string gauge = OverwriteGauge(bytesDone, toDo_);
    if (gauge == gauge_) return;
    ReplaceGauge(gauge);
  }

  void OverwriteDone(short number, std::int64_t bytes, int files) override {
    ReplaceGauge(OverwriteLineEnd(bytes, files, number == 1));
    gauge_.clear();
  }

  void FolderMade(const std::string& path) override {
    if (run_.noteFillFolder) run_.noteFillFolder(path, true);
  }
  void FolderRemoved(const std::string& path) override {
    if (run_.noteFillFolder) run_.noteFillFolder(path, false);
  }

  // The overwrite under way when the purge ended without it: its gauge gives way to that.
  void EndUnfinished() {
    if (!gauge_.empty()) ReplaceGauge("not completed\r\n");
    gauge_.clear();
  }

 private:
  void ReplaceGauge(const std::string& text) {
    if (!run_.ReportClosed) {
      run_.report_.CutLastCharacters(gauge_.size());
      run_.report_.Append(text);
    }
    gauge_ = text;
    run_.host_.ReportChanged();
  }

  PurgeRun& run_;
  short overwrites_;
  std::int64_t toDo_ = 0;
  std::string gauge_;  // the gauge at the report's end, while an overwrite runs
};

void PurgeRun::PurgeFreeSpace() {
  const std::string& folder = request_.targetFolder;
  const PurgeTypeChoice& choice = settings_.purgeType;
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(folder, drive)) drive.root = folder;
  report_.Append(
      FreeSpaceHeading(DateAndTime(), FreeSpaceDriveName(drive.root, drive.fileSystem), folder,
                       PurgeTypeNumPasses(choice.GetPurgeType(), choice.GetNumberOfPasses())));
  host_.ReportChanged();

  FreeSpaceReporter reporter(*this, choice.GetNumOverwrites());
  freeSpaceEnvironment_.host = &reporter;
  FreeSpaceOutcome = FreeSpacePurge::Run(folder, choice.GetPurgeType(), choice.GetNumberOfPasses(),
                                         freeSpaceEnvironment_);
  freeSpaceEnvironment_.host = nullptr;
  reporter.EndUnfinished();

  if (!ReportClosed && !PendingText.empty()) {
    report_.Append(PendingText);
    PendingText.clear();
  }
  report_.TrimTrailingControls();
  report_.Append("\r\n\r\n");
  report_.Append(FreeSpaceSummary(FreeSpaceOutcome, Platform::MayFillReservedBlocks(),
                                  freeSpaceWarnings(folder)));
  report_.Append("\r\n" + DateAndTime() + "\r\n");
  const RunStatus status = status_.load();
  if (status != RunStatus::Paused && status != RunStatus::Stopped) status_ = RunStatus::Done;
}
