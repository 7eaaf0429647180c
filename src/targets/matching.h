#pragma once

// The program's own file-name matching. Every walk over files decides with it which files a file
// pattern names; the system's pattern matching is never used.

#include <string>
#include <string_view>

// Lower-cases for matching: "A" to "Z" and the accented Latin capitals (such as "É", "Š", "Œ")
// become their small letters; every other character stays as it is. Invalid UTF-8 passes through.
std::string LowerCaseForMatching(std::string_view text);

// True when the file specification holds "*" or "?".
bool HasWildcard(std::string_view filespec);

// Matches one part of a name (its base or its extension) against a pattern. A "*" takes the first
// occurrence of the next literal character and never tries a later one; a "?" takes one character.
bool MatchWildcardPart(std::string_view part, std::string_view pattern, bool caseSensitive);

// Whether a bare file name satisfies a file specification. An empty file specification matches
// every file; a file specification without wildcards matches only the name that is exactly equal
// to it (on Windows without regard to case, so "Report.TXT" names "report.txt"); a pattern is
// matched base against base and extension against extension, split at the last
// ".". A name holding "?", "*", ":" or "\" never matches.
bool FileMatchesFilespec(std::string_view name, std::string_view filespec, bool caseSensitive);
