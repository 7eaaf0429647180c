#include "targets/matching.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "text/utf8.h"

namespace {

// Accented capitals and the small letters they become.
constexpr std::array<std::pair<char32_t, char32_t>, 33> kAccentedCapitals = {{
    {0x0160, 0x0161}, {0x0152, 0x0153}, {0x0178, 0x00FF}, {0x00C0, 0x00E0}, {0x00C1, 0x00E1},
    {0x00C2, 0x00E2}, {0x00C3, 0x00E3}, {0x00C4, 0x00E4}, {0x00C5, 0x00E5}, {0x00C6, 0x00E6},
    {0x00C7, 0x00E7}, {0x00C8, 0x00E8}, {0x00C9, 0x00E9}, {0x00CA, 0x00EA}, {0x00CB, 0x00EB},
    {0x00CC, 0x00EC}, {0x00CD, 0x00ED}, {0x00CE, 0x00EE}, {0x00CF, 0x00EF}, {0x00D0, 0x00F0},
    {0x00D1, 0x00F1}, {0x00D2, 0x00F2}, {0x00D3, 0x00F3}, {0x00D4, 0x00F4}, {0x00D5, 0x00F5},
    {0x00D6, 0x00F6}, {0x00D8, 0x00F8}, {0x00D9, 0x00F9}, {0x00DA, 0x00FA}, {0x00DB, 0x00FB},
    {0x00DC, 0x00FC}, {0x00DD, 0x00FD}, {0x00DE, 0x00FE},
}};

// A byte that is not part of valid UTF-8 becomes a code point of its own that no valid character
// has, so that it still compares equal only to itself.
constexpr char32_t kStrayByteBase = 0xDC00;

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void Encode(char32_t c, std::string& out) {
  if (c >= kStrayByteBase && c <= kStrayByteBase + 0xFF)
    out.push_back(static_cast<char>(c - kStrayByteBase));
  else
    Utf8::Append(out, c);
}

template <typename Char>
Char LowerChar(Char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<Char>(c + ('a' - 'A'));
  if constexpr (sizeof(Char) > 1) {
    for (const auto& [capital, small] : kAccentedCapitals)
      if (c == capital) return small;
  }
  return c;
}

template <typename String>
void LowerInPlace(String& text) {
  for (auto& c : text) c = LowerChar(c);
}

// The matching itself, on characters that are already lower-cased where that is wanted.
template <typename Char>
bool MatchPart(std::basic_string_view<Char> part, std::basic_string_view<Char> pattern) {
  if (part == pattern) return true;
  if (pattern.empty()) return true;
  if (part.empty())
    return std::all_of(pattern.begin(), pattern.end(), [](Char c) { return c == '*'; });

  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    if (j >= pattern.size()) return i >= part.size();
    const Char p = pattern[j];
    if (p == '?') {
      if (i >= part.size()) return false;
      ++i;
      ++j;
    } else if (p == '*') {
      // The next literal character after this point of the pattern, wildcards left out.
      std::size_t k = j;
      while (k < pattern.size() && (pattern[k] == '*' || pattern[k] == '?')) ++k;
      if (k >= pattern.size()) return true;
      const Char literal = pattern[k];
      while (i < part.size() && part[i] != literal) ++i;
      if (i >= part.size()) return false;
      ++j;
    } else {
      if (i >= part.size() || part[i] != p) return false;
      ++i;
      ++j;
    }
  }
}

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string LowerCaseForMatching(std::string_view text) {
  if (IsAscii(text)) {
    std::string out(text);
    LowerInPlace(out);
    return out;
  }
  std::u32string wide = Utf8::Decode(text, kStrayByteBase);
  LowerInPlace(wide);
  std::string out;
  out.reserve(text.size());
  for (const char32_t c : wide) Encode(c, out);
  return out;
}

bool HasWildcard(std::string_view filespec) {
  return filespec.find_first_of("*?") != std::string_view::npos;
}

bool MatchWildcardPart(std::string_view part, std::string_view pattern, bool caseSensitive) {
  if (IsAscii(part) && IsAscii(pattern)) {
    if (caseSensitive) return MatchPart(part, pattern);
    // Names are short: lower-case them on the stack where they fit.
    char partBuffer[256];
    char patternBuffer[256];
    if (part.size() <= sizeof partBuffer && pattern.size() <= sizeof patternBuffer) {
      for (std::size_t i = 0; i < part.size(); ++i) partBuffer[i] = LowerChar(part[i]);
      for (std::size_t i = 0; i < pattern.size(); ++i) patternBuffer[i] = LowerChar(pattern[i]);
      return MatchPart(std::string_view(partBuffer, part.size()),
                       std::string_view(patternBuffer, pattern.size()));
    }
    std::string lowerPart(part);
    std::string lowerPattern(pattern);
    LowerInPlace(lowerPart);
    LowerInPlace(lowerPattern);
    return MatchPart(std::string_view(lowerPart), std::string_view(lowerPattern));
  }
  std::u32string widePart = Utf8::Decode(part, kStrayByteBase);
  std::u32string widePattern = Utf8::Decode(pattern, kStrayByteBase);
  if (!caseSensitive) {
    LowerInPlace(widePart);
    LowerInPlace(widePattern);
  }
  return MatchPart(std::u32string_view(widePart), std::u32string_view(widePattern));
}

bool FileMatchesFilespec(std::string_view name, std::string_view filespec, bool caseSensitive) {
  if (name.find_first_of("?*:\\") != std::string_view::npos) return false;
  if (filespec.empty()) return true;
    // A file specification without wildcards names exactly one file, as it was written, blanks and
    // all: a file may be called " " or ".profile", and its file specification must not turn into a
    // pattern that matches other files. Names are case-sensitive on POSIX; Windows names ignore
    // case.
#ifdef _WIN32
  if (!HasWildcard(filespec)) return LowerCaseForMatching(name) == LowerCaseForMatching(filespec);
#else
  if (!HasWildcard(filespec)) return name == filespec;
#endif

  const std::string_view trimmed = TrimSpaces(filespec);
  const std::size_t nameDot = name.rfind('.');
  const std::size_t specDot = trimmed.rfind('.');
  std::string_view nameBase = name;
  std::string_view nameExt;
  std::string_view specBase = trimmed;
  std::string_view specExt;

  if (nameDot != std::string_view::npos && specDot != std::string_view::npos) {
    nameBase = name.substr(0, nameDot);
    nameExt = name.substr(nameDot + 1);
    specBase = trimmed.substr(0, specDot);
    specExt = trimmed.substr(specDot + 1);
  } else if (specDot != std::string_view::npos) {
    // A pattern with an extension meets a name without one: only an extension of stars fits.
    const std::string_view ext = trimmed.substr(specDot + 1);
    if (ext.find_first_not_of('*') != std::string_view::npos) return false;
    specBase = trimmed.substr(0, specDot);
  } else if (nameDot != std::string_view::npos) {
    return false;
  }
  return MatchWildcardPart(nameBase, specBase, caseSensitive) &&
         MatchWildcardPart(nameExt, specExt, caseSensitive);
}
