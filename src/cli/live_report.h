#pragma once

// The report of a run on standard output while the run writes it. A line goes out as soon as the
// run can no longer change it, so a file or a pipe receives the final report byte for byte; on a
// terminal the line being written (a file being purged, its pass gauge) is drawn in place too.

#include <iosfwd>
#include <string>

#include "operation/report_stream.h"
#include "operation/run_host.h"

class PurgeRun;

class LiveReport final : public RunHost {
 public:
  LiveReport(std::ostream& out, bool terminal, int columns);

  // The run whose report goes out from now on; each run starts its report afresh.
  void Attach(const PurgeRun& run);
  // The run has ended: the rest of its report, ending with a line break.
  void Finish();

  // Carries the interrupts received so far into the run's flags.
  void Yield() override;
  void ReportChanged() override;
  FileConfirmation ConfirmFile(const std::string& label) override;

  // Wipes the line drawn in place, before other text goes to the terminal.
  void ClearUnfinished();

 private:
  void Write(std::string_view text);
  void DrawUnfinished();

  std::ostream& out_;
  bool terminal_;
  std::size_t columns_;
  const PurgeRun* run_ = nullptr;
  ReportStream stream_;
  bool endsLine_ = true;   // what went out ends with a line break (or nothing went out)
  std::size_t drawn_ = 0;  // characters of the unfinished line drawn in place
};

// Wipes the line that the report draws in place, if any (before a question or a message).
void ClearLiveReportLine();
