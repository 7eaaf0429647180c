#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "operation/program_settings.h"
#include "operation/purge_run.h"
#include "operation/report_stream.h"
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
  void Yield() override {
    ++yields;
    if (onYield) onYield();
  }
  void WaitWhilePaused() override {
    ++pausedWaits;
    if (onPausedWait) onPausedWait();
  }
  void ReportChanged() override {
    if (run == nullptr) return;
    reports.push_back(run->Report());
    streamed += stream.Advance(run->Report(), run->ReportClosed);
    progress.emplace_back(streamed.size(), stream.Unfinished(run->Report()));
  }
  void Finished() override { streamed += stream.Finish(run->Report()); }
  FileConfirmation ConfirmFile(const std::string& label) override {
    labels.push_back(label);
    if (onConfirm) onConfirm();
    if (confirmations.empty()) {
      ADD_FAILURE() << "unscripted confirmation of " << label;
      return FileConfirmation::Skip;
    }
    const FileConfirmation answer = confirmations.front();
    confirmations.pop_front();
    return answer;
  }

  const PurgeRun* run = nullptr;
  int yields = 0;
  int pausedWaits = 0;
  std::function<void()> onYield;
  std::function<void()> onPausedWait;
  std::function<void()> onConfirm;  // while the confirmation is open
  std::deque<FileConfirmation> confirmations;
  std::vector<std::string> labels;
  std::vector<std::string> reports;
  // The report as a file or a pipe receives it while the run writes it; after each change, how
  // much of it went out and the line being written.
  ReportStream stream;
  std::string streamed;
  std::vector<std::pair<std::size_t, std::string>> progress;
};

// A purge or listing of a temporary folder, in English at a fixed time (2026-12-06 10:30:00 UTC).
class RunTest : public ::testing::Test {
 protected:
  RunTest();

  // The target, and the runs of it as the starter asks for them.
  void Target(const std::string& filespec, bool subfolders = false);
  RunRequest Request(RunKind kind);
  // Runs the request and checks that the report written as it went is the whole report.
  void Process(const RunRequest& request);
  void Purge();
  // Without names, a listing shows a dot for each folder with matching files.
  void List(bool names = true);

  // What the report says after a purged file's size on the test's file system: " purged", with
  // the note that the purge could not be checked where the file system does not tell where a
  // file's data lies (as under Wine).
  static std::string Purged();
  // The summary line of n files purged but not checked, on such a file system; else nothing.
  static std::string NotVerifiedLine(int n);

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
