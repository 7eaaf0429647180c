#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/program.h"
#include "support/temp_folder.h"

TEST(AbsolutePath, FoldsDotsAndParentNamesAsWindowsDoes) {
  const std::string current = TestSupport::Utf8Path(std::filesystem::current_path() / "");
  const std::pair<std::string, std::string> rows[] = {
      {"C:\\a\\..\\b\\.\\c", "C:\\b\\c"}, {"C:/a//b/", "C:\\a\\b\\"}, {"C:\\..\\x", "C:\\x"},
      {"x\\.\\y", current + "x\\y"},      {"", ""}};
  for (const auto& [path, expected] : rows) EXPECT_EQ(Platform::AbsolutePath(path), expected);
}

// (The application data folder: setup_file_win32_test.cpp.)

// The same folder written in capitals and with "/" is named as the system names it, in the short
// form, and the part not yet made is kept as written.
TEST(ResolveLinks, GivesTheExistingPartAsTheSystemNamesItAndKeepsTheRestAsWritten) {
  const TestSupport::TempFolder temp;
  const std::string resolved = Platform::ResolveLinks(temp.Path());
  EXPECT_EQ(resolved.back(), '\\') << resolved;
  EXPECT_EQ(resolved.find("\\\\?\\"), std::string::npos) << resolved;
  std::string written = temp.Path();
  for (char& c : written) c = c == '\\' ? '/' : static_cast<char>(std::toupper(c));
  EXPECT_EQ(Platform::ResolveLinks(written + "Missing/Deeper"), resolved + "Missing\\Deeper");
}
