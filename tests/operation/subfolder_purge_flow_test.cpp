#include "operation/subfolder_purge_flow.h"

#include <gtest/gtest.h>

#include "support/scoped_locale_format.h"

using namespace SubfolderPurgeFlow;

namespace {

const std::string kClosing =
    "\r\n\r\nClick 'OK' to begin purging the files in the selected folders\r\nor click 'Cancel' to "
    "terminate this operation.\r\n\r\nThe operation can be interrupted (and then stopped)\r\nby pressing "
    "the F10 key twice.";

#ifdef _WIN32
const std::string kSystemName = "Windows";
#else
const std::string kSystemName = "the operating system";
#endif
const std::string kSureAboutSelected =
    "\r\n\r\nAre you SURE that you wish to purge all files in that folder (and its subfolders)?";

std::string System(const std::string& path) {
  return "You have included the " + path + " folder!\r\nIf this folder contains the files for the operating "
         "system for\r\nthe PC that you are using then purging the files in this folder\r\nwill almost "
         "certainly make your computer unbootable and unusable\r\nunless you reinstall " + kSystemName + "." +
         kSureAboutSelected;
}

std::string Programs(const std::string& path) {
  return "You have included the " + path + " folder!\r\nThis folder normally contains many files allowing "
         "execution of installed programs.\r\nIf you delete these files then you won't be able to run these "
         "programs." + kSureAboutSelected;
}

}  // namespace

// The first selected folder of the operating system is named, then each folder of installed
// programs in turn; a folder below one of those is not warned about.
TEST(SubfolderPurgeFlowWarnings, SystemAndProgramFoldersAreWarnedAboutByTheirWholeNames) {
  const struct { std::vector<std::string> paths, warnings; } cases[] = {
#ifdef _WIN32
      {{"C:\\Program Files\\Common Files", "C:\\Program Files"}, {Programs("C:\\Program Files")}},
      {{"C:\\Program Files old", "C:\\Data\\Program Files", "C:\\Users\\ann"}, {}},
      {{"C:\\Users\\ann", "c:\\program files (x86)\\", "C:\\Windows\\System32", "C:\\WINDOWS"},
       {System("C:\\Windows\\System32"), Programs("c:\\program files (x86)\\")}},
#else
      {{"/opt/x", "/opt", "/usrdata"}, {Programs("/opt")}},
      {{"/srv/a", "/var/log", "/etc", "/usr/local", "/opt"},
       {System("/var/log"), Programs("/opt"), Programs("/usr/local")}},
      {{"/home/ann", "/"}, {System("/")}},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(SelectedPathWarnings(c.paths), c.warnings) << c.paths[0];
#ifdef _WIN32
  const char* const warnedParents[] = {"C:\\WINDOWS\\", "D:\\Windows\\"};
  const char* const otherParents[] = {"C:\\", "C:\\Win\\"};
#else
  const char* const warnedParents[] = {"/", "/usr/share/"};
  const char* const otherParents[] = {"/usrdata/", "/home/ann/"};
#endif
  for (const char* parent : warnedParents)
    EXPECT_EQ(ParentWarning(parent),
              "You have selected the " + std::string(parent) + " folder!\r\nThis folder contains the "
              "files for the operating system for\r\nthe PC that you are using. Purging files in this "
              "folder\r\nwill may make your computer unbootable and unusable\r\nunless you reinstall " +
              kSystemName + ".\r\n\r\nAre you SURE that you wish to purge files\r\nin some or all "
              "subfolders of this folder?");
  for (const char* parent : otherParents) EXPECT_FALSE(ParentWarning(parent)) << parent;
}

// One path follows the colon unless it is long; of eleven, ten are listed and one more is counted.
TEST(SubfolderPurgeFlowTexts, TheNoticeAndTheSummaryListTheFoldersTheSizeAndTheNotes) {
  EXPECT_EQ(NoSubfoldersMessage("/home/ann/"),
            "/home/ann/ has no subfolders.\r\n\r\nIf you wish to purge just the files in this folder\r\n"
            "then click on 'Specify folder' to select this folder\r\nand click on 'Specify files' to select "
            "all files.");
  TestSupport::ScopedLocaleFormat english(StrProc::LocaleFormat::English());
  EXPECT_EQ(SummaryText({{"/home/ann/old"}, 2048, false}, false),
            "One folder will be purged: /home/ann/old\r\n\r\n"
            "The total size of the files to be purged is 2.0 KB." + kClosing);
  const std::string longPath = "/home/ann/" + std::string(30, 'a');  // 40 characters
  EXPECT_TRUE(SummaryText({{longPath}, 0, false}, false)
                  .starts_with("One folder will be purged:\r\n" + longPath + "\r\n"));
  Selection selection{{}, 1073741824.0, true};
  for (int i = 0; i < 11; ++i) selection.paths.push_back("/d/f" + std::to_string(i));
  EXPECT_EQ(SummaryText(selection, true),
            "Eleven folders will be purged:\r\n/d/f0\r\n/d/f1\r\n/d/f2\r\n/d/f3\r\n/d/f4\r\n/d/f5\r\n"
            "/d/f6\r\n/d/f7\r\n/d/f8\r\n/d/f9\r\nand 1 more.\r\n\r\nThe total size of the files to be purged "
            "is over 1.0 GB.\r\nNote that not all files in each folder were checked for size\r\nso the "
            "actual total size may be MUCH greater than this.\r\n\r\nNote also that the current date "
            "restriction does NOT apply\r\nwhen purging folders.  ALL files in the selected subfolders\r\n"
            "(and their subfolders) will be purged regardless of date." + kClosing);
  selection.paths.resize(10);
  EXPECT_EQ(SummaryText(selection, false).find("more."), std::string::npos) << "ten are all listed";
}
