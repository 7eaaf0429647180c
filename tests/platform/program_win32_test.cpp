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
