#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/proc_text.h"
#include "platform/program.h"

using Platform::AbsolutePath;
using Platform::ProcText::ParseSwaps;

TEST(SwapList, HoldsOnlySwapFilesWithTheirNamesDecoded) {
  const auto files = ParseSwaps(
      "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
      "/dev/sda3                               partition\t8388604\t\t0\t\t-2\n"
      "/swapfile                               file\t\t2097148\t\t1024\t\t-3\n"
      "/var/swap\\040space\\134x               file\t\t1048572\t\t0\t\t-4\n"
      "broken\nrelative/swap file 1 0 -5");
  EXPECT_EQ(files, (std::vector<std::string>{"/swapfile", "/var/swap space\\x"}));
}

// Dots and repeated separators fold away, parent names stay; a relative path is taken from the
// current folder.
TEST(AbsolutePath, FoldsDotsAndRepeatedSeparatorsButKeepsParentNames) {
  const std::string base = std::filesystem::current_path().string();  // never "/" in a test
  const std::pair<std::string, std::string> rows[] = {
      {"/a//b/./c", "/a/b/c"}, {"/a/../b", "/a/../b"}, {"//", "/"},   {"/", "/"},
      {"/a/b/", "/a/b/"},      {"/a/b/.", "/a/b/"},    {"", ""},       {"/a b/\\c", "/a b/\\c"},
      {"x/./y", base + "/x/y"}, {"../z", base + "/../z"}, {".", base + "/"}};
  for (const auto& [path, expected] : rows) EXPECT_EQ(AbsolutePath(path), expected) << path;
}
