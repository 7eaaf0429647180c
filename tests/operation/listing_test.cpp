#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>

#include "operation/run_fixture.h"
#include "platform/drives.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string DriveRoot(const std::string& path) {
  Platform::DriveInfo drive;
  EXPECT_FALSE(Platform::DriveOfPath(path, drive));
  return drive.root;
}

}  // namespace

TEST_F(RunTest, AListingOfOneFileGivesItsLineAndTheUnmeasuredSpeedSentence) {
  const std::string path = WriteFile(folder / "a.txt", Repeat('x', 1536));
  const timespec times[2] = {{1796553000, 0}, {1796553000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  Target("*.*");
  List();

  EXPECT_EQ(run.Report(), folder.Path() + "\r\na.txt (12/06/2026, 1.50 KB)\r\n\r\n" +
                              "Number of files *.*: 1\r\n" +
                              "For an estimate of the purge time test the purge speed for Drive " +
                              DriveRoot(folder.Path()) + " then relist.");
  EXPECT_TRUE(fs::exists(path)) << "a listing touches nothing";
  bool lineEnded = false;
  for (const std::string& report : host.reports)
    lineEnded = lineEnded || Contains(report, "a.txt (12/06/2026, 1.50 KB)   \r\n");
  EXPECT_TRUE(lineEnded) << "the line ends in three blanks before the summary trims them";
}

TEST_F(RunTest, AListingWithoutFolderNamesShowsADotPerFolderWithMatchingFiles) {
  fs::create_directories(folder / "sub/empty");
  WriteFile(folder / "a.txt", "aa");
  WriteFile(folder / "sub/b.txt", "bbb");
  run.blnDisplayFileNames = false;
  run.blnDisplayFolderNames = false;
  Target("*.txt", true);
  settings.purgeSpeeds.Set(DriveRoot(folder.Path()), 10.0f, 1);
  List();

  const std::string start = " . .\r\n\r\nNumber of files: 2\r\nSum of file sizes: 5 bytes\r\n\r\n";
  EXPECT_EQ(run.Report().substr(0, start.size()), start);
  EXPECT_TRUE(Contains(run.Report(), "Purge type: "));
  EXPECT_EQ(run.EstimatedTimeCaption, "Less than a minute.");
}

TEST_F(RunTest, ACountStopsAtTheLimitAndSaysMoreThanAThousand) {
  for (int i = 0; i < 1000; ++i) WriteFile(folder / std::to_string(i), "");
  Target("*.*");
  run.strNextDirPath = folder.Path();
  run.strCurrentFileSpec = "*.*";
  EXPECT_EQ(run.CountMatchingFilesOfTarget(), 1000);
  WriteFile(folder / "one-more", "");
  EXPECT_EQ(run.CountMatchingFilesOfTarget(), -1);
  EXPECT_TRUE(run.Report().empty()) << "counting writes no report";
}

TEST_F(RunTest, AFullReportStopsAListing) {
  const std::string longName(200, 'n');
  for (int i = 0; i < 300; ++i) WriteFile(folder / (longName + std::to_string(i)), "x");
  Target("*.*");
  List();

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Report buffer full");
  EXPECT_EQ(dialogs.shown[0].text,
            "The output report buffer has been filled, so this report cannot continue.");
  EXPECT_LT(run.lngNumFilesProcessed, 300);
  EXPECT_TRUE(Contains(run.Report(),
                       "\r\n\r\nThe output report buffer was filled.\r\nNote: Some "
                       "files or folders were not listed.\r\n\r\nNumber of files"));
  EXPECT_TRUE(Contains(run.Report(), "Listing was stopped.\r\n\r\n"));
  EXPECT_FALSE(Contains(run.Report(), "For an estimate")) << "no estimate for a stopped listing";
}

TEST_F(RunTest, AnUnreadableFolderIsPassedOverAndTheWalkGoesOn) {
  fs::create_directories(folder / "locked");
  fs::create_directories(folder / "open");
  WriteFile(folder / "locked/a.txt", "a");
  WriteFile(folder / "open/b.txt", "b");
  fs::permissions(folder / "locked", fs::perms::none);
  if (geteuid() == 0) {
    // Root reads every folder; a folder that vanishes is just as unreadable.
    fs::permissions(folder / "locked", fs::perms::owner_all);
    fs::remove_all(folder / "locked");
  }
  Target("*.txt", true);
  List();
  EXPECT_EQ(run.lngNumFilesProcessed, 1);
  EXPECT_TRUE(Contains(run.Report(), folder.Path() + "open/\r\n"));
}
