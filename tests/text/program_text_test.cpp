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

}  // namespace

TEST(ProgramTextErrorMessage, NamesTheFaultItsLineAndTheFile) {
#ifdef _WIN32
  const std::string absolute = "C:\\Program Files\\kx\\kexwell.dat";
#else
  const std::string absolute = "/opt/kx/kexwell.dat";
#endif
  const std::string relative = Platform::AbsolutePath("kx.dat");
  const std::tuple<int, std::string, std::string> cases[] = {
      {-1, "kx.dat", "Cannot open file containing program text.\r\n" + relative},
      {-7, absolute, "Error reading file.\r\n" + absolute},
      {-1500, "", "String too long at line 500"},
      {-1001, "", "String too long at line 1"},
      {-501, absolute, "Missing string at line 1\r\n" + absolute},
      {-500, "", "Error -500"}};
  for (const auto& [code, path, message] : cases)
    EXPECT_EQ(ProgramTextErrorMessage(code, path), message) << code;
}

TEST_F(ProgramTextLoader, GivesTheCodeOfTheFirstFaultAndThenHoldsNoTexts) {
  ASSERT_EQ(Load("1\tloaded\n"), 1);
  EXPECT_EQ(LoadProgramText(folder_ / "missing.dat"), kCannotOpen);
  EXPECT_EQ(GetText(1), "") << "a failed load leaves no texts";
  EXPECT_EQ(LoadProgramText(folder_.Path()), kCannotOpen);
#ifndef _WIN32
  EXPECT_EQ(LoadProgramText("/proc/self/mem"), kErrorReading);  // Windows has no such file
#endif
  std::string accented;  // a text holds 1023 characters, whatever their bytes
  for (int i = 0; i < 1023; ++i) accented += "\xC3\xA9";
  std::string texts;
  for (int n = 1; n <= kMaxTextsPerLanguage; ++n) texts += std::to_string(n) + "\tt\n";
  std::string languages;
  for (int i = 0; i <= kMaxLanguages; ++i) languages += "[L" + std::to_string(i) + "]\n1\tt\n";
  const std::pair<std::string, int> cases[] = {
      {"", kFileIsEmpty},
      {"# only a comment\n\n   \n[English]\n", kNoProgramText},
      {"[English]\n1\ta\n2\tb\n\n# c\n3\tc\n1\tagain\n", -1507},
      {"1\t" + accented + "\n", 1},
      {"1\t" + accented + "e\n", -1001},
      {Repeat('\n', 499) + "2\t" + Repeat('x', 1024) + "\n", -1500},
      {Repeat('\n', 500) + "2\t" + Repeat('x', 1024) + "\n", kTextTooLongBeyondLine500},
      {Repeat('\n', 499) + "2\n", -1000},
      {Repeat('\n', 500) + "2\n", kMissingTextBeyondLine500},
      {"1\tok\n2\n", -502},
      {"1\tok\n0\tzero\n", -502},
      {"1\tok\n32768\ttoo high\n", -502},
      {"1\tLatin-1 caf\xE9\n", kErrorReading},
      {std::string("1\tnul\0byte\n", 11), kErrorReading},
      // A huge line is cut short instead of read, the cut maybe inside a character.
      {"# " + Repeat('x', 8189) + "\xC3\xA9" + Repeat('x', 20'000'000) + "\n1\tok\n", 1},
      {Repeat('\n', 1'000'001), kTooMuchText},
      {"1\tok\n# " + Repeat('x', 64 * 1024 * 1024) + "\n", kTooMuchText},
      {texts, kMaxTextsPerLanguage},
      {texts + "10001\tone more\n", kTooMuchText},
      {languages, kTooMuchText}};
  for (const auto& [content, code] : cases) EXPECT_EQ(Load(content), code) << content.substr(0, 40);
}

TEST_F(ProgramTextLoader, TextsKeepBlanksTurnEscapesIntoCharactersAndAnswerInTheChosenLanguage) {
  // Greek, Cyrillic and Japanese: no single Windows code page holds all three.
  const std::string inner = folder_ / "Κείμενο Текст テキスト";
  TestSupport::MakeFolder(inner);
  const std::string file =
      "\xEF\xBB\xBF# texts\r\n"
      "1\tFirst line\\nsecond line\r\n"
      "2    spaces before, two after  \n"
      "  3\t\\sleading blank\n"
      "4\ttab\\there, backslash \\\\, \\q stays, ends in \\\n";
  EXPECT_EQ(LoadProgramText(TestSupport::WriteFile(JoinPath(inner, "kexwell.dat"), file)), 4);
  EXPECT_EQ(GetText(1), "First line\r\nsecond line");
  EXPECT_EQ(GetText(2), "spaces before, two after  ");
  EXPECT_EQ(GetText(3), " leading blank");
  EXPECT_EQ(GetText(4), "tab\there, backslash \\, \\q stays, ends in \\");
  EXPECT_EQ(GetText(5) + GetText(0), "");
  // A text the chosen language lacks comes from the first.
  EXPECT_EQ(Load("1\tYes\n2\tOnly English\n[Deutsch]\n1\tJa\n3\tNur Deutsch\n"), 4);
  EXPECT_EQ(GetText(1) + "|" + GetText(3), "Yes|");
  SetLanguage(1);
  EXPECT_EQ(GetText(1) + "|" + GetText(2) + "|" + GetText(3), "Ja|Only English|Nur Deutsch");
  SetLanguage(2);  // no such language
  EXPECT_EQ(GetText(1), "Yes");
}
