#pragma once

// A run's report written out as the run writes it, to a stream that cannot take anything back
// (a file, a pipe, a terminal's scrolled lines). A part of the report goes out only once the run
// can no longer change it, so that what went out, followed by the rest at the end, is the final
// report byte for byte.

#include <cstddef>
#include <string>
#include <string_view>

class ReportStream {
 public:
  // Called whenever the report changed; the bytes that have become final since the last call.
  // closed: the report is closed (full), so it is never cut back again.
  std::string_view Advance(const std::string& report, bool closed);
  // The run has ended: the rest of its final report.
  std::string_view Finish(const std::string& report);
  // The line the run is writing now, which it may still change (such as a pass gauge): empty
  // when there is none.
  std::string_view Unfinished(const std::string& report) const;
  // How much of the report has gone out.
  std::size_t Written() const { return written_; }

 private:
  std::size_t written_ = 0;
};
