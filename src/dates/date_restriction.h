#pragma once

// The date restriction: only files dated before a chosen day are purged. The main window shows
// it in its label and the date dialog edits it; every walk over files asks it whether a file
// passes.

#include <cstdint>
#include <functional>
#include <string>

#include "dates/day_numbers.h"

class UserDialogs;

// A day number as the user's short date ("03/01/2005" in English).
using ShortDateFormatter = std::function<std::string(std::int32_t dayNumber)>;

// The short date in the user's regional form, as every other date of the program is shown.
std::string UserShortDate(std::int32_t dayNumber);

class DateRestriction {
 public:
  // The day before which files must be dated to be purged; NoDateRestriction when any date will
  // do. A file dated on this day itself is not purged.
  std::int32_t lngOnlyBeforeThisJDN = DatePr2::NoDateRestriction;

  // True exactly when a restriction is in force.
  bool blnDateRestriction() const { return lngOnlyBeforeThisJDN != DatePr2::NoDateRestriction; }

  // Removes the restriction.
  void Clear() { lngOnlyBeforeThisJDN = DatePr2::NoDateRestriction; }

  // The caption of the main window's date-restriction label: "No date restriction", or
  // "Purge only files with dates before " + the short date + " (" + the date in words + ")".
  std::string DateRestrictionCaption(const ShortDateFormatter& shortDate = UserShortDate) const;

  // The date half of matching a file: without a restriction every file passes and its date is
  // not read; a file whose date cannot be read never passes; otherwise the file passes when its
  // day number lies before the limit.
  bool Passes(const std::string& path) const;
  // The same for a modification time already read (seconds since 1970-01-01 00:00:00 UTC).
  bool PassesTime(std::int64_t modificationSeconds) const;

  // For a file named on its own: tells the user, in a box with the given title, when the file's
  // date cannot be read or lies on or after the limit, and then answers true (excluded).
  bool ShowDateRestrictionExclusion(const std::string& path, const std::string& title,
                                    UserDialogs& dialogs) const;
};
