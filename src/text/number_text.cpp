#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <vector>

#include "text/locale_format.h"

namespace StrProc {

namespace {

constexpr int kMostDecimals = 15;

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// The whole digits with the locale's separators between the groups.
std::string GroupDigits(const std::string& digits, const LocaleFormat& format) {
  if (format.thousandsSeparator.empty() || format.grouping.empty()) return digits;
  std::vector<std::string> groups;  // from the right
  std::size_t remaining = digits.size();
  for (std::size_t index = 0;; ++index) {
    const char size = format.grouping[std::min(index, format.grouping.size() - 1)];
    if (size <= 0 || size == CHAR_MAX) break;
    const auto width = static_cast<std::size_t>(size);
    if (remaining <= width) break;
    groups.push_back(digits.substr(remaining - width, width));
    remaining -= width;
  }
  std::string text = digits.substr(0, remaining);
  for (auto group = groups.rbegin(); group != groups.rend(); ++group)
    text += format.thousandsSeparator + *group;
  return text;
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits) {
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
    if (*digit != '9') {
      ++*digit;
      return;
    }
    *digit = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

std::string PlainNumberText(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (value == 0) return "0";  // never "-0"
  std::array<char, 512> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
}

std::string GroupedNumberText(double value, int decimals, const LocaleFormat& format) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, kMostDecimals);
  const double magnitude = std::fabs(value);

  // Enough fractional digits to write the binary value exactly, so that the digit after the
  // last one kept decides the rounding on its own.
  int exponent = 0;
  std::frexp(magnitude, &exponent);
  const int precision = std::max(decimals + 1, std::clamp(53 - exponent, 0, 1100));
  std::array<char, 1500> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, precision);
  const std::string exact(buffer.data(), result.ptr);
  const std::size_t point = exact.find('.');
  const auto kept = point + 1 + static_cast<std::size_t>(decimals);

  std::string digits = exact.substr(0, point) + exact.substr(point + 1, kept - point - 1);
  if (exact[kept] >= '5') IncrementDigits(digits);

  const std::size_t wholeLength = digits.size() - static_cast<std::size_t>(decimals);
  const bool negative =
      value < 0 && digits.find_first_not_of('0') != std::string::npos;  // no "-0.0"
  std::string text = negative ? "-" : "";
  text += GroupDigits(digits.substr(0, wholeLength), format);
  if (decimals > 0) text += format.decimalPoint + digits.substr(wholeLength);
  return text;
}

std::string GroupedNumberText(double value, int decimals) {
  return GroupedNumberText(value, decimals, CurrentLocaleFormat());
}

}  // namespace StrProc
