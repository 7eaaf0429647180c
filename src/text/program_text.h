#pragma once

// The numbered UI texts of the program, read at start-up from the program-text file
// "kexwell.dat". The file's format is described at the top of the file itself (data/kexwell.dat).

#include <string>

namespace Language2 {

// The loader's error codes. A code below -1500 names a duplicate at line -(code + 1500); codes
// -1500 to -1001 a text longer than kMaxTextLength at line -(code + 1000); codes -1000 to -501 a
// missing text at line -(code + 500). Those ranges hold lines 1 to 500 only, so the same faults
// on a later line have codes of their own.
inline constexpr int kNoProgramText = 0;
inline constexpr int kCannotOpen = -1;
inline constexpr int kTooMuchText = -3;
inline constexpr int kFileIsEmpty = -6;
// A read error, and also a file that is not UTF-8 text (a bad byte sequence or a NUL byte).
inline constexpr int kErrorReading = -7;
inline constexpr int kTextTooLongBeyondLine500 = -9;
inline constexpr int kMissingTextBeyondLine500 = -10;

// The most characters (Unicode code points, a line break counting as two) that one text holds.
inline constexpr int kMaxTextLength = 1023;
// The most texts that one language holds, and the most languages that a file holds.
inline constexpr int kMaxTextsPerLanguage = 10000;
inline constexpr int kMaxLanguages = 64;

// Loads the program-text file: the number of texts read over all languages (> 0), or one of the
// loader's error codes (0 or negative). Each call replaces what an earlier call loaded; after a
// failure nothing is loaded. The current language stays as set.
int LoadProgramText(const std::string& path);

// Text n of the current language. When the current language lacks it (or the current language is
// not in the file), text n of the first language; "" when that has none either, for n < 1, and
// while nothing is loaded.
std::string GetText(short n);

// The message for a loader error code, as the program shows it before it ends. The -1 message
// ends with the full path of the file.
std::string ProgramTextErrorMessage(int code, const std::string& path);

// The program-text file of this program: "kexwell.dat" beside the running executable, else
// the one in the installed data folder (../share/kexwell/ beside the executable's folder). When
// neither exists, the path beside the executable, so that a failure names where it was sought.
std::string ProgramTextPath();

// Chooses the language that GetText answers in: the index of its section in the file, 0 for the
// first.
void SetLanguage(int index);

}  // namespace Language2
