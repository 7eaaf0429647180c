#include "targets/matching.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "platform/case_mapping.h"
#include "text/utf8.h"

namespace {

// Accented capitals and the small letters they become, whatever the system's mapping says.
constexpr std::array<std::pair<char32_t, char32_t>, 33> kAccentedCapitals = {{
    {0x0160, 0x0161}, {0x0152, 0x0153}, {0x0178, 0x00FF}, {0x00C0, 0x00E0}, {0x00C1, 0x00E1},
    {0x00C2, 0x00E2}, {0x00C3, 0x00E3}, {0x00C4, 0x00E4}, {0x00C5, 0x00E5}, {0x00C6, 0x00E6},
    {0x00C7, 0x00E7}, {0x00C8, 0x00E8}, {0x00C9, 0x00E9}, {0x00CA, 0x00EA}, {0x00CB, 0x00EB},
    {0x00CC, 0x00EC}, {0x00CD, 0x00ED}, {0x00CE, 0x00EE}, {0x00CF, 0x00EF}, {0x00D0, 0x00F0},
    {0x00D1, 0x00F1}, {0x00D2, 0x00F2}, {0x00D3, 0x00F3}, {0x00D4, 0x00F4}, {0x00D5, 0x00F5},
    {0x00D6, 0x00F6}, {0x00D8, 0x00F8}, {0x00D9, 0x00F9}, {0x00DA, 0x00FA}, {0x00DB, 0x00FB},
    {0x00DC, 0x00FC}, {0x00DD, 0x00FD}, {0x00DE, 0x00FE},
}};

constexpr char32_t kHighestAccentedCapital = [] {
  char32_t highest = 0;
  for (const auto& entry : kAccentedCapitals) highest = std::max(highest, entry.first);
  return highest;
}();

// A byte that is not part of valid UTF-8 becomes a code point of its own that no valid character
// has, so that it still compares equal only to itself.
constexpr char32_t kStrayByteBase = 0xDC00;
constexpr char32_t kLastStrayByte = kStrayByteBase + 0xFF;

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void Encode(char32_t c, std::string& out) {
  if (c >= kStrayByteBase && c <= kLastStrayByte)
    out.push_back(static_cast<char>(c - kStrayByteBase));
  else
    Utf8::Append(out, c);
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

char32_t LowerCharacter(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  if (c <= kHighestAccentedCapital) {
    for (const auto& [capital, small] : kAccentedCapitals)
      if (c == capital) return small;
  }
  if (c >= kStrayByteBase && c <= kLastStrayByte) return c;
  return Platform::LowerCaseChar(c);
}

// The characters of a text, lower-cased when asked; held on the stack when the text is short, as
// names are.
class Characters {
 public:
  Characters(std::string_view text, bool lower) {
    if (text.size() > kHeld) {
      long_.resize(text.size());
      data_ = long_.data();
    }
    for (std::size_t at = 0; at < text.size();) {
      const Utf8::Decoded next = Utf8::DecodeFront(text.substr(at));
      const char32_t c =
          next.form == Utf8::Form::kCharacter ? next.value : kStrayByteBase + next.value;
      data_[size_++] = lower ? LowerCharacter(c) : c;
      at += next.length;
    }
  }
  Characters(const Characters&) = delete;
  Characters& operator=(const Characters&) = delete;

  std::u32string_view View() const { return {data_, size_}; }

 private:
  static constexpr std::size_t kHeld = 256;
  std::array<char32_t, kHeld> held_;
  std::u32string long_;
  char32_t* data_ = held_.data();
  std::size_t size_ = 0;
};

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
  std::string out;
  out.reserve(text.size());
  if (IsAscii(text)) {
    for (const char c : text) out.push_back(LowerAscii(c));
    return out;
  }
  const Characters lower(text, true);
  for (const char32_t c : lower.View()) Encode(c, out);
  return out;
}

bool HasWildcard(std::string_view filespec) {
  return filespec.find_first_of("*?") != std::string_view::npos;
}

bool NamesOneFile(std::string_view filespec, bool filespecIsName) {
  return filespecIsName || !HasWildcard(filespec);
}

bool MatchWildcardPart(std::string_view part, std::string_view pattern, bool caseSensitive) {
  // Stars alone, or nothing, take any part whatever its characters.
  if (pattern.find_first_not_of('*') == std::string_view::npos) return true;
  if (IsAscii(part) && IsAscii(pattern)) {
    if (caseSensitive) return MatchPart(part, pattern);
    // Names are short: lower-case them on the stack where they fit.
    char partBuffer[256];
    char patternBuffer[256];
    if (part.size() <= sizeof partBuffer && pattern.size() <= sizeof patternBuffer) {
      for (std::size_t i = 0; i < part.size(); ++i) partBuffer[i] = LowerAscii(part[i]);
      for (std::size_t i = 0; i < pattern.size(); ++i) patternBuffer[i] = LowerAscii(pattern[i]);
      return MatchPart(std::string_view(partBuffer, part.size()),
                       std::string_view(patternBuffer, pattern.size()));
    }
    const std::string lowerPart = LowerCaseForMatching(part);
    const std::string lowerPattern = LowerCaseForMatching(pattern);
    return MatchPart(std::string_view(lowerPart), std::string_view(lowerPattern));
  }
  const Characters widePart(part, !caseSensitive);
  const Characters widePattern(pattern, !caseSensitive);
  return MatchPart(widePart.View(), widePattern.View());
}

bool FileMatchesFilespec(std::string_view name, std::string_view filespec, bool caseSensitive,
                         bool filespecIsName) {
#ifdef _WIN32
  // No Windows name holds these; a name with ":" would be a stream of a file.
  if (name.find_first_of("?*:\\") != std::string_view::npos) return false;
#endif
  if (filespec.empty() && !filespecIsName) return true;
  // A file specification without wildcards names exactly one file, as it was written, blanks and
  // all: a file may be called " " or ".profile", and its file specification must not turn into a
  // pattern that matches other files. So does a file's name taken as it is, "*" and "?" included.
  // Names are case-sensitive on POSIX; Windows names ignore case.
  if (NamesOneFile(filespec, filespecIsName)) {
#ifdef _WIN32
    return LowerCaseForMatching(name) == LowerCaseForMatching(filespec);
#else
    return name == filespec;
#endif
  }

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
