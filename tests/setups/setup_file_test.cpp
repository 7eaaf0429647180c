#include "setups/setup_file.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/files.h"
#include "support/environment.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace TestSupport;
using Box = PurgeConfirmationState::Box;

namespace {

// A setup file of the given lines, each ended by lineEnd.
std::string SetupText(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
}

// A complete setup unlike the defaults in every value.
std::vector<std::string> SampleLines() {
  return {"0.15",  " 1", "/home/anna/Documents/",
          "*.doc", " 1", " 3",
          " 1",    " 0", " 1",
          " 0",    " 1", " 0",
          " 0",    " 1", " 2453371",
          " 1"};
}

// The fifteen values a setup holds, as text, in file order (line 1 is not a value).
std::vector<std::string> Values(const ProgramSettings& settings) {
  std::vector<std::string> values = {settings.target.blnSubdirectories ? "1" : "0",
                                     settings.target.TargetFolder, settings.target.TargetFilespec,
                                     std::to_string(settings.purgeType.GetPurgeType()),
                                     std::to_string(settings.purgeType.GetNumberOfPasses())};
  const auto addBox = [&](Box box) {
    values.push_back(settings.confirmation.Get(box).ticked ? "1" : "0");
  };
  for (std::size_t box = 0; box <= static_cast<std::size_t>(Box::chkConfirmFiles); ++box) {
    addBox(static_cast<Box>(box));
  }
  values.push_back(std::to_string(settings.dateRestriction.lngOnlyBeforeThisJDN));
  addBox(Box::chkOKToPurgeHardLinkedFiles);
  return values;
}

std::vector<std::string> DefaultValues() {
  return Values(ProgramSettings());
}

// Loads a setup file holding text into fresh settings; the settings after the load.
std::vector<std::string> LoadText(const std::string& text, bool expectLoaded) {
  TempFolder folder;
  ProgramSettings settings;
  EXPECT_EQ(LoadSetupFromFile(WriteFile(folder / "setup.kxs", text), settings), expectLoaded);
  return Values(settings);
}

std::vector<std::string> WithLine(std::vector<std::string> lines, std::size_t number,
                                  const std::string& line) {
  lines[number - 1] = line;
  return lines;
}

}  // namespace

TEST(SetupFile, ASavedSetupIsTheVersionAndFifteenValuesOnCrLfLinesWithBlanksBeforeNumbers) {
  EXPECT_EQ(ProgramVersion(), "0.15");
  TempFolder folder;
  ProgramSettings settings;
  settings.target = {"/home/anna/Café/", "*.doc", true};
  ASSERT_TRUE(settings.purgeType.RestoreFromSetup(2, 4));
  settings.confirmation.SetTicked(Box::chkOKToPurgeReadOnlyFiles, true);
  settings.confirmation.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
  settings.dateRestriction.lngOnlyBeforeThisJDN = -12;

  ASSERT_TRUE(SaveSetupToFile(folder / "a.kxs", settings));
  EXPECT_EQ(ReadFile(folder / "a.kxs"),
            "0.15\r\n 1\r\n/home/anna/Café/\r\n*.doc\r\n 2\r\n 4\r\n 0\r\n 0\r\n 1\r\n 0\r\n"
            " 0\r\n 1\r\n 1\r\n 0\r\n-12\r\n 1\r\n");

  ASSERT_TRUE(SaveSetupToFile(folder / "b.kxs", ProgramSettings()));
  EXPECT_EQ(ReadFile(folder / "b.kxs"),
            "0.15\r\n 0\r\n\r\n\r\n 0\r\n 6\r\n 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n"
            " 9000000\r\n 0\r\n");
}

TEST(SetupFile, ASavedSetupLoadsBackWithAllItsValues) {
  TempFolder folder;
  ProgramSettings saved;
  ASSERT_TRUE(LoadSetupFromFile(WriteFile(folder / "in.kxs", SetupText(SampleLines())), saved));
  EXPECT_EQ(Values(saved),
            (std::vector<std::string>{"1", "/home/anna/Documents/", "*.doc", "1", "3", "0", "0",
                                      "1", "0", "1", "0", "0", "1", "2453371", "1"}))
      << "slack-only stays unticked and chkDoNotDeletePurgedFiles is line 8 as it stands";

  ASSERT_TRUE(SaveSetupToFile(folder / "out.kxs", saved));
  ProgramSettings loaded;
  ASSERT_TRUE(LoadSetupFromFile(folder / "out.kxs", loaded));
  EXPECT_EQ(Values(loaded), Values(saved));
}

TEST(SetupLoad, LineEightIsTheDoNotDeleteBoxWhateverLineSevenHolds) {
  // {line 7, line 8, chkDoNotDeletePurgedFiles ticked before the load}
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {" 1", " 0", false}, {" 1", " 0", true},  {" 1", " 1", false},
      {" 0", " 0", true},  {" 0", " 1", false},
  };
  for (const auto& [slackOnly, doNotDelete, tickedBefore] : cases) {
    TempFolder folder;
    ProgramSettings settings;
    settings.confirmation.SetTicked(Box::chkDoNotDeletePurgedFiles, tickedBefore);
    const std::string path =
        WriteFile(folder / "s.kxs",
                  SetupText(WithLine(WithLine(SampleLines(), 7, slackOnly), 8, doNotDelete)));
    ASSERT_TRUE(LoadSetupFromFile(path, settings)) << slackOnly << doNotDelete;
    const std::vector<std::string> values = Values(settings);
    EXPECT_EQ(values[5], "0") << slackOnly << doNotDelete << tickedBefore;
    EXPECT_EQ(values[6], doNotDelete.substr(1)) << slackOnly << doNotDelete << tickedBefore;
    EXPECT_TRUE(settings.confirmation.Get(Box::chkDoNotDeletePurgedFiles).enabled);
  }
}

TEST(SetupFile, ATextThatWouldLoadBackDifferentlyIsNotSavedAndTheOldFileStays) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "old.kxs", "old");
  for (const std::string& text :
       {std::string("/tmp/a\nb/"), std::string("/tmp/a\rb/"), std::string(" /tmp/"),
        std::string("*.doc\t"), std::string("/tmp/\xE9/"), std::string("/tmp/a\0b/", 9),
        "/" + Repeat('a', kMaxSetupLineBytes)}) {
    ProgramSettings folderSettings;
    folderSettings.target.TargetFolder = text;
    EXPECT_FALSE(SaveSetupToFile(path, folderSettings)) << text;
    ProgramSettings filespecSettings;
    filespecSettings.target.TargetFilespec = text;
    EXPECT_FALSE(SaveSetupToFile(path, filespecSettings)) << text;
  }
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_FALSE(SaveSetupToFile(folder / NativePath("missing/new.kxs"), ProgramSettings()));
}

TEST(SetupLoadFailure, LineTwoHoldingTwoFailsAndChangesNothing) {
  EXPECT_EQ(LoadText(SetupText(WithLine(SampleLines(), 2, " 2")), false), DefaultValues());
}

TEST(SetupLoadFailure, AFailedLoadLeavesTheSettingsAsTheyWere) {
  // Settings unlike both the defaults and the file in every value.
  ProgramSettings before;
  before.target = {"/srv/old/", "*.txt", false};
  ASSERT_TRUE(before.purgeType.RestoreFromSetup(2, 2));
  for (const Box box :
       {Box::chkDoNotDeletePurgedFiles, Box::chkOKToPurgeSystemFiles, Box::chkConfirmFiles}) {
    before.confirmation.SetTicked(box, true);
  }
  before.confirmation.SetTicked(Box::chkFolderNamesOnly, false);
  before.dateRestriction.lngOnlyBeforeThisJDN = 2450000;
  const std::vector<std::string> expected = Values(before);

  std::vector<std::string> tooFew = SampleLines();
  tooFew.resize(14);
  // Each fails on a value after others that would have changed.
  for (const std::string& text :
       {SetupText(WithLine(SampleLines(), 9, " 2")), SetupText(WithLine(SampleLines(), 6, " 9")),
        SetupText(WithLine(SampleLines(), 15, "-5")), SetupText(WithLine(SampleLines(), 16, " 2")),
        SetupText(tooFew)}) {
    TempFolder folder;
    ProgramSettings settings = before;
    EXPECT_FALSE(LoadSetupFromFile(WriteFile(folder / "s.kxs", text), settings)) << text;
    EXPECT_EQ(Values(settings), expected) << text;
  }
  EXPECT_EQ(LoadText("", false), DefaultValues());
}

TEST(SetupLoadFailure, ATypeOrANumberOfPassesOutOfRangeChangesNeither) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" 3", " 1"},  {"-1", " 1"},     {" 2", " 5"},     {" 0", " 0"},
      {" 0", " 10"}, {" 65536", " 1"}, {" 1", " 65539"},
  };
  for (const auto& [type, passes] : cases) {
    const std::vector<std::string> values =
        LoadText(SetupText(WithLine(WithLine(SampleLines(), 5, type), 6, passes)), false);
    EXPECT_EQ(values[3], "0") << type << passes;
    EXPECT_EQ(values[4], "6") << type << passes;
  }
}

TEST(SetupLoadFailure, AnythingButAWholeNumberInItsRangeWhereANumberBelongsFails) {
  // Day 2444240 is 1 January 1980 and day 2816787 is 31 December 2999, the first and the last
  // day the date dialog offers.
  const std::vector<std::pair<std::size_t, std::string>> cases = {
      {2, "yes"},       {5, "two"},       {6, "1.5"},          {7, ""},
      {7, " 2"},        {8, "-1"},        {10, "-1"},          {13, "1 1"},
      {14, "0x1"},      {15, "soon"},     {15, " 2147483648"}, {15, "+-5"},
      {15, "- 5"},      {15, "-5"},       {15, " 0"},          {15, " 2444239"},
      {15, " 2816788"}, {15, " 8999999"}, {15, "-2147483648"}, {16, " 2"},
  };
  for (const auto& [line, text] : cases) {
    ProgramSettings settings;
    TempFolder folder;
    const std::string path =
        WriteFile(folder / "s.kxs", SetupText(WithLine(SampleLines(), line, text)));
    EXPECT_FALSE(LoadSetupFromFile(path, settings)) << line << ": " << text;
    EXPECT_EQ(Values(settings), DefaultValues()) << line << ": " << text;
  }
  for (const char* limit : {"2444240", "2816787", "9000000"}) {
    EXPECT_EQ(LoadText(SetupText(WithLine(SampleLines(), 15, std::string(" ") + limit)), true)[13],
              limit);
  }
}

TEST(SetupLoadFailure, HugeLinesAndBinaryFilesFailAndChangeNothing) {
  EXPECT_EQ(
      LoadText(SetupText(WithLine(SampleLines(), 3, "/" + Repeat('a', 10 * 1024 * 1024))), false),
      DefaultValues());
  EXPECT_EQ(
      LoadText(SetupText(WithLine(SampleLines(), 4, Repeat('a', kMaxSetupLineBytes + 1))), false),
      DefaultValues());
  EXPECT_EQ(LoadText(SetupText(WithLine(SampleLines(), 4, std::string("a\0b", 3))), false),
            DefaultValues());

  TempFolder folder;
  ProgramSettings settings;
  EXPECT_FALSE(LoadSetupFromFile(folder / "missing.kxs", settings));
  EXPECT_FALSE(LoadSetupFromFile(folder.Path(), settings)) << "a folder is no setup";
}

TEST(SetupLoad, AFolderLongerThanTheSystemAllowsIsKeptAsText) {
  const std::string longFolder = "/" + Repeat('d', 8000) + "/";
  EXPECT_EQ(LoadText(SetupText(WithLine(SampleLines(), 3, longFolder)), true)[1], longFolder);
}

TEST(SetupLoad, AWindows1252FileLoadsAsUtf8) {
  const std::string folder =
      "C:\\Donn\xE9"
      "es\\\x80\\";
  const std::vector<std::string> values = LoadText(
      SetupText(WithLine(WithLine(SampleLines(), 3, folder), 4, "\x8A\x9F\x81.txt")), true);
  EXPECT_EQ(values[1], "C:\\Données\\€\\");
  EXPECT_EQ(values[2], "ŠŸ\xC2\x81.txt");
}

TEST(SetupLoad, AFileOfAnEarlierVersionWithoutLine16LoadsWithThatBoxUnticked) {
  std::vector<std::string> lines = SampleLines();
  lines.pop_back();
  std::vector<std::string> expected = LoadText(SetupText(SampleLines()), true);
  expected.back() = "0";
  // Earlier versions ignored what followed line 15, an empty line among it.
  for (const std::string& text : {SetupText(lines), SetupText(lines) + "\r\n"}) {
    TempFolder folder;
    ProgramSettings settings;
    settings.confirmation.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
    ASSERT_TRUE(LoadSetupFromFile(WriteFile(folder / "old.kxs", text), settings));
    EXPECT_EQ(Values(settings), expected);
  }
}

TEST(SetupFile, AFileNameHoldingAWildcardIsSavedWithASeventeenthLineAndLoadsBackAsAName) {
  struct Case {
    const char* filespec;
    bool isName;
    const char* lastLines;
    bool loadsAsName;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"?.txt", true, " 9000000\r\n 0\r\n 1\r\n", true},
           {"report.txt", true, " 9000000\r\n 0\r\n", false},
           {"?.txt", false, " 9000000\r\n 0\r\n", false},
       }) {
    TempFolder folder;
    ProgramSettings settings;
    settings.target.TargetFolder = "/home/anna/";
    settings.target.SetFilespec(c.filespec, c.isName);
    ASSERT_TRUE(SaveSetupToFile(folder / "a.kxs", settings));
    const std::string text = ReadFile(folder / "a.kxs");
    EXPECT_EQ(text.substr(text.size() - std::string(c.lastLines).size()), c.lastLines)
        << c.filespec;
    ProgramSettings loaded;
    ASSERT_TRUE(LoadSetupFromFile(folder / "a.kxs", loaded));
    EXPECT_EQ(loaded.target.TargetFilespec, c.filespec);
    EXPECT_EQ(loaded.target.filespecIsName, c.loadsAsName) << c.filespec;
  }
}

TEST(SetupLoad, OnlyASeventeenthLineOfOneMakesTheFileSpecificationAName) {
  for (const auto& [line17, isName] : std::initializer_list<std::pair<std::string, bool>>{
           {" 1", true},
           {"\t1 ", true},
           {" 0", false},
           {"yes", false},
           {std::string(kMaxSetupLineBytes + 1, '1'), false}}) {
    std::vector<std::string> lines = WithLine(SampleLines(), 4, "?.doc");
    lines.push_back(line17);
    TempFolder folder;
    ProgramSettings settings;
    ASSERT_TRUE(LoadSetupFromFile(WriteFile(folder / "a.kxs", SetupText(lines)), settings))
        << line17.substr(0, 8);
    EXPECT_EQ(settings.target.filespecIsName, isName) << line17.substr(0, 8);
  }
}

TEST(SetupLoad, LfAloneEndsALineAndBlanksAroundValuesAreIgnored) {
  std::vector<std::string> lines = SampleLines();
  for (std::string& line : lines) line = " \t" + line + "  ";
  EXPECT_EQ(LoadText(SetupText(lines, "\n"), true), LoadText(SetupText(SampleLines()), true));
  EXPECT_EQ(LoadText(SetupText(SampleLines(), "\n") + "ignored\nlines\n", true)[13], "2453371");
  std::string withoutLastLineEnd = SetupText(SampleLines(), "\n");
  withoutLastLineEnd.pop_back();
  EXPECT_EQ(LoadText(withoutLastLineEnd, true)[13], "2453371");
}

TEST(RememberedSetup, ClearThenRestoreBringsBackTheTargetAndTheDateRestriction) {
  ProgramSettings settings;
  settings.target = {"/home/anna/", "*.doc", true, true};
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2453371;
  RememberedSetup remembered;

  ClearSetup(settings, remembered);
  EXPECT_EQ(settings.target.TargetFolder, "");
  EXPECT_EQ(settings.target.TargetFilespec, "");
  EXPECT_FALSE(settings.target.filespecIsName);
  EXPECT_EQ(settings.dateRestriction.lngOnlyBeforeThisJDN, 2453371) << "clearing keeps the date";

  settings.target = {"/", "*", false};
  settings.dateRestriction.Clear();
  RestoreSetup(settings, remembered);
  EXPECT_EQ(settings.target.TargetFolder, "/home/anna/");
  EXPECT_EQ(settings.target.TargetFilespec, "*.doc");
  EXPECT_TRUE(settings.target.filespecIsName) << "a file's name stays a name";
  EXPECT_TRUE(settings.target.blnSubdirectories);
  EXPECT_EQ(settings.dateRestriction.lngOnlyBeforeThisJDN, 2453371);

  settings.target.blnSubdirectories = true;
  RememberedSetup withoutSubfolders;
  withoutSubfolders.TargetFolder = "/home/anna/";
  RestoreSetup(settings, withoutSubfolders);
  EXPECT_FALSE(settings.target.blnSubdirectories)
      << "a restored folder never takes on another folder's subfolder flag";
}

// POSIX: the application-data folder follows XDG_CONFIG_HOME. Windows asks the shell for it, and
// setup_file_win32_test.cpp tries it there.
#ifndef _WIN32
TEST(NextRunSetup, ThePathLiesInTheApplicationDataFolderWhichIsCreated) {
  TempFolder folder;
  const ScopedEnvironment guard("XDG_CONFIG_HOME", folder / "config");
  const std::string path = NextRunSetupPath("KexWell", "Kexwell Setups");
  EXPECT_EQ(path, folder / "config/Kexwell Setups/kexwell.usr");
  EXPECT_TRUE(Platform::FolderExists(folder / "config/Kexwell Setups"));

  ProgramSettings settings;
  EXPECT_FALSE(LoadNextRunSetup(path, settings)) << "no file yet";
  EXPECT_EQ(Values(settings), DefaultValues());
  settings.target = {"/home/anna/", "*.doc", false};
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  ProgramSettings next;
  ASSERT_TRUE(LoadNextRunSetup(path, next));
  EXPECT_EQ(Values(next), Values(settings));
}
#endif  // _WIN32
