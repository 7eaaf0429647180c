#include "cli/live_report.h"

#include <ostream>

#include "cli/interrupts.h"
#include "cli/terminal.h"
#include "operation/purge_run.h"
#include "text/utf8.h"

namespace {

LiveReport* drawing = nullptr;

}  // namespace

LiveReport::LiveReport(std::ostream& out, bool terminal, int columns)
    : out_(out), terminal_(terminal), columns_(static_cast<std::size_t>(columns)) {}

void LiveReport::Attach(const PurgeRun& run) {
  run_ = &run;
  stream_ = ReportStream();
}

void LiveReport::Write(std::string_view text) {
  if (text.empty()) return;
  const std::string lines = WithSystemLineEnds(std::string(text));
  out_ << lines;
  endsLine_ = lines.back() == '\n';
}

void LiveReport::Yield() {
  RestateInterrupts();
}

void LiveReport::ReportChanged() {
  if (run_ == nullptr) return;
  const std::string_view final = stream_.Advance(run_->Report(), run_->ReportClosed);
  if (terminal_) {
    ClearUnfinished();
    Write(final);
    DrawUnfinished();
    out_.flush();
  } else if (!final.empty()) {
    Write(final);
    out_.flush();
  }
}

void LiveReport::Finish() {
  if (run_ == nullptr) return;
  ClearUnfinished();
  Write(stream_.Finish(run_->Report()));
  if (!endsLine_) out_ << '\n';
  endsLine_ = true;
  out_.flush();
  run_ = nullptr;
}

void LiveReport::DrawUnfinished() {
  const std::string line = WithSystemLineEnds(std::string(stream_.Unfinished(run_->Report())));
  const std::size_t characters = Utf8::CharacterCount(line);
  // A line as wide as the terminal would wrap, and could not be drawn over again.
  if (characters == 0 || characters >= columns_ || line.find('\n') != std::string::npos) return;
  out_ << line;
  drawn_ = characters;
  drawing = this;
}

void LiveReport::ClearUnfinished() {
  if (drawn_ == 0) return;
  out_ << '\r' << std::string(drawn_, ' ') << '\r' << std::flush;
  drawn_ = 0;
  drawing = nullptr;
}

FileConfirmation LiveReport::ConfirmFile(const std::string& label) {
  ClearUnfinished();
  return AskToPurgeFile(label);
}

void ClearLiveReportLine() {
  if (drawing != nullptr) drawing->ClearUnfinished();
}
