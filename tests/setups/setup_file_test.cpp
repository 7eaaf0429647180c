#include "setups/setup_file.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
// After <windows.h>, which it needs.
#include <shlobj.h>
#endif

#include <filesystem>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "support/environment.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace TestSupport;
using namespace std::string_literals;
using Box = PurgeConfirmationState::Box;

namespace {

using Changes = std::vector<std::pair<std::size_t, std::string>>;

// A complete setup unlike the defaults in every value, with the given lines (numbered from 1)
// changed, each line ended by lineEnd; only its first lineCount lines when lineCount is given.
std::string SetupText(const Changes& changes = {}, const std::string& lineEnd = "\r\n",
                      std::size_t lineCount = 0) {
  std::vector<std::string> lines = {"0.15", " 1", "/home/anna/Documents/", "*.doc", " 1", " 3", " 1", " 0",
                                    " 1",   " 0", " 1", " 0", " 0", " 1", " 2453371", " 1"};
  for (const auto& [number, line] : changes) {
    if (number > lines.size()) lines.resize(number);
    lines[number - 1] = line;
  }
  if (lineCount > 0) lines.resize(lineCount);
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
}

// The settings as a saved setup file holds them: their every value, and whether a pattern
// with wildcards is a file's name.
std::string Saved(const ProgramSettings& settings) {
  TempFolder folder;
  return SaveSetupToFile(folder / "saved.kxs", settings) ? ReadFile(folder / "saved.kxs") : "not saved";
}

// Loads a setup file holding text into the settings; the settings after the load, as saved.
std::string LoadText(const std::string& text, bool expectLoaded, ProgramSettings settings = {}) {
  TempFolder folder;
  EXPECT_EQ(LoadSetupFromFile(WriteFile(folder / "setup.kxs", text), settings), expectLoaded);
  return Saved(settings);
}

}  // namespace

TEST(SetupFile, ASavedSetupIsTheVersionAndItsValuesOnCrLfLinesWithBlanksBeforeNumbers) {
  TempFolder folder;
  ProgramSettings settings;
  ASSERT_TRUE(SaveSetupToFile(folder / "a.kxs", settings));
  EXPECT_EQ(ReadFile(folder / "a.kxs"),
            "0.15\r\n 0\r\n\r\n\r\n 0\r\n 6\r\n 0\r\n 0\r\n 0\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n"
            " 9000000\r\n 0\r\n");
  settings.target = {"/home/anna/Café/", "?.doc", true, true};
  ASSERT_TRUE(settings.purgeType.RestoreFromSetup(2, 4));
  settings.confirmation.SetTicked(Box::chkOKToPurgeReadOnlyFiles, true);
  settings.confirmation.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
  settings.dateRestriction.lngOnlyBeforeThisJDN = -12;
  // Only a file's name holding a wildcard gets a seventeenth line.
  const std::string saved = "0.15\r\n 1\r\n/home/anna/Café/\r\n?.doc\r\n 2\r\n 4\r\n 0\r\n 0\r\n"
                            " 1\r\n 0\r\n 0\r\n 1\r\n 1\r\n 0\r\n-12\r\n 1\r\n 1\r\n";
  ASSERT_TRUE(SaveSetupToFile(folder / "a.kxs", settings));
  EXPECT_EQ(ReadFile(folder / "a.kxs"), saved);
}

TEST(SetupFile, AnOperationFileIsNamedWithItsExtensionAfterAnyOther) {
  const std::pair<const char*, const char*> rows[] = {{"work", "work.kxs"}, {"home.kxs", "home.kxs"},
      {"Old.KXS", "Old.KXS"}, {"notes.txt", "notes.txt.kxs"}, {"daily.", "daily.kxs"}, {"v1.2", "v1.2.kxs"}};
  for (const auto& [typed, savedAs] : rows) EXPECT_EQ(WithOperationFileExtension(typed), savedAs);
}

TEST(SetupFile, ATextThatWouldLoadBackDifferentlyIsNotSavedAndTheOldFileStays) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "old.kxs", "old");
  for (const std::string& text : {"/tmp/a\nb/"s, "/tmp/a\rb/"s, " /tmp/"s, "*.doc\t"s, "/tmp/\xE9/"s,
                                  "/tmp/a\0b/"s, "/" + Repeat('a', kMaxSetupLineBytes)}) {
    ProgramSettings inFolder, inFilespec;
    inFolder.target.TargetFolder = inFilespec.target.TargetFilespec = text;
    EXPECT_FALSE(SaveSetupToFile(path, inFolder) || SaveSetupToFile(path, inFilespec)) << text;
  }
  EXPECT_EQ(ReadFile(path), "old");
}

TEST(SetupLoadFailure, AnyValueOutOfItsRangeFailsAndLeavesTheSettingsAsTheyWere) {
  // Settings unlike both the defaults and the file in every value.
  TempFolder folder;
  ProgramSettings before;
  const Changes unlike = {{2, " 0"}, {3, "/srv/"}, {4, "?.txt"}, {5, " 2"}, {6, " 2"}, {8, " 1"}, {9, " 0"},
                          {10, " 1"}, {11, " 0"}, {12, " 1"}, {13, " 1"}, {14, " 0"}, {15, " 2450000"},
                          {16, " 0"}, {17, " 1"}};
  ASSERT_TRUE(LoadSetupFromFile(WriteFile(folder / "before.kxs", SetupText(unlike)), before));
  // Day 2444240 is 1 January 1980 and day 2816787 is 31 December 2999, the first and the last
  // day the date dialog offers.
  const std::vector<Changes> failing = {
      {{2, " 2"}}, {{2, "yes"}}, {{5, "two"}}, {{6, "1.5"}}, {{6, " 9"}}, {{7, ""}}, {{7, " 2"}}, {{8, "-1"}},
      {{13, "1 1"}}, {{14, "0x1"}}, {{15, "soon"}}, {{15, " 2147483648"}}, {{15, "+-5"}}, {{15, "- 5"}},
      {{15, " 2444239"}}, {{15, " 2816788"}}, {{15, " 8999999"}}, {{16, " 2"}}, {{15, "-2147483648"}},
      {{5, " 3"}, {6, " 1"}}, {{5, "-1"}, {6, " 1"}}, {{5, " 2"}, {6, " 5"}}, {{5, " 0"}, {6, " 0"}},
      {{5, " 0"}, {6, " 10"}}, {{5, " 65536"}, {6, " 1"}}, {{5, " 1"}, {6, " 65539"}},
      {{3, "/" + Repeat('a', 10 * 1024 * 1024)}}, {{4, Repeat('a', kMaxSetupLineBytes + 1)}},
      {{4, std::string("a\0b", 3)}}};
  for (const Changes& c : failing)
    EXPECT_EQ(LoadText(SetupText(c), false, before), Saved(before)) << c.back().second.substr(0, 9);
  EXPECT_EQ(LoadText(SetupText({}, "\r\n", 14), false, before), Saved(before)) << "14 lines";
  EXPECT_EQ(LoadText("", false, before), Saved(before));
  ProgramSettings settings = before;
  EXPECT_FALSE(LoadSetupFromFile(folder / "missing.kxs", settings));
  EXPECT_FALSE(LoadSetupFromFile(folder.Path(), settings)) << "a folder is no setup";
  EXPECT_EQ(Saved(settings), Saved(before));
}

TEST(SetupLoad, FilesThatLoad) {
  // {setup text, the changes to the sample setup it loads as}; same: a setup that loads as written
  const std::string longFolder = "/" + Repeat('d', 8000) + "/";
  std::string withoutLastLineEnd = SetupText({}, "\n");
  withoutLastLineEnd.pop_back();
  const auto same = [](const Changes& changes) { return std::pair{SetupText(changes), changes}; };
  const std::vector<std::pair<std::string, Changes>> rows = {
      same({{15, " 2444240"}}), same({{15, " 2816787"}}), same({{15, " 9000000"}}), same({{3, longFolder}}),
      // A file that is not UTF-8 is read as Windows-1252.
      {SetupText({{3, "C:\\Donn\xE9" "es\\\x80\\"}}), {{3, "C:\\Données\\€\\"}}},
      {SetupText({{4, "\x8A\x9F\x81.txt"}}), {{4, "ŠŸ\xC2\x81.txt"}}},
      // LF alone ends a line; later lines are ignored; the last line needs no line end; blanks may
      // follow every value and stand before every value but the version.
      {SetupText({}, "\n") + "ignored\nlines\n", {}}, {withoutLastLineEnd, {}},
      {SetupText({}, "  \n \t"), {}},
      // A file of an earlier version has no line 16 and unticks its box; those versions ignored
      // what followed line 15, an empty line among it.
      {SetupText({}, "\r\n", 15), {{16, " 0"}}}, {SetupText({}, "\r\n", 15) + "\r\n", {{16, " 0"}}},
      // Only a seventeenth line of one makes the file specification a name.
      {SetupText({{4, "?.doc"}, {17, "\t1 "}}), {{4, "?.doc"}, {17, " 1"}}},
      {SetupText({{4, "?.doc"}, {17, " 0"}}), {{4, "?.doc"}}},
      {SetupText({{4, "?.doc"}, {17, "yes"}}), {{4, "?.doc"}}},
      {SetupText({{4, "?.doc"}, {17, std::string(kMaxSetupLineBytes + 1, '1')}}), {{4, "?.doc"}}}};
  // Line 7, slack only, stays unticked; line 8 is chkDoNotDeletePurgedFiles, unticked by the file.
  ProgramSettings ticked;
  ticked.confirmation.SetTicked(Box::chkOKToPurgeHardLinkedFiles, true);
  ticked.confirmation.SetTicked(Box::chkDoNotDeletePurgedFiles, true);
  for (auto [text, changes] : rows) {
    changes.emplace_back(7, " 0");
    EXPECT_EQ(LoadText(text, true, ticked), SetupText(changes)) << text.substr(0, 60);
  }
}

TEST(RememberedSetup, ClearThenRestoreBringsBackTheTargetAndTheDateRestriction) {
  ProgramSettings settings, expected;
  settings.target = expected.target = {"/home/anna/", "*.doc", true, true};
  settings.dateRestriction.lngOnlyBeforeThisJDN = expected.dateRestriction.lngOnlyBeforeThisJDN = 2453371;
  RememberedSetup remembered;
  ClearSetup(settings, remembered);
  EXPECT_EQ(settings.target.TargetFolder + settings.target.TargetFilespec, "");
  settings.target = {"/", "*", false};
  settings.dateRestriction.Clear();
  RestoreSetup(settings, remembered);
  // A file's name stays a name; the folder's own subfolder flag comes back with it.
  EXPECT_EQ(Saved(settings), Saved(expected));
}

// The application-data folder: XDG_CONFIG_HOME on POSIX, the shell's on Windows; there a folder of
// the test's own, named outside the ANSI code page, so that no setup of the user's is touched.
TEST(NextRunSetup, ThePathLiesInTheApplicationDataFolderWhichIsCreated) {
  TempFolder folder;
#ifdef _WIN32
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  const std::string config = Utf8Path(std::filesystem::path(appData));
  const std::string name = "Kexwell Ωμέγα 日本 " + std::to_string(::GetCurrentProcessId());
#else
  const std::string config = folder / "config";
  const ScopedEnvironment guard("XDG_CONFIG_HOME", config);
  const std::string name = "Kexwell Ωμέγα 日本";
#endif
  const std::string path = NextRunSetupPath("KexWell", name);
  EXPECT_EQ(path, JoinPath(JoinPath(config, name), "kexwell.usr"));
  ProgramSettings settings;
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  EXPECT_TRUE(LoadNextRunSetup(path, settings));
#ifdef _WIN32
  std::error_code ignored;
  std::filesystem::remove_all(FileSystemPath(JoinPath(config, name)), ignored);
#endif
}
