#include "dates/date_input.h"

#include <cstdint>

#include "dates/date_restriction.h"
#include "dates/day_numbers.h"
#include "text/user_dialogs.h"

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The value of a run of digits, held at a ceiling far above any year, so that a long run of
// digits reads as a very late year rather than wrapping round.
std::int32_t YearValue(const std::string& digits) {
  constexpr std::int32_t kCeiling = 1000000;
  std::int32_t value = 0;
  for (const char digit : digits) {
    value = value * 10 + (digit - '0');
    if (value >= kCeiling) return kCeiling;
  }
  return value;
}

}  // namespace

void DateInput::Load() {
  monthNames_.assign(1, std::string());
  for (int month = 1; month <= 12; ++month) monthNames_.push_back(DatePr2::MonthName(month));
  dayNumbers_.assign(1, std::string());
  for (int day = 1; day <= 31; ++day) dayNumbers_.push_back(std::to_string(day));
  selectedMonth_ = 0;
  selectedDay_ = 0;
  yearText_.clear();
  MinYear = -30000;
  MaxYear = 30000;
  DateJDN = -1;
  loaded_ = true;
}

FocusAfterChoice DateInput::ChooseMonth(int index) {
  selectedMonth_ = (index >= 1 && index <= 12) ? index : 0;
  return AfterChoice();
}

FocusAfterChoice DateInput::ChooseDay(int index) {
  selectedDay_ = (index >= 1 && index <= 31) ? index : 0;
  return AfterChoice();
}

FocusAfterChoice DateInput::AfterChoice() {
  if (!loaded_) return FocusAfterChoice::Unchanged;
  yearText_ = Trimmed(yearText_);
  const bool allGiven = selectedMonth_ != 0 && selectedDay_ != 0 && !yearText_.empty();
  return allGiven ? FocusAfterChoice::Accept : FocusAfterChoice::Cancel;
}

void DateInput::Activate() {
  DatePr2::DateParts parts;
  parts.dayNumber = DateJDN;
  DatePr2::JdnToEuroDate(parts);
  if (parts.valid != 0 && parts.year >= MinYear && parts.year <= MaxYear) {
    selectedMonth_ = parts.month;
    selectedDay_ = parts.day;
    yearText_ = std::to_string(parts.year);
  } else {
    selectedMonth_ = 0;
    selectedDay_ = 0;
    yearText_.clear();
  }
}

AcceptOutcome DateInput::Accept(UserDialogs& dialogs) {
  std::string digits;
  for (const char character : yearText_) {
    if (character >= '0' && character <= '9') digits += character;
  }
  yearText_ = digits;
  if (digits.empty()) return AcceptOutcome::NothingEntered;

  const std::int32_t year = YearValue(digits);
  if (year < MinYear) {
    dialogs.Tell(Caption, "Year too early", MessageIcon::None);
    return AcceptOutcome::Refused;
  }
  if (year > MaxYear) {
    dialogs.Tell(Caption, "Year too late", MessageIcon::None);
    return AcceptOutcome::Refused;
  }
  DatePr2::DateParts parts;
  parts.year = year;
  parts.month = selectedMonth_;
  parts.day = selectedDay_;
  DateJDN = DatePr2::EuroDateToJdn(parts);
  if (parts.valid == 0) {
    dialogs.Tell(Caption, "Date is invalid", MessageIcon::Information);
    return AcceptOutcome::Refused;
  }
  DateInputResult = DateInputAccepted;
  return AcceptOutcome::Accepted;
}

namespace OnlyBefore {

bool IsAcceptedLimit(std::int32_t dayNumber) {
  if (dayNumber == DatePr2::NoDateRestriction) return true;
  DatePr2::DateParts parts;
  parts.dayNumber = dayNumber;
  DatePr2::JdnToEuroDate(parts);
  return parts.valid != 0 && parts.year >= kEarliestYear && parts.year <= kLatestYear;
}

void Prepare(DateInput& dialog, const DateRestriction& restriction,
             const std::string& buttonCaption, std::uint32_t promptBackColor) {
  if (!dialog.Loaded()) dialog.Load();
  dialog.MinYear = kEarliestYear;
  dialog.MaxYear = kLatestYear;
  dialog.PromptBackColor = promptBackColor;
  dialog.PromptCaption =
      "Specify date such that ONLY files with dates BEFORE this date will be purged.";
  dialog.Caption = buttonCaption;
  dialog.DateJDN = restriction.lngOnlyBeforeThisJDN;
  dialog.ClearCaption = "Remove date restriction";
  // A dialog that goes away without an answer leaves the restriction as it was.
  dialog.DateInputResult = DateInputCancelled;
}

bool Apply(const DateInput& dialog, DateRestriction& restriction) {
  switch (dialog.DateInputResult) {
    case DateInputAccepted:
      restriction.lngOnlyBeforeThisJDN = dialog.DateJDN;
      return true;
    case DateInputCleared:
      restriction.Clear();
      return true;
    default:
      return false;
  }
}

bool Run(DateInput& dialog, DateRestriction& restriction, const std::string& buttonCaption,
         std::uint32_t promptBackColor, const std::function<void(DateInput&)>& showModally) {
  Prepare(dialog, restriction, buttonCaption, promptBackColor);
  showModally(dialog);
  return Apply(dialog, restriction);
}

}  // namespace OnlyBefore
