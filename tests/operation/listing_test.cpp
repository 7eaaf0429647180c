#include <algorithm>
#include <filesystem>

#include "operation/run_fixture.h"
#include "platform/drives.h"
#include "support/file_setup.h"
#include "support/native_path.h"

using namespace TestSupport;

namespace {

std::string DriveRoot(const std::string& path) {
  Platform::DriveInfo drive;
  EXPECT_FALSE(Platform::DriveOfPath(path, drive));
  return drive.root;
}

}  // namespace

// The warnings of the target's drive follow the estimate on lines of their own.
TEST_F(RunTest, AListingOfOneFileGivesItsLineTheUnmeasuredSpeedSentenceAndTheDrivesWarnings) {
  const std::string path = WriteFile(folder / "a.txt", Repeat('x', 1536));
  SetModificationTime(path, 1796553000);
  MakeFolders(folder / "sub");
  WriteFile(folder / NativePath("sub/b.dat"), "bbb");
  // The drive is the target folder's, not that of the subfolder that the walk entered last.
  run.volumeWarnings = [](const std::string& where) { return std::vector<std::string>{where, "Warning."}; };
  Target("*.txt", true);
  List();

  EXPECT_EQ(run.Report(), folder.Path() + "\r\na.txt (12/06/2026, 1.50 KB)\r\n\r\nNumber of files: 1\r\n"
                          "For an estimate of the purge time test the purge speed for Drive " +
                              DriveRoot(folder.Path()) + " then relist.\r\n\r\n" + folder.Path() +
                              "\r\nWarning.\r\n");
  // The line ends in three blanks until the summary trims them.
  EXPECT_TRUE(std::ranges::any_of(host.reports, [](const std::string& report) {
    return Contains(report, "a.txt (12/06/2026, 1.50 KB)   \r\n");
  }));
}

// The sizes are counted in full also for a file of 2 GiB or more.
TEST_F(RunTest, AListingWithoutFolderNamesShowsADotPerFolderWithMatchingFiles) {
  MakeFolders(folder / NativePath("sub/empty"));
  std::filesystem::resize_file(FileSystemPath(WriteFile(folder / "a.txt", "")), std::uintmax_t{3} << 30);
  WriteFile(folder / NativePath("sub/b.txt"), "bbb");
  Target("*.txt", true);
  settings.purgeSpeeds.Set(DriveRoot(folder.Path()), 10.0f, 1);
  List(false);

  const std::string start = " . .\r\n\r\nNumber of files: 2\r\nSum of file sizes: 3,072.00 MB\r\n\r\n";
  EXPECT_EQ(run.Report().substr(0, start.size()), start);
  EXPECT_EQ(run.dblTotalBytesPurged, 3.0 * (1 << 30) + 3);
  EXPECT_EQ(run.EstimatedTimeCaption, "3 minutes and 15 seconds");
}

// A count stops at its limit; a listing stops when its report is full.
TEST_F(RunTest, ACountStopsAtTheLimitAndAFullReportStopsAListing) {
  for (int i = 0; i < 1000; ++i) WriteFile(folder / (std::string(200, 'n') + std::to_string(i)), "x");
  Target("*.*");
  EXPECT_EQ(run.CountMatchingFilesOfTarget(Request(RunKind::Count)), 1000);
  WriteFile(folder / "one-more", "");
  EXPECT_EQ(run.CountMatchingFilesOfTarget(Request(RunKind::List)), -1)
      << "a count counts whatever kind of run it is given";
  EXPECT_TRUE(run.Report().empty()) << "counting writes no report";
  List();

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title + "|" + dialogs.shown[0].text,
            "Report buffer full|The output report buffer has been filled, so this report cannot continue.");
  EXPECT_LT(run.lngNumFilesProcessed, 1000);
  EXPECT_TRUE(Contains(run.Report(), "\r\n\r\nThe output report buffer was filled.\r\nNote: Some files or "
                                     "folders were not listed.\r\n\r\nNumber of files"));
  EXPECT_TRUE(Contains(run.Report(), "Listing was stopped.\r\n\r\n"));
  EXPECT_FALSE(Contains(run.Report(), "For an estimate")) << "no estimate for a stopped listing";
}
