#pragma once

// The program's own file-name matching. Every walk over files decides with it which files a file
// pattern names; the system's pattern matching is never used.

#include <string>
#include <string_view>

// Lower-cases for matching, character by character, with the system's lower-casing (the simple
// case mapping of Unicode: "Ž" becomes "ž", "КОТ" becomes "кот", "Σ" becomes "σ"). "A" to "Z"
// and the accented Latin capitals (such as "É", "Š", "Œ", "Ÿ") always become the small letters
// the program has always given them, whatever the system says. Invalid UTF-8 passes through.
std::string LowerCaseForMatching(std::string_view text);

// True when the file specification holds "*" or "?".
bool HasWildcard(std::string_view filespec);

// True when a file specification names one file: it is a file's exact name, taken as it is
// (filespecIsName; on POSIX a name may hold "*" and "?"), or it holds no wildcard.
bool NamesOneFile(std::string_view filespec, bool filespecIsName);

// Matches one part of a name (its base or its extension) against a pattern. A "*" takes the first
// occurrence of the next literal character and never tries a later one; a "?" takes one character.
bool MatchWildcardPart(std::string_view part, std::string_view pattern, bool caseSensitive);

// Whether a bare file name satisfies a file specification. An empty file specification matches
// every file; a file specification without wildcards, or one that is a file's exact name
// (filespecIsName), matches only the name that is exactly equal to it (on Windows without regard
// to case, so "Report.TXT" names "report.txt"); a pattern is matched base against base and
// extension against extension, split at the last ".". On POSIX "*", "?", ":" and "\" in a name
// are characters like any other; a Windows name never holds them (":" would name a stream of a
// file), and a name holding one never matches there.
bool FileMatchesFilespec(std::string_view name, std::string_view filespec, bool caseSensitive,
                         bool filespecIsName = false);
