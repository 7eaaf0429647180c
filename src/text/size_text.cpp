#include <cmath>

#include "text/locale_format.h"
#include "text/str_proc.h"

namespace StrProc {

namespace {

constexpr double kKilobyte = 1024.0;
constexpr double kMegabyte = 1048576.0;

// The steps shared by both size texts; false when the size needs a unit above bytes.
bool SmallSizeText(double size, std::string& text) {
  if (!std::isfinite(size)) {
    text = "unknown size";
    return true;
  }
  if (size == 0) {
    text = "0 bytes";
    return true;
  }
  if (size < kKilobyte) {
    text = PlainNumberText(size) + " bytes";
    return true;
  }
  return false;
}

}  // namespace

std::string SizeToText(double size, std::int16_t decimals) {
  std::string text;
  if (SmallSizeText(size, text)) return text;
  if (size < kMegabyte) return GroupedNumberText(size / kKilobyte, decimals) + " KB";
  return GroupedNumberText(size / kMegabyte, decimals) + " MB";
}

std::string SizeToTextGB(double size, std::int16_t decimals) {
  std::string text;
  if (SmallSizeText(size, text)) return text;
  double quotient = size / kKilobyte;
  if (quotient < kKilobyte) return GroupedNumberText(quotient, decimals) + " KB";
  quotient /= kKilobyte;
  if (quotient < kKilobyte) return GroupedNumberText(quotient, decimals) + " MB";
  return GroupedNumberText(quotient / kKilobyte, decimals) + " GB";
}

}  // namespace StrProc
