#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_stream.h"
#include "operation/run_start.h"
#include "support/scoped_locale_format.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/time_zone_guard.h"

namespace TestSupport {

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Records what a run shows and answers its per-file questions from a script.
class RecordingRunHost final : public RunHost {
 public:
  void Yield() override { ++yields; if (onYield) onYield(); }
  void WaitWhilePaused() override { ++pausedWaits; if (onPausedWait) onPausedWait(); }
  void ReportChanged() override {
    reports.push_back(run->Report());
    streamed += stream.Advance(run->Report(), run->ReportClosed);
    progress.emplace_back(streamed.size(), stream.Unfinished(run->Report()));
  }
  void Finished() override { streamed += stream.Finish(run->Report()); }
  FileConfirmation ConfirmFile(const std::string& label) override {
    labels.push_back(label);
    if (onConfirm) onConfirm();
    EXPECT_FALSE(confirmations.empty()) << "unscripted confirmation of " << label;
    const FileConfirmation answer = confirmations.empty() ? FileConfirmation::Skip : confirmations.front();
    if (!confirmations.empty()) confirmations.pop_front();
    return answer;
  }

  const PurgeRun* run = nullptr;
  int yields = 0, pausedWaits = 0;
  // onConfirm is called while the confirmation is open.
  std::function<void()> onYield, onPausedWait, onConfirm;
  std::deque<FileConfirmation> confirmations;
  std::vector<std::string> labels, reports;
  // The report as a file or a pipe receives it while the run writes it; after each change, how
  // much of it went out and the line being written.
  ReportStream stream;
  std::string streamed;
  std::vector<std::pair<std::size_t, std::string>> progress;
};

// A purge or listing of a temporary folder, in English at a fixed time (2026-12-06 10:30:00 UTC).
class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    host.run = &run;
    run.clock = [] { return std::time_t{1796553000}; };
    run.Environment().deleteRetry.sleep = [](int) {};
    // The reports do not depend on the disk that holds the temporary folder.
    run.volumeWarnings = [](const std::string&) { return std::vector<std::string>{}; };
    // Type 1 (0xAA, 0x55, 0x00) with one pass, unless a test chooses otherwise.
    settings.purgeType.SetPurgeType(1);
    settings.purgeType.SelectIndex(1, 0);
  }

  // The target, and the runs of it as the starter asks for them.
  void Target(const std::string& filespec, bool subfolders = false) {
    settings.target = {folder.Path(), filespec, subfolders};
  }
  RunRequest Request(RunKind kind) { return RunStarter(settings, dialogs).RequestForTarget(kind); }
  // Runs the request and checks that the report written as it went is the whole report.
  void Process(const RunRequest& request) {
    host.stream = ReportStream();
    host.streamed.clear();
    run.ProcessFiles(request);
    EXPECT_EQ(host.streamed, run.Report()) << "the report written as the run went differs";
  }
  void Purge() { Process(Request(RunKind::Purge)); }
  // Without names, a listing shows a dot for each folder with matching files.
  void List(bool names = true) {
    RunRequest listing = Request(RunKind::List);
    listing.displayFolderNames = listing.displayFileNames = names;
    Process(listing);
  }

  // What the report says after a purged file's size on the test's file system: " purged", with
  // the note that the purge could not be checked where the file system does not tell where a
  // file's data lies (as under Wine).
  static std::string Purged() {
    const char* note = " purged (not verified: the file system does not tell where a file's data lies)";
    return TellsPlacement() ? " purged" : note;
  }
  // Whether the file system of the temporary folder tells where a file's data lies.
  static bool TellsPlacement();

  // The heading's first line and the closing line.
  static constexpr const char* kDateLine = "12/06/2026, 10:30:00\r\n";

  TimeZoneGuard zone{"UTC"};
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  TempFolder folder;
  ProgramSettings settings;
  ScriptedDialogs dialogs;
  RecordingRunHost host;
  PurgeRun run{settings, dialogs, host};
};

}  // namespace TestSupport
