#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/program.h"
#include "support/temp_folder.h"

namespace {

using Platform::AbsolutePath;

std::string CurrentFolder() { return TestSupport::Utf8Path(std::filesystem::current_path()); }

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

TEST(AbsolutePath, FoldsDotsAndParentNamesAsWindowsDoes) {
  EXPECT_EQ(AbsolutePath("C:\\a\\..\\b\\.\\c"), "C:\\b\\c");
  EXPECT_EQ(AbsolutePath("C:/a//b/"), "C:\\a\\b\\");
  EXPECT_EQ(AbsolutePath("C:\\..\\x"), "C:\\x");
  std::string current = CurrentFolder();
  if (current.back() != '\\') current += '\\';
  EXPECT_EQ(AbsolutePath("x\\.\\y"), current + "x\\y");
  EXPECT_EQ(AbsolutePath(""), "");
}

TEST(ProgramFolders, StartWithTheFolderThatHoldsTheProgramAndItsTexts) {
  const std::string folder = Platform::ExecutableFolder();
  ASSERT_GE(folder.size(), 3u);
  EXPECT_EQ(folder[1], ':') << folder;
  EXPECT_EQ(folder.back(), '\\') << folder;
  // The program texts lie beside the tests as beside the program.
  EXPECT_TRUE(std::filesystem::is_regular_file(TestSupport::FileSystemPath(folder + "kexwell.dat")))
      << folder;
  const auto folders = Platform::ProgramFolders();
  ASSERT_FALSE(folders.empty());
  EXPECT_EQ(folders.front(), folder);
}

// An installed program lies in <prefix>\bin\ and finds its data in <prefix>\share\kexwell\;
// beside itself (the build folder) comes first.
TEST(ProgramFolders, HoldTheInstalledDataFolderAndFindEachFileInTheFirstThatHoldsIt) {
  const TestSupport::TempFolder prefix;
  const std::string bin = prefix / "bin\\";
  const std::string data = prefix / "share\\kexwell\\";
  std::filesystem::create_directories(TestSupport::FileSystemPath(bin));
  EXPECT_EQ(Platform::ProgramFoldersOf(bin), (std::vector<std::string>{bin}));
  std::filesystem::create_directories(TestSupport::FileSystemPath(data));
  const std::vector<std::string> folders = Platform::ProgramFoldersOf(bin);
  ASSERT_EQ(folders, (std::vector<std::string>{bin, data}));
  TestSupport::WriteFile(data + "kexwell.dat", "texts");
  TestSupport::WriteFile(bin + "kx_help.txt", "help of the build");
  TestSupport::WriteFile(data + "kx_help.txt", "help");
  EXPECT_EQ(Platform::ProgramFilePath(folders, "kexwell.dat"), data + "kexwell.dat");
  EXPECT_EQ(Platform::ProgramFilePath(folders, "kx_help.txt"), bin + "kx_help.txt");
  EXPECT_EQ(Platform::ProgramFilePath(folders, "missing.txt"), bin + "missing.txt");
}

TEST(ApplicationDataFolder, IsAnExistingFolderWithoutTrailingSeparator) {
  const std::string folder = Platform::ApplicationDataFolder();
  ASSERT_GE(folder.size(), 3u);
  EXPECT_EQ(folder.substr(1, 2), ":\\") << folder;
  if (folder.size() > 3) {
    EXPECT_NE(folder.back(), '\\') << folder;
  }
  EXPECT_TRUE(std::filesystem::is_directory(TestSupport::FileSystemPath(folder))) << folder;
}

TEST(ResolveLinks, GivesTheExistingPartAsTheSystemNamesItAndKeepsTheRestAsWritten) {
  const TestSupport::TempFolder temp;
  const std::string resolved = Platform::ResolveLinks(temp.Path());
  ASSERT_FALSE(resolved.empty());
  EXPECT_EQ(resolved.back(), '\\') << resolved;
  EXPECT_EQ(resolved.find("\\\\?\\"), std::string::npos) << resolved;
  // The same folder written in capitals and with "/" is named as the system names it.
  std::string written = UpperCase(temp.Path());
  for (char& c : written) {
    if (c == '\\') c = '/';
  }
  EXPECT_EQ(Platform::ResolveLinks(written + "Missing/Deeper"), resolved + "Missing\\Deeper");
  EXPECT_EQ(Platform::ResolveLinks(written), resolved);
}

}  // namespace
