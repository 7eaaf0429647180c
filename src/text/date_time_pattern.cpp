#include <string_view>

#include "text/locale_format.h"

namespace StrProc {

namespace {

// A pattern cut into literal text and conversions, each conversion with its padding flag
// ('-' none, '_' blanks, '0' zeros, or 0 for the conversion's own).
struct Conversion {
  char flag = 0;
  char letter = 0;
};

constexpr std::string_view kLetters = "demyYHkIlMSpPDFRTrnt%";

// Calls literal(char) and conversion(Conversion) in order; false when the pattern ends inside
// a conversion.
template <typename Literal, typename Convert>
bool WalkPattern(std::string_view pattern, Literal literal, Convert convert) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      literal(pattern[i]);
      continue;
    }
    Conversion conversion;
    std::size_t at = i + 1;
    if (at < pattern.size() && (pattern[at] == '-' || pattern[at] == '_' || pattern[at] == '0'))
      conversion.flag = pattern[at++];
    if (at < pattern.size() && (pattern[at] == 'E' || pattern[at] == 'O')) ++at;
    if (at >= pattern.size()) return false;
    conversion.letter = pattern[at];
    convert(conversion);
    i = at;
  }
  return true;
}

void AppendNumber(std::string& out, long long value, int width, char ownPad, char flag) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  const char pad = flag == '-' ? 0 : flag == '_' ? ' ' : flag == '0' ? '0' : ownPad;
  if (pad != 0 && static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), pad);
  if (value < 0) out += '-';
  out += digits;
}

void AppendPattern(std::string& out, std::string_view pattern, const std::tm& moment,
                   const LocaleFormat& format);

void AppendConversion(std::string& out, Conversion conversion, const std::tm& moment,
                      const LocaleFormat& format) {
  const int hour12 = moment.tm_hour % 12 == 0 ? 12 : moment.tm_hour % 12;
  const long long year = static_cast<long long>(moment.tm_year) + 1900;
  const char flag = conversion.flag;
  switch (conversion.letter) {
    case 'd': AppendNumber(out, moment.tm_mday, 2, '0', flag); break;
    case 'e': AppendNumber(out, moment.tm_mday, 2, ' ', flag); break;
    case 'm': AppendNumber(out, moment.tm_mon + 1, 2, '0', flag); break;
    case 'y': AppendNumber(out, (year % 100 + 100) % 100, 2, '0', flag); break;
    case 'Y': AppendNumber(out, year, 1, '0', flag); break;
    case 'H': AppendNumber(out, moment.tm_hour, 2, '0', flag); break;
    case 'k': AppendNumber(out, moment.tm_hour, 2, ' ', flag); break;
    case 'I': AppendNumber(out, hour12, 2, '0', flag); break;
    case 'l': AppendNumber(out, hour12, 2, ' ', flag); break;
    case 'M': AppendNumber(out, moment.tm_min, 2, '0', flag); break;
    case 'S': AppendNumber(out, moment.tm_sec, 2, '0', flag); break;
    case 'p': out += moment.tm_hour < 12 ? format.amText : format.pmText; break;
    case 'P':
      for (char c : moment.tm_hour < 12 ? format.amText : format.pmText)
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      break;
    case 'D': AppendPattern(out, "%m/%d/%y", moment, format); break;
    case 'F': AppendPattern(out, "%Y-%m-%d", moment, format); break;
    case 'R': AppendPattern(out, "%H:%M", moment, format); break;
    case 'T': AppendPattern(out, "%H:%M:%S", moment, format); break;
    case 'r': AppendPattern(out, "%I:%M:%S %p", moment, format); break;
    case 'n': out += '\n'; break;
    case 't': out += '\t'; break;
    case '%': out += '%'; break;
    default: break;
  }
}

void AppendPattern(std::string& out, std::string_view pattern, const std::tm& moment,
                   const LocaleFormat& format) {
  WalkPattern(
      pattern, [&](char c) { out += c; },
      [&](Conversion conversion) { AppendConversion(out, conversion, moment, format); });
}

}  // namespace

bool IsSupportedDateTimePattern(const std::string& pattern) {
  bool supported = true;
  const bool complete = WalkPattern(
      pattern, [](char) {},
      [&](Conversion conversion) {
        if (kLetters.find(conversion.letter) == std::string_view::npos) supported = false;
      });
  return complete && supported;
}

std::string FormatDateTime(const std::string& pattern, const std::tm& moment,
                           const LocaleFormat& format) {
  std::string out;
  AppendPattern(out, pattern, moment, format);
  return out;
}

}  // namespace StrProc
