#include "text/program_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/paths.h"
#include "platform/program.h"
#include "support/file_setup.h"
#include "support/temp_folder.h"

using namespace Language2;
using TestSupport::Repeat;

namespace {

class ProgramTextLoader : public testing::Test {
 protected:
  void TearDown() override { SetLanguage(0); }

  int Load(const std::string& content) {
    return LoadProgramText(TestSupport::WriteFile(folder_ / "texts.dat", content));
  }

  TestSupport::TempFolder folder_;
};

// Lines of comments, so that the next line of a file is line `count + 1`.
std::string Comments(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += "# comment\n";
  return lines;
}

}  // namespace

TEST(ProgramTextErrorMessage, EachLoaderCodeGivesTheMessageOfItsTable) {
#ifdef _WIN32
  const std::string absolute = "C:\\Program Files\\kx\\kexwell.dat";
#else
  const std::string absolute = "/opt/kx/kexwell.dat";
#endif
  EXPECT_EQ(ProgramTextErrorMessage(0, ""), "No program text was read.");
  EXPECT_EQ(ProgramTextErrorMessage(-501, absolute), "Missing string at line 1\r\n" + absolute)
      << "every message names the file";
  EXPECT_EQ(ProgramTextErrorMessage(-1, absolute),
            "Cannot open file containing program text.\r\n" + absolute);
  EXPECT_EQ(ProgramTextErrorMessage(-1, "kx.dat"),
            "Cannot open file containing program text.\r\n" + Platform::AbsolutePath("kx.dat"));
  EXPECT_EQ(ProgramTextErrorMessage(-2, ""), "Particular memory allocation error.");
  EXPECT_EQ(ProgramTextErrorMessage(-3, ""), "Too much program text.");
  EXPECT_EQ(ProgramTextErrorMessage(-4, ""), "Text not recovered.");
  EXPECT_EQ(ProgramTextErrorMessage(-6, ""), "File is empty.");
  EXPECT_EQ(ProgramTextErrorMessage(-7, ""), "Error reading file.");
  EXPECT_EQ(ProgramTextErrorMessage(-8, ""), "General memory allocation error.");
  EXPECT_EQ(ProgramTextErrorMessage(-1507, ""), "Duplicate in program text at line 7");
  EXPECT_EQ(ProgramTextErrorMessage(-1500, ""), "String too long at line 500");
  EXPECT_EQ(ProgramTextErrorMessage(-1003, ""), "String too long at line 3");
  EXPECT_EQ(ProgramTextErrorMessage(-1000, ""), "Missing string at line 500");
  EXPECT_EQ(ProgramTextErrorMessage(-502, ""), "Missing string at line 2");
  EXPECT_EQ(ProgramTextErrorMessage(-500, ""), "Error -500");
  EXPECT_EQ(ProgramTextErrorMessage(-5, ""), "Error -5");
  EXPECT_EQ(ProgramTextErrorMessage(-10, ""), "Error -10");
}

TEST_F(ProgramTextLoader, AFileThatCannotBeOpenedOrReadOrHoldsNoTextGivesItsCode) {
  EXPECT_EQ(LoadProgramText(folder_ / "missing.dat"), kCannotOpen);
  EXPECT_EQ(LoadProgramText(folder_.Path()), kCannotOpen);
  EXPECT_EQ(Load(""), kFileIsEmpty);
  EXPECT_EQ(Load("# only a comment\n\n   \n[English]\n"), kNoProgramText);
#ifndef _WIN32
  // POSIX only: Windows has no file that opens but cannot be read like the start of the
  // program's own memory map (program_text_win32_test.cpp locks a file instead).
  EXPECT_EQ(LoadProgramText("/proc/self/mem"), kErrorReading);
#endif
}

TEST_F(ProgramTextLoader, AFolderNamedInAnyScriptIsNoObstacle) {
  // Greek, Cyrillic and Japanese: no single Windows code page holds all three.
  const std::string inner = folder_ / "Κείμενο Текст テキスト";
  TestSupport::MakeFolder(inner);
  const std::string path = TestSupport::WriteFile(JoinPath(inner, "kexwell.dat"), "1\tfound\n");
  EXPECT_EQ(LoadProgramText(path), 1);
  EXPECT_EQ(GetText(1), "found");
}

TEST_F(ProgramTextLoader, ReportsTheLineOfADuplicateATooLongTextAndAMissingText) {
  ASSERT_EQ(Load("1\tloaded\n"), 1);
  EXPECT_EQ(Load("[English]\n1\ta\n2\tb\n\n# c\n3\tc\n1\tagain\n"), -1507);
  EXPECT_EQ(GetText(1), "") << "a failed load leaves no texts";
  EXPECT_EQ(Load("[English]\n1\ta\n[German]\n1\ta\n[English]\n"), -1505);
  EXPECT_EQ(Load("1\tok\n# below\n5\t" + Repeat('x', 1024) + "\n"), -1003);
  // A text holds 1023 characters, whatever their bytes.
  std::string accented;
  for (int i = 0; i < 1023; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(Load("1\t" + accented + "\n"), 1);
  EXPECT_EQ(Load("1\t" + accented + "e\n"), -1001);
  // A line break counts as the two characters that it becomes.
  EXPECT_EQ(Load("1\t" + Repeat('x', 1021) + "\\n\n"), 1);
  EXPECT_EQ(Load("1\t" + Repeat('x', 1022) + "\\n\n"), -1001);
  EXPECT_EQ(Load("1\tok\n2\n"), -502);
  EXPECT_EQ(Load("1\tok\nhello\n"), -502);
  EXPECT_EQ(Load("1\tok\n[ ]\n"), -502);
  EXPECT_EQ(Load("1\tok\n0\tzero\n"), -502);
  EXPECT_EQ(Load("1\tok\n32768\ttoo high\n"), -502);
}

TEST_F(ProgramTextLoader, FaultsAfterLine500HaveCodesThatDoNotNameAnotherFault) {
  EXPECT_EQ(Load(Comments(499) + "2\t" + Repeat('x', 1024) + "\n"), -1500);
  EXPECT_EQ(Load(Comments(500) + "2\t" + Repeat('x', 1024) + "\n"), kTextTooLongBeyondLine500);
  EXPECT_EQ(Load(Comments(499) + "2\n"), -1000);
  EXPECT_EQ(Load(Comments(500) + "2\n"), kMissingTextBeyondLine500);
  EXPECT_EQ(Load("1\ta\n" + Comments(2000) + "1\tb\n"), -3502);
  EXPECT_EQ(ProgramTextErrorMessage(-3502, ""), "Duplicate in program text at line 2002");
}

TEST_F(ProgramTextLoader, AFileThatIsNotUtf8TextIsAReadError) {
  EXPECT_EQ(Load("1\tLatin-1 caf\xE9\n"), kErrorReading);
  EXPECT_EQ(Load("1\tcut \xE2\x82\n"), kErrorReading);
  EXPECT_EQ(Load(std::string("1\tnul\0byte\n", 11)), kErrorReading);
}

TEST_F(ProgramTextLoader, HugeLinesAreCutShortInsteadOfRead) {
  EXPECT_EQ(Load("1\tok\n1\t" + Repeat('x', 20'000'000) + "\n"), -1002);
  // The cut may fall inside a character.
  EXPECT_EQ(Load("# " + Repeat('x', 8189) + "\xC3\xA9" + Repeat('x', 20'000'000) + "\n1\tok\n"), 1);
  EXPECT_EQ(Load(Repeat('7', 20'000'000)), -501);
  EXPECT_EQ(Load(Repeat('\n', 1'000'001)), kTooMuchText);
  EXPECT_EQ(Load("1\tok\n# " + Repeat('x', 64 * 1024 * 1024) + "\n"), kTooMuchText);
}

TEST_F(ProgramTextLoader, MoreTextsOrLanguagesThanAllowedAreTooMuch) {
  std::string texts;
  for (int n = 1; n <= kMaxTextsPerLanguage; ++n) texts += std::to_string(n) + "\tt\n";
  EXPECT_EQ(Load(texts), kMaxTextsPerLanguage);
  EXPECT_EQ(Load(texts + "10001\tone more\n"), kTooMuchText);
  std::string languages;
  for (int i = 0; i <= kMaxLanguages; ++i) languages += "[L" + std::to_string(i) + "]\n1\tt\n";
  EXPECT_EQ(Load(languages), kTooMuchText);
}

TEST_F(ProgramTextLoader, TextsKeepTheirBlanksAndTurnEscapesIntoCharacters) {
  const std::string file =
      "\xEF\xBB\xBF# texts\r\n"
      "1\tFirst line\\nsecond line\r\n"
      "2    spaces before, two after  \n"
      "  3\t\\sleading blank\n"
      "4\ttab\\there, backslash \\\\, \\q stays, ends in \\\n"
      "5\t\xC3\xA9t\xC3\xA9\n";
  EXPECT_EQ(Load(file), 5);
  EXPECT_EQ(GetText(1), "First line\r\nsecond line");
  EXPECT_EQ(GetText(2), "spaces before, two after  ");
  EXPECT_EQ(GetText(3), " leading blank");
  EXPECT_EQ(GetText(4), "tab\there, backslash \\, \\q stays, ends in \\");
  EXPECT_EQ(GetText(5), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(GetText(6), "");
  EXPECT_EQ(GetText(-1), "");
}

TEST_F(ProgramTextLoader, AChosenLanguageAnswersAndLacksAreFilledFromTheFirst) {
  const std::string file =
      "[English]\n1\tYes\n2\tNo\n3\tOnly English\n"
      "[Deutsch]\n1\tJa\n2\tNein\n4\tNur Deutsch\n";
  EXPECT_EQ(Load(file), 6);
  EXPECT_EQ(GetText(1), "Yes");
  EXPECT_EQ(GetText(4), "");
  SetLanguage(1);
  EXPECT_EQ(GetText(1), "Ja");
  EXPECT_EQ(GetText(2), "Nein");
  EXPECT_EQ(GetText(3), "Only English");
  EXPECT_EQ(GetText(4), "Nur Deutsch");
  SetLanguage(2);
  EXPECT_EQ(GetText(1), "Yes");
  // Texts before the first language line make a first language without a name.
  EXPECT_EQ(Load("1\tplain\n[Deutsch]\n1\tschlicht\n"), 2);
  EXPECT_EQ(GetText(1), "plain");
  SetLanguage(1);
  EXPECT_EQ(GetText(1), "schlicht");
}

TEST(ShippedProgramText, LiesBesideTheProgramAndHoldsTheProgramsNames) {
  const std::string path = ProgramTextPath();
  EXPECT_EQ(path, Platform::ExecutableFolder() + "kexwell.dat");
  ASSERT_GT(LoadProgramText(path), 0) << ProgramTextErrorMessage(LoadProgramText(path), path);
  EXPECT_EQ(GetText(1), "Kexwell");
  EXPECT_EQ(GetText(4), "(not specified)");
  EXPECT_EQ(GetText(311), "Destroys the contents of files beyond recovery.");
}
