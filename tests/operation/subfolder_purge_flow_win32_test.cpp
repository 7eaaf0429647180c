// The warnings for folders of the operating system and of installed programs as Windows names
// them: the drive's Windows folder and everything below it, and the drive's Program Files
// folders, in any case.

#include <gtest/gtest.h>

#include "operation/subfolder_purge_flow.h"

using namespace SubfolderPurgeFlow;

namespace {

std::string SystemWarning(const std::string& path) {
  return "You have included the " + path +
         " folder!\r\n"
         "If this folder contains the files for the operating system for\r\n"
         "the PC that you are using then purging the files in this folder\r\n"
         "will almost certainly make your computer unbootable and unusable\r\n"
         "unless you reinstall Windows.\r\n\r\n"
         "Are you SURE that you wish to purge all files in that folder (and its subfolders)?";
}

std::string ProgramsWarning(const std::string& path) {
  return "You have included the " + path +
         " folder!\r\n"
         "This folder normally contains many files allowing execution of installed programs.\r\n"
         "If you delete these files then you won't be able to run these programs.\r\n\r\n"
         "Are you SURE that you wish to purge all files in that folder (and its subfolders)?";
}

}  // namespace

TEST(SubfolderPurgeFlowWarnings, ProgramFilesSelectedIsWarnedAboutButAFolderBelowItIsNot) {
  EXPECT_EQ(SelectedPathWarnings({"C:\\Program Files\\Common Files", "C:\\Program Files"}),
            std::vector<std::string>{ProgramsWarning("C:\\Program Files")});
  EXPECT_EQ(SelectedPathWarnings({"d:\\PROGRAM FILES\\"}),
            std::vector<std::string>{ProgramsWarning("d:\\PROGRAM FILES\\")})
      << "any drive, any case, a trailing separator";
  EXPECT_EQ(SelectedPathWarnings({"C:\\Program Files (x86)"}),
            std::vector<std::string>{ProgramsWarning("C:\\Program Files (x86)")});
  EXPECT_TRUE(
      SelectedPathWarnings({"C:\\Program Files\\Common Files", "C:\\Program Files (x86)\\Kexwell",
                            "C:\\Program Files old", "C:\\Data\\Program Files", "C:\\Users\\ann"})
          .empty());
}

TEST(SubfolderPurgeFlowWarnings, EveryPathBeginningWithTheWindowsFolderIsWarnedAbout) {
  for (const char* path : {"C:\\WINDOWS", "C:\\Windows\\", "c:\\windows\\System32",
                           "C:\\WINDOWS\\Temp\\old", "D:\\Windows", "C:\\WINDOWS.old"}) {
    EXPECT_EQ(SelectedPathWarnings({"C:\\Users\\ann", path}),
              std::vector<std::string>{SystemWarning(path)})
        << path;
    EXPECT_TRUE(IsSystemFolder(path)) << path;
  }
  for (const char* path : {"C:\\Win", "C:\\Users\\ann\\Windows", "C:\\", "C:\\Temp"})
    EXPECT_FALSE(IsSystemFolder(path)) << path;
}

TEST(SubfolderPurgeFlowWarnings, OnlyTheFirstWindowsPathIsNamedThenEachProgramFolderInTurn) {
  const std::vector<std::string> warnings =
      SelectedPathWarnings({"C:\\Users\\ann", "c:\\program files (x86)\\", "C:\\Windows\\System32",
                            "C:\\Program Files", "C:\\WINDOWS", "C:\\Program Files (x86)"});
  EXPECT_EQ(warnings, (std::vector<std::string>{SystemWarning("C:\\Windows\\System32"),
                                                ProgramsWarning("C:\\Program Files"),
                                                ProgramsWarning("c:\\program files (x86)\\")}));
}

TEST(SubfolderPurgeFlowWarnings, AParentNamedWindowsInAnyCaseIsWarnedAbout) {
  EXPECT_EQ(
      *ParentWarning("C:\\WINDOWS\\"),
      "You have selected the C:\\WINDOWS\\ folder!\r\n"
      "This folder contains the files for the operating system for\r\n"
      "the PC that you are using. Purging files in this folder\r\n"
      "will may make your computer unbootable and unusable\r\n"
      "unless you reinstall Windows.\r\n\r\n"
      "Are you SURE that you wish to purge files\r\nin some or all subfolders of this folder?");
  EXPECT_TRUE(ParentWarning("c:\\windows\\system32\\").has_value());
  EXPECT_TRUE(ParentWarning("D:\\Windows\\").has_value());
  for (const char* parent : {"C:\\", "C:\\Users\\ann\\", "C:\\Program Files\\", "C:\\Win\\"})
    EXPECT_FALSE(ParentWarning(parent).has_value()) << parent;
}
