#pragma once

// The text of a run's report, counted in characters (a UTF-8 sequence counts once), as the
// report window holds it.

#include <cstddef>
#include <string>
#include <string_view>

class ReportText {
 public:
  // The most characters the report holds before it is closed.
  static constexpr std::size_t kLimit = 61440;

  const std::string& Text() const { return text_; }
  std::size_t Characters() const { return characters_; }
  bool Empty() const { return text_.empty(); }

  void Clear();
  void Append(std::string_view text);
  // Removes the last count characters (all of them when there are fewer).
  void CutLastCharacters(std::size_t count);
  // Keeps the text up to the given byte position.
  void CutAt(std::size_t position);
  // Removes trailing characters with codes up to 32 (blanks, line breaks, controls).
  void TrimTrailingControls();

 private:
  std::string text_;
  std::size_t characters_ = 0;
};
