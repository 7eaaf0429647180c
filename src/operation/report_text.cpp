#include "operation/report_text.h"

namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

std::size_t CountCharacters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text)
    if (!IsContinuationByte(c)) ++count;
  return count;
}

}  // namespace

void ReportText::Clear() {
  text_.clear();
  characters_ = 0;
}

void ReportText::Append(std::string_view text) {
  text_.append(text);
  characters_ += CountCharacters(text);
}

void ReportText::CutLastCharacters(std::size_t count) {
  std::size_t end = text_.size();
  for (std::size_t removed = 0; removed < count && end > 0; ++removed) {
    do {
      --end;
    } while (end > 0 && IsContinuationByte(text_[end]));
  }
  CutAt(end);
}

void ReportText::CutAt(std::size_t position) {
  if (position >= text_.size()) return;
  characters_ -= CountCharacters(std::string_view(text_).substr(position));
  text_.resize(position);
}

void ReportText::TrimTrailingControls() {
  std::size_t end = text_.size();
  while (end > 0 && static_cast<unsigned char>(text_[end - 1]) <= 32) --end;
  CutAt(end);
}
