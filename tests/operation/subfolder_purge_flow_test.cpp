#include "operation/subfolder_purge_flow.h"

#include <gtest/gtest.h>

#include "support/scoped_locale_format.h"

using namespace SubfolderPurgeFlow;

namespace {

const std::string kClosing =
    "\r\n\r\nClick 'OK' to begin purging the files in the selected folders\r\n"
    "or click 'Cancel' to terminate this operation.\r\n\r\n"
    "The operation can be interrupted (and then stopped)\r\nby pressing the F10 key twice.";

}  // namespace

TEST(SubfolderPurgeFlowTexts, TheQuestionChooserAndNoSubfolderNoticeReadAsTheProgramWordsThem) {
  EXPECT_STREQ(kCaption, "Purge folders");
  EXPECT_EQ(StartQuestion(),
            "Do you wish to purge all files in\r\nselected subfolders of some folder?\r\n"
            "(Note that all files in all subfolders of the\r\nselected subfolders will also be "
            "purged.)\r\n\r\nIf so, first select a folder, then select the subfolders\r\n"
            "of that folder that you wish to purge.");
  EXPECT_EQ(
      ChooserTitle(),
      "Specify the folder containing the subfolders\r\nto be purged (or a selection of them)");
  EXPECT_EQ(NoSubfoldersMessage("/home/ann/"),
            "/home/ann/ has no subfolders.\r\n\r\nIf you wish to purge just the files in this "
            "folder\r\nthen click on 'Specify folder' to select this folder\r\n"
            "and click on 'Specify files' to select all files.");
  EXPECT_STREQ(kNoneSelected, "No subolders were selected.");
  EXPECT_EQ(SelectionCaption("/home/ann/"), "Select subfolders of /home/ann/ to be purged.");
}

TEST(SubfolderPurgeFlowWarnings, AFolderHoldsOnlyPathsBelowItsWholeName) {
  EXPECT_TRUE(IsSameOrBelow("/usr", "/usr"));
  EXPECT_TRUE(IsSameOrBelow("/usr/x/", "/usr"));
  EXPECT_FALSE(IsSameOrBelow("/usrdata", "/usr"));
#ifdef _WIN32
  EXPECT_TRUE(IsSameOrBelow("C:\\Data\\x", "C:\\Data\\"));
  EXPECT_FALSE(IsSameOrBelow("C:\\Database", "C:\\Data"));
#endif
}

TEST(SubfolderPurgeFlowSummary, OneShortPathFollowsTheColonAndALongOneTakesItsOwnLine) {
  TestSupport::ScopedLocaleFormat english(StrProc::LocaleFormat::English());
  EXPECT_EQ(SummaryText({{"/home/ann/old"}, 2048, false}, false),
            "One folder will be purged: /home/ann/old\r\n\r\n"
            "The total size of the files to be purged is 2.0 KB." +
                kClosing);
  const std::string longPath = "/home/ann/" + std::string(30, 'a');
  EXPECT_EQ(SummaryText({{longPath}, 0, false}, false).substr(0, 28 + longPath.size()),
            "One folder will be purged:\r\n" + longPath);
}

TEST(SubfolderPurgeFlowSummary, ElevenFoldersListTenPathsThenOneMoreWithTheLimitAndDateNotes) {
  TestSupport::ScopedLocaleFormat english(StrProc::LocaleFormat::English());
  Selection selection;
  for (int i = 0; i < 11; ++i) selection.paths.push_back("/d/f" + std::to_string(i));
  selection.totalSize = 1073741824.0;
  selection.overLimit = true;
  EXPECT_EQ(SummaryText(selection, true),
            "Eleven folders will be purged:\r\n/d/f0\r\n/d/f1\r\n/d/f2\r\n/d/f3\r\n/d/f4\r\n"
            "/d/f5\r\n/d/f6\r\n/d/f7\r\n/d/f8\r\n/d/f9\r\nand 1 more.\r\n\r\n"
            "The total size of the files to be purged is over 1.0 GB.\r\n"
            "Note that not all files in each folder were checked for size\r\n"
            "so the actual total size may be MUCH greater than this.\r\n\r\n"
            "Note also that the current date restriction does NOT apply\r\n"
            "when purging folders.  ALL files in the selected subfolders\r\n"
            "(and their subfolders) will be purged regardless of date." +
                kClosing);
  selection.paths.resize(10);
  const std::string ten = SummaryText(selection, false);
  EXPECT_EQ(ten.find("more."), std::string::npos);
  EXPECT_EQ(ten.find("date restriction"), std::string::npos);
}
