// The warnings for folders of the operating system and of installed programs as POSIX names them:
// "/", /usr, /etc and the like, /opt and /usr/local.

#include <gtest/gtest.h>

#include "operation/subfolder_purge_flow.h"

using namespace SubfolderPurgeFlow;

TEST(SubfolderPurgeFlowWarnings, AParentUnderUsrIsWarnedAboutButOneMerelyNamedLikeItIsNot) {
  EXPECT_EQ(
      *ParentWarning("/usr/share/"),
      "You have selected the /usr/share/ folder!\r\n"
      "This folder contains the files for the operating system for\r\n"
      "the PC that you are using. Purging files in this folder\r\n"
      "will may make your computer unbootable and unusable\r\n"
      "unless you reinstall the operating system.\r\n\r\n"
      "Are you SURE that you wish to purge files\r\nin some or all subfolders of this folder?");
  EXPECT_TRUE(ParentWarning("/").has_value());
  EXPECT_TRUE(ParentWarning("/etc/").has_value());
  EXPECT_FALSE(ParentWarning("/usrdata/").has_value());
  EXPECT_FALSE(ParentWarning("/home/ann/").has_value());
}

TEST(SubfolderPurgeFlowWarnings, OptSelectedIsWarnedAboutButAFolderBelowItIsNot) {
  const std::vector<std::string> warnings = SelectedPathWarnings({"/opt/x", "/opt", "/usrdata"});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0],
            "You have included the /opt folder!\r\n"
            "This folder normally contains many files allowing execution of installed programs.\r\n"
            "If you delete these files then you won't be able to run these programs.\r\n\r\n"
            "Are you SURE that you wish to purge all files in that folder (and its subfolders)?");
  EXPECT_TRUE(SelectedPathWarnings({"/opt/x", "/usrdata", "/home/ann"}).empty());
}

TEST(SubfolderPurgeFlowWarnings, OnlyTheFirstSystemPathIsNamedAndEachKindIsAskedInTurn) {
  const std::vector<std::string> warnings =
      SelectedPathWarnings({"/srv/a", "/var/log", "/etc", "/usr/local", "/opt"});
  ASSERT_EQ(warnings.size(), 3u);
  EXPECT_EQ(warnings[0],
            "You have included the /var/log folder!\r\n"
            "If this folder contains the files for the operating system for\r\n"
            "the PC that you are using then purging the files in this folder\r\n"
            "will almost certainly make your computer unbootable and unusable\r\n"
            "unless you reinstall the operating system.\r\n\r\n"
            "Are you SURE that you wish to purge all files in that folder (and its subfolders)?");
  EXPECT_EQ(warnings[1].rfind("You have included the /opt folder!\r\nThis folder normally", 0), 0u);
  EXPECT_EQ(
      warnings[2].rfind("You have included the /usr/local folder!\r\nThis folder normally", 0), 0u);
}
