#pragma once

// The date dialog frmCEDateInput as an object: the month list, the day list and the year box,
// the limits of the year, the day number going in and out, and how the dialog was closed. The
// window shows and edits this object and hides when an operation says so.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DateRestriction;
class UserDialogs;

// How the dialog was closed (DateInputResult).
enum DateInputResults : short {
  DateInputCancelled = 0,
  DateInputAccepted = 1,
  DateInputCleared = 2,
};

// What Accept did.
enum class AcceptOutcome {
  NothingEntered,  // the year box holds no digit: nothing happens
  Refused,         // a message was shown and the dialog stays open
  Accepted,        // DateJDN holds the date, DateInputResult is 1 and the dialog hides
};

// Where the focus goes after a month or a day is chosen.
enum class FocusAfterChoice {
  Unchanged,  // the dialog is still loading
  Accept,     // month, day and year are all given
  Cancel,
};

class DateInput {
 public:
  // Set by the caller before showing, read after. Load sets -30000, 30000 and -1.
  short MinYear = -30000;
  short MaxYear = 30000;
  std::int32_t DateJDN = -1;
  short DateInputResult = DateInputCancelled;
  // The prompt label's background, as 0xRRGGBB.
  std::uint32_t PromptBackColor = 0xFFFFFF;

  // The dialog's caption (also the title of its messages), the prompt and the Clear button.
  std::string Caption;
  std::string PromptCaption;
  std::string ClearCaption = "Clear";

  // Fills the month list ("" then "January" ... "December", index = month) and the day list
  // ("" then "1" ... "31", index = day), selects both empty entries, empties the year box, sets
  // the defaults above and then the loaded flag.
  void Load();
  bool Loaded() const { return loaded_; }

  const std::vector<std::string>& MonthNames() const { return monthNames_; }
  const std::vector<std::string>& DayNumbers() const { return dayNumbers_; }

  // The selected entries (0 is the empty entry) and the year box's text. Indexes outside the
  // lists select the empty entry.
  int SelectedMonth() const { return selectedMonth_; }
  int SelectedDay() const { return selectedDay_; }
  const std::string& YearText() const { return yearText_; }
  void SetYearText(const std::string& text) { yearText_ = text; }

  // The user chooses a month or a day: once loaded, the year box is trimmed and the focus goes
  // to Accept when month, day and year are all given, else to Cancel.
  FocusAfterChoice ChooseMonth(int index);
  FocusAfterChoice ChooseDay(int index);

  // The dialog is shown: the date of DateJDN appears when its year lies within MinYear to
  // MaxYear, otherwise the lists select their empty entries and the year box is empty.
  void Activate();

  // The Accept button (and Enter in the year box). The year box is reduced to its digits; an
  // empty one does nothing. A year below MinYear or above MaxYear, or a date that does not
  // exist, is refused with a message titled with the dialog's caption.
  AcceptOutcome Accept(UserDialogs& dialogs);

  // The Clear button: DateInputResult 2. Cancel (and closing the window): DateInputResult 0.
  void Clear() { DateInputResult = DateInputCleared; }
  void Cancel() { DateInputResult = DateInputCancelled; }

 private:
  FocusAfterChoice AfterChoice();

  bool loaded_ = false;
  std::vector<std::string> monthNames_;
  std::vector<std::string> dayNumbers_;
  int selectedMonth_ = 0;
  int selectedDay_ = 0;
  std::string yearText_;
};

// The "Only files before ..." command.
namespace OnlyBefore {

// The dialog's width, and where it goes: its top this far below the top of the command's button
// (within the main window), its left this far right of the main window's command frame.
inline constexpr int kDialogWidthTwips = 7800;
inline constexpr int kBelowButtonTwips = 450;
inline constexpr int kRightOfMenuTwips = 250;

// The years the dialog offers for the limit.
inline constexpr short kEarliestYear = 1980;
inline constexpr short kLatestYear = 2999;

// True for a limit the dialog can set: a day of kEarliestYear to kLatestYear, or no restriction.
// A day outside them is one the dialog refuses ("Year too early", "Year too late").
bool IsAcceptedLimit(std::int32_t dayNumber);

// Makes the dialog ready: loaded, years kEarliestYear to kLatestYear, the prompt with the given
// background, the caption of the command's button, the current limit as its date, and the Clear
// button offering to remove the restriction.
void Prepare(DateInput& dialog, const DateRestriction& restriction,
             const std::string& buttonCaption, std::uint32_t promptBackColor);

// Takes the dialog's answer: accepted sets the limit to its date, cleared removes the limit,
// cancelled changes nothing. True when the limit was set or removed, so that an estimated
// purge time no longer holds.
bool Apply(const DateInput& dialog, DateRestriction& restriction);

// The whole command: Prepare, showModally (which returns when the dialog hides), Apply.
bool Run(DateInput& dialog, DateRestriction& restriction, const std::string& buttonCaption,
         std::uint32_t promptBackColor, const std::function<void(DateInput&)>& showModally);

}  // namespace OnlyBefore
