#include <array>

#include "text/locale_format.h"
#include "text/str_proc.h"

namespace StrProc {

namespace {

constexpr std::array<const char*, 21> kUpToTwenty = {
    "No",      "One",     "Two",       "Three",    "Four",     "Five",    "Six",
    "Seven",   "Eight",   "Nine",      "Ten",      "Eleven",   "Twelve",  "Thirteen",
    "Fourteen", "Fifteen", "Sixteen",  "Seventeen", "Eighteen", "Nineteen", "Twenty"};

constexpr std::array<const char*, 10> kTens = {
    "", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};

std::string LowerCase(std::string word) {
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return word;
}

}  // namespace

std::string NumberToWords(std::int32_t n) {
  if (n < 0 || n > 99) return GroupedNumberText(static_cast<double>(n), 0);
  if (n <= 20) return kUpToTwenty[static_cast<std::size_t>(n)];
  const std::string tens = kTens[static_cast<std::size_t>(n / 10)];
  if (n % 10 == 0) return tens;
  return tens + " " + LowerCase(kUpToTwenty[static_cast<std::size_t>(n % 10)]);
}

}  // namespace StrProc
