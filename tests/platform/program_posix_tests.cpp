#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/proc_text.h"
#include "platform/program.h"
#include "support/temp_folder.h"

namespace {

using Platform::AbsolutePath;
using Platform::ProcText::ParseSwaps;

TEST(SwapList, HoldsOnlySwapFilesWithTheirNamesDecoded) {
  const auto files = ParseSwaps(
      "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
      "/dev/sda3                               partition\t8388604\t\t0\t\t-2\n"
      "/swapfile                               file\t\t2097148\t\t1024\t\t-3\n"
      "/var/swap\\040space\\134x               file\t\t1048572\t\t0\t\t-4\n"
      "broken\n"
      "/zram                                   \n"
      "relative/swap file 1 0 -5");
  EXPECT_EQ(files, (std::vector<std::string>{"/swapfile", "/var/swap space\\x"}));
  EXPECT_TRUE(ParseSwaps("").empty());
  EXPECT_TRUE(ParseSwaps("Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n").empty());
}

TEST(AbsolutePath, FoldsDotsAndRepeatedSeparatorsButKeepsParentNames) {
  EXPECT_EQ(AbsolutePath("/a//b/./c"), "/a/b/c");
  EXPECT_EQ(AbsolutePath("/a/../b"), "/a/../b");
  EXPECT_EQ(AbsolutePath("//"), "/");
  EXPECT_EQ(AbsolutePath("/"), "/");
  EXPECT_EQ(AbsolutePath("/a/b/"), "/a/b/");
  EXPECT_EQ(AbsolutePath("/a/b/."), "/a/b/");
  EXPECT_EQ(AbsolutePath("/a b/\\c"), "/a b/\\c");
  EXPECT_EQ(AbsolutePath(""), "");
}

TEST(AbsolutePath, TakesARelativePathFromTheCurrentFolder) {
  const std::string current = std::filesystem::current_path().string();
  const std::string base = current == "/" ? "" : current;
  EXPECT_EQ(AbsolutePath("x/./y"), base + "/x/y");
  EXPECT_EQ(AbsolutePath("../z"), base + "/../z");
  EXPECT_EQ(AbsolutePath("."), base + "/");
}

TEST(ProgramFolders, StartWithTheFolderOfTheRunningProgram) {
  const std::string expected =
      std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(Platform::ExecutableFolder(), expected);
  const auto folders = Platform::ProgramFolders();
  ASSERT_FALSE(folders.empty());
  EXPECT_EQ(folders.front(), expected);
  for (const auto& folder : folders) EXPECT_EQ(folder.back(), '/');
}

// An installed program lies in <prefix>/bin/ and finds its data in <prefix>/share/kexwell/; run
// from its build folder it finds them beside itself, and those come first.
TEST(ProgramFolders, HoldTheInstalledDataFolderAndFindEachFileInTheFirstThatHoldsIt) {
  const TestSupport::TempFolder prefix;
  const std::string bin = prefix / "bin/";
  const std::string data = prefix / "share/kexwell/";
  std::filesystem::create_directories(bin);
  EXPECT_EQ(Platform::ProgramFoldersOf(bin), (std::vector<std::string>{bin}));
  EXPECT_TRUE(Platform::ProgramFoldersOf("").empty());
  std::filesystem::create_directories(data);
  const std::vector<std::string> folders = Platform::ProgramFoldersOf(bin);
  ASSERT_EQ(folders, (std::vector<std::string>{bin, data}));

  TestSupport::WriteFile(data + "kexwell.dat", "texts");
  TestSupport::WriteFile(data + "kx_help.txt", "help");
  TestSupport::WriteFile(bin + "kx_help.txt", "help of the build");
  const struct {
    std::vector<std::string> folders;
    std::string name;
    std::string expected;
  } cases[] = {
      {folders, "kexwell.dat", data + "kexwell.dat"},
      {folders, "kx_help.txt", bin + "kx_help.txt"},
      {folders, "missing.txt", bin + "missing.txt"},
      {{bin}, "kexwell.dat", bin + "kexwell.dat"},
      {{}, "kexwell.dat", "kexwell.dat"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Platform::ProgramFilePath(c.folders, c.name), c.expected) << c.name;
}

}  // namespace
