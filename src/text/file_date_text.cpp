#include <ctime>

#include "platform/files.h"
#include "platform/local_time.h"
#include "text/locale_format.h"
#include "text/str_proc.h"

namespace StrProc {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string FileDateText(const std::string& path, bool withTime) {
  if (path.empty()) return "";
  Platform::FileTimes times;
  if (Platform::GetFileTimes(path, times)) return "";
  return ModificationDateText(times.modification.seconds, withTime);
}

std::string ModificationDateText(std::int64_t modificationSeconds, bool withTime) {
  const auto seconds = static_cast<std::time_t>(modificationSeconds);
  std::tm moment{};
  if (!Platform::LocalTime(seconds, moment)) return "";  // beyond the calendar

  const LocaleFormat format = CurrentLocaleFormat();
  // The date stands alone even where the locale writes it with blanks ("2024. 03. 05.").
  const std::string date = Trim(FormatDateTime(format.shortDatePattern, moment, format));
  if (!withTime) return date;
  const bool midnight = moment.tm_hour == 0 && moment.tm_min == 0 && moment.tm_sec == 0;
  const std::string time =
      midnight ? "00:00:00" : Trim(FormatDateTime(format.longTimePattern, moment, format));
  return date + " " + time;
}

}  // namespace StrProc
