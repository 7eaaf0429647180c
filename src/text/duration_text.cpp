#include <algorithm>

#include "text/str_proc.h"

namespace StrProc {

namespace {

constexpr std::int32_t kMinutesPerDay = 1440;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A long-form text names at most two units: from a second "and" on, the smallest unit goes.
std::string KeepTwoUnits(const std::string& text) {
  if (CountOccurrences(text, "and", true) <= 1) return text;
  return Trim(text.substr(0, text.rfind("and")));
}

std::string Counted(std::int32_t count, const char* singular, const char* plural) {
  return std::to_string(count) + (count == 1 ? singular : plural);
}

std::string SecondsPart(std::int32_t seconds, bool longForm) {
  if (!longForm) return std::to_string(seconds) + "s";
  return Counted(seconds, " second", " seconds");
}

}  // namespace

std::string MinutesToText(std::int32_t minutes, bool longForm) {
  std::int32_t rest = minutes;
  std::int32_t days = 0;
  std::int32_t hours = 0;
  std::string text;
  if (rest >= kMinutesPerDay) {
    days = rest / kMinutesPerDay;
    rest %= kMinutesPerDay;
    text = longForm ? Counted(days, " day", " days") : std::to_string(days) + "d ";
  }
  if (rest >= 60) {
    if (longForm && days >= 1) text += " and ";
    hours = rest / 60;
    rest %= 60;
    text += longForm ? Counted(hours, " hour", " hours") : std::to_string(hours) + "h ";
  }
  if (rest > 0) {
    if (longForm && (hours > 0 || days >= 1)) text += " and ";
    text += longForm ? Counted(rest, " minute", " minutes") : std::to_string(rest) + "m ";
  }
  if (text.empty()) text = longForm ? "0 minutes" : "0m";
  if (!longForm) text = Trim(text);
  return KeepTwoUnits(text);
}

std::string SecondsToText(std::int32_t seconds, bool longForm, bool roundToMinutes) {
  // An elapsed time read across a clock change can come out below zero: it shows as no time.
  seconds = std::max(seconds, std::int32_t{0});
  const std::int32_t secs = seconds % 60;
  std::int32_t mins = seconds / 60;
  if (mins == 0) return SecondsPart(secs, longForm);
  if (roundToMinutes) {
    // To the nearest minute, a half minute going to the even one.
    if (secs > 30 || (secs == 30 && mins % 2 == 1)) ++mins;
    return KeepTwoUnits(MinutesToText(mins, longForm));
  }
  std::string text = MinutesToText(mins, longForm);
  if (secs > 0) text += (longForm ? " and " : " ") + SecondsPart(secs, longForm);
  return KeepTwoUnits(text);
}

std::string SecondsToText2(std::int32_t seconds, bool longForm, bool roundToMinutes) {
  return SecondsToText(seconds, longForm, roundToMinutes);
}

}  // namespace StrProc
