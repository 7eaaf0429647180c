// Setups on Windows: setup files at paths outside the ANSI code page, and the next-run setup in the
// user's application-data folder.

#include <gtest/gtest.h>
#include <windows.h>

// After <windows.h>, which it needs.
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "setups/setup_file.h"
#include "support/temp_folder.h"

using namespace TestSupport;

TEST(SetupFileWin32, ASetupFileNamedOutsideTheAnsiCodePageIsSavedReplacedAndLoaded) {
  TempFolder folder;
  const std::string path = folder / "Ωμέγα 日本 файл.kxs";
  ProgramSettings settings;
  settings.target = {"C:\\Users\\Anna\\", "*.*", true};
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  settings.target.TargetFilespec = "*.txt";
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(folder.Path())))
    entries.push_back(Utf8Path(entry.path().filename()));
  EXPECT_EQ(entries, std::vector<std::string>{"Ωμέγα 日本 файл.kxs"}) << "no temporary file stays behind";
  ProgramSettings loaded;
  ASSERT_TRUE(LoadSetupFromFile(path, loaded));
  EXPECT_EQ(loaded.target.TargetFilespec, "*.txt") << "the second save replaced the first";
}

TEST(NextRunSetupWin32, ThePathLiesInTheShellsApplicationDataFolderWhichIsCreated) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  // A folder of the test's own, so that no setup of the user's is touched.
  const std::string name = "Kexwell Test " + std::to_string(::GetCurrentProcessId()) + " " +
                           std::to_string(::GetTickCount64());
  const std::string folder = Utf8Path(std::filesystem::path(appData)) + "\\" + name;
  const std::string path = NextRunSetupPath("KexWell", name);
  EXPECT_EQ(path, folder + "\\kexwell.usr");
  EXPECT_TRUE(Platform::FolderExists(folder));
  ProgramSettings settings;
  EXPECT_FALSE(LoadNextRunSetup(path, settings)) << "no file yet";
  ASSERT_TRUE(SaveSetupToFile(path, settings));
  EXPECT_TRUE(LoadNextRunSetup(path, settings));
  std::error_code ignored;
  std::filesystem::remove_all(FileSystemPath(folder), ignored);
}
