#include <cctype>
#include <filesystem>

#include "operation/result_texts.h"
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
  std::vector<std::string> asked;
  run.volumeWarnings = [&asked](const std::string& where) {
    asked.push_back(where);
    return std::vector<std::string>{"First warning.", "Second warning."};
  };
  Target("*.txt", true);
  List();

#ifdef _WIN32
  // A Windows drive is named by its upper-case letter alone.
  const std::string drive(1, static_cast<char>(std::toupper(folder.Path()[0])));
  EXPECT_EQ(DriveRoot(folder.Path()), drive);
#else
  const std::string drive = DriveRoot(folder.Path());
#endif
  EXPECT_EQ(run.Report(), folder.Path() + "\r\na.txt (12/06/2026, 1.50 KB)\r\n\r\n" +
                              "Number of files: 1\r\n" +
                              "For an estimate of the purge time test the purge speed for Drive " +
                              drive + " then relist.\r\n\r\nFirst warning.\r\nSecond warning.\r\n");
  // The drive is the target folder's, not that of the subfolder that the walk entered last.
  EXPECT_EQ(asked, std::vector<std::string>{folder.Path()});
  EXPECT_EQ(ReadFile(path), Repeat('x', 1536)) << "a listing touches nothing";
  bool lineEnded = false;
  for (const std::string& report : host.reports)
    lineEnded = lineEnded || Contains(report, "a.txt (12/06/2026, 1.50 KB)   \r\n");
  EXPECT_TRUE(lineEnded) << "the line ends in three blanks before the summary trims them";
}

TEST_F(RunTest, AListingCountsTheWholeLengthOfAFileOf2GiBOrMore) {
  const std::string path = WriteFile(folder / "big.bin", "x");
  std::filesystem::resize_file(FileSystemPath(path), std::uintmax_t{3} << 30);
  SetModificationTime(path, 1796553000);
  Target("*.*");
  List();
  EXPECT_TRUE(Contains(run.Report(),
                       "\r\nbig.bin (12/06/2026, 3.00 GB)\r\n\r\nNumber of files *.*: 1\r\n"))
      << run.Report();
  EXPECT_EQ(run.dblTotalBytesPurged, 3.0 * (1 << 30)) << "the estimate counts all of it";
}

TEST_F(RunTest, AListingWithoutFolderNamesShowsADotPerFolderWithMatchingFiles) {
  MakeFolders(folder / NativePath("sub/empty"));
  WriteFile(folder / "a.txt", "aa");
  WriteFile(folder / NativePath("sub/b.txt"), "bbb");
  Target("*.txt", true);
  settings.purgeSpeeds.Set(DriveRoot(folder.Path()), 10.0f, 1);
  List(false);

  const std::string start = " . .\r\n\r\nNumber of files: 2\r\nSum of file sizes: 5 bytes\r\n\r\n";
  EXPECT_EQ(run.Report().substr(0, start.size()), start);
  EXPECT_TRUE(Contains(run.Report(), "Purge type: "));
  EXPECT_EQ(run.EstimatedTimeCaption, "Less than a minute.");
}

TEST_F(RunTest, ACountStopsAtTheLimitAndSaysMoreThanAThousand) {
  for (int i = 0; i < 1000; ++i) WriteFile(folder / std::to_string(i), "");
  Target("*.*");
  EXPECT_EQ(run.CountMatchingFilesOfTarget(Request(RunKind::Count)), 1000);
  WriteFile(folder / "one-more", "");
  EXPECT_EQ(run.CountMatchingFilesOfTarget(Request(RunKind::List)), -1)
      << "a count counts whatever kind of run it is given";
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

TEST_F(RunTest, AFolderThatCannotBeReadAnyMoreIsReportedWithTheReasonAndTheWalkGoesOn) {
  MakeFolders(folder / "gone");
  MakeFolders(folder / "open");
  for (const char* name : {"top.txt", "gone/a.txt", "open/b.txt"}) {
    WriteFile(folder / NativePath(name), "x");
    SetModificationTime(folder / NativePath(name), 1796553000);
  }
  // The subfolders are walked after the files of their parent: the first file's poll takes one
  // of them away.
  host.onYield = [this] {
    if (Exists(folder / "gone")) std::filesystem::remove_all(FileSystemPath(folder / "gone"));
  };
  Target("*.txt", true);
  List();
  EXPECT_EQ(run.lngNumFilesProcessed, 2);
  // The last line of a listing loses its trailing blanks, whichever folder comes last.
  EXPECT_TRUE(
      Contains(run.Report(), folder / NativePath("open/") + "\r\nb.txt (12/06/2026, 1 bytes)"))
      << run.Report();
  EXPECT_TRUE(Contains(run.Report(),
                       "\r\n" + folder / NativePath("gone/") + " (folder): cannot be read (" +
                           ReasonText(std::make_error_code(std::errc::no_such_file_or_directory)) +
                           ").\r\n"))
      << run.Report();
  EXPECT_TRUE(Contains(run.Report(), "Number of folders not listed: 1\r\n"));
}
