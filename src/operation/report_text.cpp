#include "operation/report_text.h"

#include "text/utf8.h"

void ReportText::Clear() {
  text_.clear();
  characters_ = 0;
}

void ReportText::Append(std::string_view text) {
  text_.append(text);
  characters_ += Utf8::CharacterCount(text);
}

void ReportText::CutLastCharacters(std::size_t count) {
  std::size_t end = text_.size();
  for (std::size_t removed = 0; removed < count && end > 0; ++removed) {
    do {
      --end;
    } while (end > 0 && Utf8::IsContinuationByte(text_[end]));
  }
  CutAt(end);
}

void ReportText::CutAt(std::size_t position) {
  if (position >= text_.size()) return;
  characters_ -= Utf8::CharacterCount(std::string_view(text_).substr(position));
  text_.resize(position);
}

void ReportText::TrimTrailingControls() {
  std::size_t end = text_.size();
  while (end > 0 && static_cast<unsigned char>(text_[end - 1]) <= 32) --end;
  CutAt(end);
}
