// Setups on Windows: setup files at paths outside the ANSI code page, and the next-run setup in the
// user's application-data folder.

#include <gtest/gtest.h>
#include <windows.h>

// After <windows.h>, which it needs.
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "setups/setup_file.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

ProgramSettings SampleSettings(const std::string& folder, const std::string& filespec) {
  ProgramSettings settings;
  settings.target = {folder, filespec, true};
  return settings;
}

// The user's application-data folder as the shell gives it, in UTF-8.
std::string ShellApplicationDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return {};
  return Utf8Path(std::filesystem::path(folder));
}

}  // namespace

TEST(SetupFileWin32, ASetupFileNamedOutsideTheAnsiCodePageIsSavedReplacedAndLoaded) {
  TempFolder folder;
  const std::string path = folder / "Ωμέγα 日本 файл.kxs";
  const std::string target = "C:\\Users\\Anna\\";
  ASSERT_TRUE(SaveSetupToFile(path, SampleSettings(target, "*.*")));
  ASSERT_TRUE(SaveSetupToFile(path, SampleSettings(target, "*.txt")));
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FileSystemPath(folder.Path()))) {
    EXPECT_EQ(Utf8Path(entry.path().filename()), "Ωμέγα 日本 файл.kxs");
    ++entries;
  }
  EXPECT_EQ(entries, 1u) << "no temporary file stays behind";

  ProgramSettings loaded;
  ASSERT_TRUE(LoadSetupFromFile(path, loaded));
  EXPECT_EQ(loaded.target.TargetFilespec, "*.txt") << "the second save replaced the first";
}

TEST(NextRunSetupWin32, ThePathLiesInTheShellsApplicationDataFolderWhichIsCreated) {
  const std::string appData = ShellApplicationDataFolder();
  ASSERT_FALSE(appData.empty());
  // A folder of the test's own, so that no setup of the user's is touched.
  const std::string name = "Kexwell Test " + std::to_string(::GetCurrentProcessId()) + " " +
                           std::to_string(::GetTickCount64());
  const std::string folder = appData + "\\" + name;
  const std::string path = NextRunSetupPath("KexWell", name);
  EXPECT_EQ(path, folder + "\\kexwell.usr");
  EXPECT_TRUE(Platform::FolderExists(folder));

  ProgramSettings settings;
  EXPECT_FALSE(LoadNextRunSetup(path, settings)) << "no file yet";
  ASSERT_TRUE(SaveSetupToFile(path, SampleSettings("C:\\Users\\Anna\\", "*.doc")));
  ProgramSettings next;
  EXPECT_TRUE(LoadNextRunSetup(path, next));
  EXPECT_EQ(next.target.TargetFolder, "C:\\Users\\Anna\\");

  std::error_code ignored;
  std::filesystem::remove_all(FileSystemPath(folder), ignored);
}
