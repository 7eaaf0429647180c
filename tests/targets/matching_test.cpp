#include "targets/matching.h"

#include <gtest/gtest.h>

namespace {

bool Matches(const char* name, const char* filespec) {
  return FileMatchesFilespec(name, filespec, false);
}

#ifdef _WIN32
constexpr bool kPosix = false;
#else
constexpr bool kPosix = true;
#endif

}  // namespace

TEST(Matching, AnEmptySpecificationMatchesEveryFile) {
  EXPECT_TRUE(Matches("readme", ""));
  EXPECT_TRUE(Matches("a.b", ""));
}

TEST(Matching, StarDotStarAndStarDotMatchNamesWithAndWithoutAnExtension) {
  for (const char* filespec : {"*.*", "*."}) {
    EXPECT_TRUE(Matches("readme", filespec)) << filespec;
    EXPECT_TRUE(Matches("a.b", filespec)) << filespec;
  }
  EXPECT_TRUE(Matches("a.b.c", "*.*"));
}

TEST(Matching, AStarAloneMatchesOnlyNamesWithoutADot) {
  EXPECT_TRUE(Matches("readme", "*"));
  EXPECT_FALSE(Matches("readme.txt", "*"));
  EXPECT_TRUE(Matches("abcdef", "abc*"));
  EXPECT_FALSE(Matches("abc.txt", "abc*"));
}

TEST(Matching, AnExtensionPatternIgnoresCaseButNeedsTheWholeExtension) {
  EXPECT_TRUE(Matches("A.TXT", "*.txt"));
  EXPECT_TRUE(Matches("report.TxT", "*.TXT"));
  EXPECT_FALSE(Matches("a.txt.bak", "*.txt"));
  EXPECT_FALSE(Matches("txt", "*.txt"));
}

TEST(Matching, AQuestionMarkTakesExactlyOneCharacter) {
  EXPECT_TRUE(Matches("a.txt", "?.txt"));
  EXPECT_FALSE(Matches(".txt", "?.txt"));
  EXPECT_FALSE(Matches("ab.txt", "?.txt"));
}

TEST(Matching, StarStopsAtTheFirstNextLiteral) {
  EXPECT_FALSE(Matches("abcbc.txt", "a*c.txt"));
  EXPECT_TRUE(Matches("abbc.txt", "a*c.txt"));
  EXPECT_FALSE(MatchWildcardPart("xb", "*?b", false));
  EXPECT_TRUE(MatchWildcardPart("xyz", "*?", false));
}

TEST(Matching, OnlyTheLastDotSeparatesTheExtension) {
  EXPECT_TRUE(Matches("a.b.txt", "a.*.txt"));
  EXPECT_TRUE(Matches("a.b.txt", "a.b*.txt"));
  EXPECT_FALSE(Matches("a.txt", "a.*.txt"));
}

TEST(Matching, ADotFileHasAnEmptyBase) {
  EXPECT_TRUE(Matches(".profile", "*.profile"));
  EXPECT_TRUE(Matches(".profile", ".profile"));
  EXPECT_FALSE(Matches("x.profile", ".profile"));
  EXPECT_TRUE(Matches("x.profile", "*.profile"));
}

TEST(Matching, AnEmptyPartIsMatchedOnlyByStars) {
  EXPECT_TRUE(MatchWildcardPart("", "*", false));
  EXPECT_TRUE(MatchWildcardPart("", "**", false));
  EXPECT_FALSE(MatchWildcardPart("", "*?", false));
  EXPECT_FALSE(MatchWildcardPart("", "?*", false));
  EXPECT_TRUE(MatchWildcardPart("abc", "", false));
}

TEST(Matching, ASpecificationWithoutWildcardsNamesExactlyOneFile) {
  EXPECT_TRUE(Matches("abc", "abc"));
#ifdef _WIN32
  // Windows names ignore case: a name in other capitals is the same name.
  EXPECT_TRUE(Matches("ABC", "abc"));
  EXPECT_TRUE(Matches("report 2024.pdf", "Report 2024.PDF"));
  EXPECT_TRUE(Matches("ÉTÉ.TXT", "été.txt"));
  EXPECT_TRUE(Matches("КОТ.TXT", "кот.txt"));
#else
  EXPECT_FALSE(Matches("ABC", "abc"));
  EXPECT_FALSE(Matches("Кот.txt", "кот.txt"));
  EXPECT_FALSE(Matches("été.txt", "ÉTÉ.txt"));
#endif
  EXPECT_FALSE(Matches("abcd", "abc"));
  EXPECT_FALSE(Matches("abc.txt", "abc"));
  EXPECT_TRUE(Matches("Report 2024.PDF", "Report 2024.PDF"));
  // A file called " " names only itself; it does not become "every file".
  EXPECT_TRUE(Matches(" ", " "));
  EXPECT_FALSE(Matches("other", " "));
  EXPECT_FALSE(Matches("other", "  "));
  // Nor does a name with nothing before or after its last dot stand for every base or extension.
  EXPECT_FALSE(Matches("report.txt", "report."));
  EXPECT_FALSE(Matches("old.log", ".log"));
}

TEST(Matching, WildcardsColonsAndBackslashesInANameAreCharactersOnPosixAndNeverMatchOnWindows) {
  for (const char* name : {"a*b.txt", "?.txt", "c:x.txt", "back\\slash.txt", "*?:.txt"}) {
    for (const char* filespec : {"*.*", "*.TXT", "?*.t?t", "", name})
      EXPECT_EQ(Matches(name, filespec), kPosix) << name << " against " << filespec;
  }
  EXPECT_EQ(Matches("*", "*"), kPosix);
  EXPECT_FALSE(Matches("a?b.txt", "a*c.txt"));
}

TEST(Matching, AFileSpecificationTakenAsANameMatchesOnlyThatName) {
  struct Case {
    const char* name;
    const char* filespec;
    bool matches;
  };
  for (const Case& c : std::initializer_list<Case>{{"?.txt", "?.txt", kPosix},
                                                   {"a.txt", "?.txt", false},
                                                   {"*.*", "*.*", kPosix},
                                                   {"a.b", "*.*", false},
                                                   {"back\\slash", "back\\slash", kPosix},
                                                   {"Report.txt", "Report.txt", true},
                                                   {"REPORT.TXT", "Report.txt", !kPosix},
                                                   {"a", "", false}}) {
    EXPECT_EQ(FileMatchesFilespec(c.name, c.filespec, false, true), c.matches)
        << c.name << " against " << c.filespec;
  }
}

TEST(Matching, CapitalsOfEveryScriptMatchTheirSmallLetters) {
  struct Case {
    const char* name;
    const char* filespec;
    bool matches;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"ÉTÉ.TXT", "été.*", true},
           {"ŒUVRE.doc", "œuvre*.doc", true},
           {"Ÿ.txt", "ÿ.*", true},
           {"ž.txt", "Ž*.txt", true},
           {"Кот.txt", "кот*.txt", true},
           {"КОТЫ.TXT", "к?т*.txt", true},
           {"Кит.txt", "кот*.txt", false},
           {"ΣΟΦΙΑ.doc", "σοφια.*", true},
           {"𐐀𐐁.txt", "𐐨?.*", true},
           {"😀 Smile.TXT", "😀 s*.txt", true},
           {"日本.txt", "日*.TXT", true},
       }) {
    EXPECT_EQ(Matches(c.name, c.filespec), c.matches) << c.name << " against " << c.filespec;
  }
  EXPECT_FALSE(FileMatchesFilespec("ÉTÉ.TXT", "été.*", true));
  EXPECT_FALSE(FileMatchesFilespec("Кот.txt", "кот*.txt", true));
  // The accented capitals keep the small letters they always had.
  EXPECT_EQ(LowerCaseForMatching("ŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"),
            "šœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ");
  EXPECT_EQ(LowerCaseForMatching("Straße ŽĀΣΏ КОТ × 𐐀 😀"), "straße žāσώ кот × 𐐨 😀");
}

TEST(Matching, AQuestionMarkTakesOneCharacterNotOneByte) {
  EXPECT_TRUE(Matches("é.txt", "?.txt"));
  EXPECT_TRUE(Matches("日本.txt", "??.txt"));
  EXPECT_FALSE(Matches("日本.txt", "?.txt"));
}

TEST(Matching, InvalidUtf8AndLongNamesGiveAnAnswer) {
  EXPECT_TRUE(Matches("bad\xff\xfe.txt", "bad??.txt"));
  EXPECT_EQ(LowerCaseForMatching("A\xff\xc3"), "a\xff\xc3");
  const std::string longName(5000, 'x');
  EXPECT_TRUE(FileMatchesFilespec(longName + ".dat", "x*.DAT", false));
  EXPECT_FALSE(FileMatchesFilespec(longName + ".dat", "*y.dat", false));
}
