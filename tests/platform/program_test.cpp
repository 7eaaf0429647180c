// The folders the program takes its files from, on every system.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/program.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using TestSupport::NativePath;

TEST(ProgramFolders, StartWithTheFolderOfTheRunningProgramThatHoldsItsTexts) {
  const std::string folder = Platform::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  // The program texts lie beside the tests as beside the program.
  EXPECT_TRUE(TestSupport::Exists(folder + "kexwell.dat")) << folder;
  EXPECT_EQ(Platform::ProgramFolders(), Platform::ProgramFoldersOf(folder));
}

// An installed program lies in <prefix>/bin/ and finds its data in <prefix>/share/kexwell/; run
// from its build folder it finds them beside itself, and those come first.
TEST(ProgramFolders, HoldTheInstalledDataFolderAndFindEachFileInTheFirstThatHoldsIt) {
  const TestSupport::TempFolder prefix;
  const std::string bin = prefix / NativePath("bin/");
  const std::string data = prefix / NativePath("share/kexwell/");
  TestSupport::MakeFolders(bin);
  EXPECT_EQ(Platform::ProgramFoldersOf(bin), (std::vector<std::string>{bin}));
  EXPECT_TRUE(Platform::ProgramFoldersOf("").empty());
  TestSupport::MakeFolders(data);
  const std::vector<std::string> folders = Platform::ProgramFoldersOf(bin);
  ASSERT_EQ(folders, (std::vector<std::string>{bin, data}));

  TestSupport::WriteFile(data + "kexwell.dat", "texts");
  TestSupport::WriteFile(data + "kx_help.txt", "help");
  TestSupport::WriteFile(bin + "kx_help.txt", "help of the build");
  const struct { std::vector<std::string> folders; std::string name, expected; } cases[] = {
      {folders, "kexwell.dat", data + "kexwell.dat"}, {folders, "kx_help.txt", bin + "kx_help.txt"},
      {folders, "missing.txt", bin + "missing.txt"},  {{}, "kexwell.dat", "kexwell.dat"}};
  for (const auto& c : cases)
    EXPECT_EQ(Platform::ProgramFilePath(c.folders, c.name), c.expected) << c.name;
}
