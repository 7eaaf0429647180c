#include "setups/setup_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "support/environment.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace TestSupport;
using Box = PurgeConfirmationState::Box;

namespace {

using Changes = std::vector<std::pair<std::size_t, std::string>>;

// A complete setup unlike the defaults in every value, with the given lines (numbered from 1)
// changed, each line ended by lineEnd; only its first lineCount lines when lineCount is given.
std::string SetupText(const Changes& changes = {}, const std::string& lineEnd = "\r\n",
                      std::size_t lineCount = 0) {
  std::vector<std::string> lines = {"0.15", " 1", "/home/anna/Documents/", "*.doc", " 1", " 3",
                                    " 1",   " 0", " 1",  " 0", " 1", " 0", " 0", " 1",
                                    " 2453371", " 1"};
  for (const auto& [number, line] : changes) {
    if (number > lines.size()) lines.resize(number);
    lines[number - 1] = line;
  }
  if (lineCount > 0) lines.resize(lineCount);
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
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

// Loads a setup file holding text into the settings; the settings after the load.
std::vector<std::string> LoadText(const std::string& text, bool expectLoaded,
                                  ProgramSettings settings = ProgramSettings()) {
  TempFolder folder;
  EXPECT_EQ(LoadSetupFromFile(WriteFile(folder / "setup.kxs", text), settings), expectLoaded);
  return Values(settings);
}

const std::vector<std::string> kSampleValues = {
    "1", "/home/anna/Documents/", "*.doc", "1", "3", "0", "0", "1",
    "0", "1",                     "0",     "0", "1", "2453371", "1"};

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

  // Slack-only stays unticked; line 8 is chkDoNotDeletePurgedFiles.
  ProgramSettings saved;
  ASSERT_TRUE(LoadSetupFromFile(WriteFile(folder / "in.kxs", SetupText()), saved));
  EXPECT_EQ(Values(saved), kSampleValues);
  ASSERT_TRUE(SaveSetupToFile(folder / "out.kxs", saved));
  EXPECT_EQ(LoadText(ReadFile(folder / "out.kxs"), true), kSampleValues);
}

TEST(SetupFile, AnOperationFileIsNamedWithItsExtensionAfterAnyOther) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"work", "work.kxs"},           {"home.kxs", "home.kxs"}, {"Old.KXS", "Old.KXS"},
      {"notes.txt", "notes.txt.kxs"}, {"daily.", "daily.kxs"},  {"v1.2", "v1.2.kxs"},
  };
  for (const auto& [typed, savedAs] : rows) EXPECT_EQ(WithOperationFileExtension(typed), savedAs);
}

TEST(SetupLoad, LineEightIsTheDoNotDeleteBoxWhateverLineSevenHolds) {
  // {line 7, line 8, chkDoNotDeletePurgedFiles ticked before the load}
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {" 1", " 0", false}, {" 1", " 0", true},  {" 1", " 1", false},
      {" 0", " 0", true},  {" 0", " 1", false},
  };
  for (const auto& [slackOnly, doNotDelete, tickedBefore] : cases) {
    SCOPED_TRACE(slackOnly + doNotDelete + (tickedBefore ? " ticked" : ""));
    ProgramSettings settings;
    settings.confirmation.SetTicked(Box::chkDoNotDeletePurgedFiles, tickedBefore);
    TempFolder folder;
    ASSERT_TRUE(LoadSetupFromFile(
        WriteFile(folder / "s.kxs", SetupText({{7, slackOnly}, {8, doNotDelete}})), settings));
    EXPECT_EQ(Values(settings)[5], "0");
    EXPECT_EQ(Values(settings)[6], doNotDelete.substr(1));
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

TEST(SetupLoadFailure, AnyValueOutOfItsRangeFailsAndLeavesTheSettingsAsTheyWere) {
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
  // Day 2444240 is 1 January 1980 and day 2816787 is 31 December 2999, the first and the last
  // day the date dialog offers.
  const std::vector<Changes> failing = {
      {{2, " 2"}}, {{2, "yes"}}, {{5, "two"}}, {{6, "1.5"}}, {{6, " 9"}}, {{7, ""}}, {{7, " 2"}},
      {{8, "-1"}}, {{9, " 2"}}, {{10, "-1"}}, {{13, "1 1"}}, {{14, "0x1"}}, {{15, "soon"}},
      {{15, " 2147483648"}}, {{15, "+-5"}}, {{15, "- 5"}}, {{15, "-5"}}, {{15, " 0"}},
      {{15, " 2444239"}}, {{15, " 2816788"}}, {{15, " 8999999"}}, {{15, "-2147483648"}},
      {{16, " 2"}}, {{5, " 3"}, {6, " 1"}}, {{5, "-1"}, {6, " 1"}}, {{5, " 2"}, {6, " 5"}},
      {{5, " 0"}, {6, " 0"}}, {{5, " 0"}, {6, " 10"}}, {{5, " 65536"}, {6, " 1"}},
      {{5, " 1"}, {6, " 65539"}}, {{3, "/" + Repeat('a', 10 * 1024 * 1024)}},
      {{4, Repeat('a', kMaxSetupLineBytes + 1)}}, {{4, std::string("a\0b", 3)}},
  };
  for (const Changes& changes : failing) {
    SCOPED_TRACE(changes[0].first);
    SCOPED_TRACE(changes.back().second.substr(0, 12));
    EXPECT_EQ(LoadText(SetupText(changes), false, before), Values(before));
  }
  EXPECT_EQ(LoadText(SetupText({}, "\r\n", 14), false, before), Values(before)) << "14 lines";
  EXPECT_EQ(LoadText("", false, before), Values(before));
  TempFolder folder;
  ProgramSettings settings = before;
  EXPECT_FALSE(LoadSetupFromFile(folder / "missing.kxs", settings));
  EXPECT_FALSE(LoadSetupFromFile(folder.Path(), settings)) << "a folder is no setup";
  EXPECT_EQ(Values(settings), Values(before));
}

TEST(SetupLoad, FilesThatLoad) {
  // {setup text, value index, value after the load}
  const std::string longFolder = "/" + Repeat('d', 8000) + "/";
  std::string withoutLastLineEnd = SetupText({}, "\n");
  withoutLastLineEnd.pop_back();
  const std::vector<std::tuple<std::string, std::size_t, std::string>> rows = {
      {SetupText({{15, " 2444240"}}), 13, "2444240"},
      {SetupText({{15, " 2816787"}}), 13, "2816787"},
      {SetupText({{15, " 9000000"}}), 13, "9000000"},
      {SetupText({{3, longFolder}}), 1, longFolder},
      // A file that is not UTF-8 is read as Windows-1252.
      {SetupText({{3, "C:\\Donn\xE9" "es\\\x80\\"}}), 1, "C:\\Données\\€\\"},
      {SetupText({{4, "\x8A\x9F\x81.txt"}}), 2, "ŠŸ\xC2\x81.txt"},
      // LF alone ends a line; later lines are ignored; the last line needs no line end.
      {SetupText({}, "\n") + "ignored\nlines\n", 13, "2453371"},
      {withoutLastLineEnd, 13, "2453371"},
  };
  for (const auto& [text, index, value] : rows) {
    SCOPED_TRACE(text.substr(0, 60));
    EXPECT_EQ(LoadText(text, true)[index], value);
  }
  // Blanks after every value and before every value but the version.
  EXPECT_EQ(LoadText(SetupText({}, "  \n \t"), true), kSampleValues);
}

TEST(SetupLoad, AFileOfAnEarlierVersionWithoutLine16LoadsWithThatBoxUnticked) {
  std::vector<std::string> expected = kSampleValues;
  expected.back() = "0";
  const std::string fifteenLines = SetupText({}, "\r\n", 15);
  // Earlier versions ignored what followed line 15, an empty line among it.
  for (const std::string& text : {fifteenLines, fifteenLines + "\r\n"}) {
    ProgramSettings settings;
    settings.confirmation.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
    EXPECT_EQ(LoadText(text, true, settings), expected);
  }
}

TEST(SetupFile, AFileNameHoldingAWildcardIsSavedWithASeventeenthLineAndLoadsBackAsAName) {
  // {file specification, taken as a name, the end of the file, loads back as a name}
  const std::vector<std::tuple<std::string, bool, std::string, bool>> rows = {
      {"?.txt", true, " 9000000\r\n 0\r\n 1\r\n", true},
      {"report.txt", true, " 9000000\r\n 0\r\n", false},
      {"?.txt", false, " 9000000\r\n 0\r\n", false},
  };
  for (const auto& [filespec, isName, lastLines, loadsAsName] : rows) {
    SCOPED_TRACE(filespec);
    TempFolder folder;
    ProgramSettings settings;
    settings.target.TargetFolder = "/home/anna/";
    settings.target.SetFilespec(filespec, isName);
    ASSERT_TRUE(SaveSetupToFile(folder / "a.kxs", settings));
    const std::string text = ReadFile(folder / "a.kxs");
    EXPECT_EQ(text.substr(text.size() - lastLines.size()), lastLines);
    ProgramSettings loaded;
    ASSERT_TRUE(LoadSetupFromFile(folder / "a.kxs", loaded));
    EXPECT_EQ(loaded.target.TargetFilespec, filespec);
    EXPECT_EQ(loaded.target.filespecIsName, loadsAsName);
  }
  // Only a seventeenth line of one makes the file specification a name.
  for (const auto& [line17, isName] : std::initializer_list<std::pair<std::string, bool>>{
           {" 1", true},
           {"\t1 ", true},
           {" 0", false},
           {"yes", false},
           {std::string(kMaxSetupLineBytes + 1, '1'), false}}) {
    TempFolder folder;
    ProgramSettings settings;
    ASSERT_TRUE(LoadSetupFromFile(
        WriteFile(folder / "a.kxs", SetupText({{4, "?.doc"}, {17, line17}})), settings));
    EXPECT_EQ(settings.target.filespecIsName, isName) << line17.substr(0, 8);
  }
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
  EXPECT_EQ(Values(settings), Values(ProgramSettings()));
  settings.target = {"/home/anna/", "*.doc", false};
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  ProgramSettings next;
  ASSERT_TRUE(LoadNextRunSetup(path, next));
  EXPECT_EQ(Values(next), Values(settings));
}
#endif  // _WIN32
