#include "targets/matching.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dates/day_numbers.h"
#include "platform/program.h"
#include "targets/file_selection.h"

namespace {

#ifdef _WIN32
constexpr bool kPosix = false;
#else
constexpr bool kPosix = true;
#endif

// Whether a row matches: 'y' everywhere, 'n' nowhere, 'p' on POSIX only, 'w' on Windows only.
bool Expected(char answer) {
  return answer == 'y' || (answer == 'p' && kPosix) || (answer == 'w' && !kPosix);
}

}  // namespace

TEST(Matching, ANameAgainstAFileSpecification) {
  struct Row { std::string name, filespec; char match; bool isName = false, cased = false; };
  const std::string longName(5000, 'x');
  const std::vector<Row> rows = {
      // An empty pattern, "*.*" and "*." match every file; a star alone names only names without a
      // dot.
      {"readme", "", 'y'}, {"a.b.c", "*.*", 'y'}, {"readme", "*.", 'y'}, {"a.b", "*.", 'y'},
      {"readme", "*", 'y'}, {"readme.txt", "*", 'n'}, {"abc.txt", "abc*", 'n'},
      // An extension ignores case but needs to be whole. "?" takes exactly one character, not one byte.
      {"report.TxT", "*.TXT", 'y'}, {"a.txt.bak", "*.txt", 'n'}, {"txt", "*.txt", 'n'},
      {".txt", "?.txt", 'n'}, {"ab.txt", "?.txt", 'n'}, {"a.txt", "??.txt", 'n'}, {"日本.txt", "??.txt", 'y'},
      {"日本.txt", "?.txt", 'n'}, {"bad\xff\xfe.txt", "bad??.txt", 'y'},
      // A star stops at the first next literal, wildcards left out; an empty base or extension takes only
      // stars.
      {"abcbc.txt", "a*c.txt", 'n'}, {"abbc.txt", "a*c.txt", 'y'}, {"xb", "*?b", 'n'}, {"xyz", "*?", 'y'},
      {"", "*", 'y'}, {"", "**", 'y'}, {"", "*?", 'n'}, {"", "?*", 'n'},
      // Only the last dot separates the extension; a dot file has an empty base.
      {"a.b.txt", "a.*.txt", 'y'}, {"a.txt", "a.*.txt", 'n'}, {".profile", "*.profile", 'y'},
      {".profile", ".profile", 'y'}, {"x.profile", ".profile", 'n'},
      // Without wildcards a pattern names exactly one file, on Windows in any case.
      {"abc", "abc", 'y'}, {"КОТ.TXT", "кот.txt", 'w'}, {"abcd", "abc", 'n'}, {"abc.txt", "abc", 'n'},
      {"other", " ", 'n'}, {"report.txt", "report.", 'n'}, {"old.log", ".log", 'n'},
      // Capitals of every script match their small letters, unless case is told to count.
      {"КОТЫ.TXT", "к?т*.txt", 'y'}, {"Кит.txt", "кот*.txt", 'n'}, {"𐐀𐐁.txt", "𐐨?.*", 'y'},
      {"ÉTÉ.TXT", "été.*", 'n', false, true}, {longName + ".dat", "*y.dat", 'n'},
      // "*", "?", ":" and "\" are characters of a POSIX name; a Windows name never holds them.
      {"*", "*", 'p'}, {"a?b.txt", "a*c.txt", 'n'},
      // A pattern taken as a name matches only that name.
      {"?.txt", "?.txt", 'p', true}, {"a.txt", "?.txt", 'n', true}, {"a.b", "*.*", 'n', true},
      {"REPORT.TXT", "Report.txt", 'w', true}, {"a", "", 'n', true}};
  for (const Row& r : rows)
    EXPECT_EQ(FileMatchesFilespec(r.name, r.filespec, r.cased, r.isName), Expected(r.match))
        << r.name.substr(0, 20) << " against " << r.filespec;
  for (const char* name : {"a*b.txt", "?.txt", "c:x.txt", "back\\slash.txt", "*?:.txt"})
    for (const char* filespec : {"*.*", "*.TXT", "?*.t?t", "", name})
      EXPECT_EQ(FileMatchesFilespec(name, filespec, false), kPosix) << name << " / " << filespec;
}

TEST(Matching, LowerCaseKeepsTheSmallLettersTheAccentedCapitalsAlwaysHad) {
  EXPECT_EQ(LowerCaseForMatching("ŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"),
            "šœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ");
  EXPECT_EQ(LowerCaseForMatching("Straße ŽĀΣΏ КОТ × 𐐀 😀"), "straße žāσώ кот × 𐐨 😀");
  EXPECT_EQ(LowerCaseForMatching("A\xff\xc3"), "a\xff\xc3");
}

// The name after the last separator must match; a path without a separator has no name.
TEST(SatisfiesFilespecAndDateRestriction, NeedsTheNameAfterTheLastSeparatorToMatch) {
  const std::string path = std::string("dir") + Platform::kPathSeparator + "Report.TXT";
  const std::int32_t none = DatePr2::NoDateRestriction;
  EXPECT_TRUE(SatisfiesFilespecAndDateRestriction(path, "*.txt", false, none));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction(path, "*.doc", false, none));
  EXPECT_FALSE(SatisfiesFilespecAndDateRestriction("Report.TXT", "*.txt", false, none));
}
