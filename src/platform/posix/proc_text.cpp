#include "platform/posix/proc_text.h"

namespace Platform::ProcText {
namespace {

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeOctalEscapes(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && IsOctalDigit(text[i + 1]) &&
        IsOctalDigit(text[i + 2]) && IsOctalDigit(text[i + 3])) {
      const int value = (text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0');
      if (value <= 0xFF) {
        decoded.push_back(static_cast<char>(value));
        i += 3;
        continue;
      }
    }
    decoded.push_back(text[i]);
  }
  return decoded;
}

std::string DecodeHexEscapes(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      const int high = HexValue(text[i + 2]);
      const int low = HexValue(text[i + 3]);
      if (high >= 0 && low >= 0) {
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 3;
        continue;
      }
    }
    decoded.push_back(text[i]);
  }
  return decoded;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::vector<std::string> ParseSwaps(std::string_view text) {
  std::vector<std::string> files;
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const auto fields = SplitFields(text.substr(lineStart, lineEnd - lineStart));
    lineStart = lineEnd + 1;
    // The kernel escapes spaces, tabs and newlines in the name, so the name is one field.
    if (fields.size() < 2 || fields[1] != "file") continue;
    std::string path = DecodeOctalEscapes(fields[0]);
    if (!path.empty() && path.front() == '/') files.push_back(std::move(path));
  }
  return files;
}

}  // namespace Platform::ProcText
