#pragma once

#include <cstdint>
#include <string>

class RandomSource;

namespace StrProc {

// A uniformly drawn integer from low to high inclusive: the whole part of
// (high - low + 1) x a random number in [0, 1), plus low.
int RandomInteger(int low, int high, RandomSource& random);

// A byte count as the reports show it: "0 bytes", "512 bytes", then KB (below 1,048,576 bytes)
// and MB with the given number of decimals, grouped as the user's locale groups numbers
// ("5,120.0 MB"). Decimals are taken from 0 to 15. A size that is not a number or infinite
// gives "unknown size"; a negative size is shown as it is ("-5 bytes").
std::string SizeToText(double size, std::int16_t decimals);

// As SizeToText, with GB as a further step; each step is taken on the quotient of the one
// before, so 1,073,741,824 bytes are "1.0 GB" with 1 decimal.
std::string SizeToTextGB(double size, std::int16_t decimals);

// A duration of whole minutes: "1 day and 5 minutes" in the long form, "1d 1h 1m" in the short
// form. The long form names at most two units. A negative count is "0 minutes" / "0m".
std::string MinutesToText(std::int32_t minutes, bool longForm);

// A duration of whole seconds: "1 minute and 1 second" in the long form, "1h 1m 1s" in the short
// form; with roundToMinutes a duration of a minute or more is rounded to whole minutes, halves
// to the even minute. The long form names at most two units. A negative duration is shown as
// no time at all ("0 seconds" / "0s").
std::string SecondsToText(std::int32_t seconds, bool longForm, bool roundToMinutes);

// The same as SecondsToText, for callers that reach it under this name.
std::string SecondsToText2(std::int32_t seconds, bool longForm, bool roundToMinutes);

// How often pattern occurs in text, occurrences never overlapping; 0 when either is empty.
// Without caseSensitive, letters are compared upper-cased: a to z and the accented Latin-1
// letters together with š, œ and ÿ. Texts are UTF-8; characters are compared whole.
std::int32_t CountOccurrences(const std::string& text, const std::string& pattern,
                              bool caseSensitive);

// A count that heads a sentence: "No", "One" ... "Twenty", "Twenty one" ... "Ninety nine",
// then digits grouped as the user's locale groups them ("1,234"). A negative count is shown
// in digits ("-5").
std::string NumberToWords(std::int32_t n);

// The file's last-modification date in the user's short date form, with withTime followed by a
// blank and the time in the user's long time form ("00:00:00" at midnight). Empty when the path
// is empty, names nothing, or its time cannot be read or shown.
std::string FileDateText(const std::string& path, bool withTime);
// The same for a modification time already read (seconds since 1970-01-01 00:00:00 UTC).
std::string ModificationDateText(std::int64_t seconds, bool withTime);

}  // namespace StrProc
