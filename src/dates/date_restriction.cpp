#include "dates/date_restriction.h"

#include <ctime>

#include "text/locale_format.h"
#include "text/str_proc.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string UserShortDate(std::int32_t dayNumber) {
  DatePr2::DateParts parts;
  parts.dayNumber = dayNumber;
  DatePr2::JdnToEuroDate(parts);
  std::tm moment{};
  moment.tm_year = parts.year - 1900;
  moment.tm_mon = parts.month - 1;
  moment.tm_mday = parts.day;
  const StrProc::LocaleFormat format = StrProc::CurrentLocaleFormat();
  // The date stands alone, as in every file date the program shows.
  return Trimmed(StrProc::FormatDateTime(format.shortDatePattern, moment, format));
}

std::string DateRestriction::DateRestrictionCaption(const ShortDateFormatter& shortDate) const {
  if (!blnDateRestriction()) return "No date restriction";
  return "Purge only files with dates before " + shortDate(lngOnlyBeforeThisJDN) + " (" +
         DatePr2::JDNToDateText(lngOnlyBeforeThisJDN) + ")";
}

bool DateRestriction::Passes(const std::string& path) const {
  if (!blnDateRestriction()) return true;
  short errorNumber = 0;
  const std::int32_t fileDay = DatePr2::FileDayNumber(path, errorNumber);
  if (errorNumber != 0) return false;
  return fileDay < lngOnlyBeforeThisJDN;
}

bool DateRestriction::PassesTime(std::int64_t modificationSeconds) const {
  if (!blnDateRestriction()) return true;
  short errorNumber = 0;
  const std::int32_t fileDay = DatePr2::LocalDayNumber(modificationSeconds, errorNumber);
  return errorNumber == 0 && fileDay < lngOnlyBeforeThisJDN;
}

bool DateRestriction::ShowDateRestrictionExclusion(const std::string& path,
                                                   const std::string& title,
                                                   UserDialogs& dialogs) const {
  short errorNumber = 0;
  const std::int32_t fileDay = DatePr2::FileDayNumber(path, errorNumber);
  if (errorNumber != 0) {
    dialogs.Tell(title, "Error, perhaps invalid file name." + std::string(kLineEnd) + path,
                 MessageIcon::Exclamation);
    return true;
  }
  if (fileDay < lngOnlyBeforeThisJDN) return false;
  dialogs.Tell(title,
               "The file " + path + kLineEnd + "has a date of " +
                   StrProc::FileDateText(path, false) + " (" + DatePr2::JDNToDateText(fileDay) +
                   ")" + kLineEnd + "and so is excluded by the current date restriction.",
               MessageIcon::Information);
  return true;
}
