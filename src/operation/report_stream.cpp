#include "operation/report_stream.h"

#include "operation/report_text.h"
#include "text/utf8.h"

namespace {

// A full report is cut back by this many characters, and then to the line break before them.
constexpr std::size_t kCutWhenFull = 1024;

bool IsControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// The end of the lines that the run can no longer change: the report goes on after the last line
// break that is followed by printing characters. A run cuts back its current line (a gauge, the
// " purging" of a file, the line break a stop puts after it) and the line breaks and blanks that
// end the report before its summary; a report that is not closed yet may still lose its last
// characters when it fills up.
std::size_t FinalEnd(std::string_view report, bool closed) {
  std::size_t printing = report.size();
  while (printing > 0 && IsControl(report[printing - 1])) --printing;
  // A text has at least as many bytes as characters.
  if (!closed && printing > ReportText::kLimit - kCutWhenFull &&
      Utf8::CharacterCount(report.substr(0, printing)) > ReportText::kLimit - kCutWhenFull) {
    // Only what a cut of a full report would keep: its first kLimit + 1 - 1024 characters.
    std::size_t characters = 0;
    std::size_t at = 0;
    for (; at < printing; ++at) {
      if (Utf8::IsContinuationByte(report[at])) continue;
      if (characters == ReportText::kLimit + 1 - kCutWhenFull) break;
      ++characters;
    }
    printing = at;
  }
  const std::size_t lastBreak = report.substr(0, printing).rfind('\n');
  return lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
}

}  // namespace

std::string_view ReportStream::Advance(const std::string& report, bool closed) {
  const std::size_t end = FinalEnd(report, closed);
  if (end <= written_) return {};
  const std::string_view part = std::string_view(report).substr(written_, end - written_);
  written_ = end;
  return part;
}

std::string_view ReportStream::Finish(const std::string& report) {
  if (report.size() <= written_) return {};
  const std::string_view rest = std::string_view(report).substr(written_);
  written_ = report.size();
  return rest;
}

std::string_view ReportStream::Unfinished(const std::string& report) const {
  if (report.size() <= written_) return {};
  std::string_view line = std::string_view(report).substr(written_);
  while (!line.empty() && IsControl(line.back())) line.remove_suffix(1);
  const std::size_t lastBreak = line.rfind('\n');
  return lastBreak == std::string_view::npos ? line : line.substr(lastBreak + 1);
}
