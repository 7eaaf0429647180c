#include <algorithm>
#include <ranges>

#include "operation/run_fixture.h"
#include "support/file_setup.h"
#include "support/native_path.h"

using namespace TestSupport;

// Files dated on or after the limit are left out; emptied subfolders go, but never the top folder.
TEST_F(RunTest, ADatedPurgeReportsEachFileAndEachRemovedFolder) {
  MakeFolders(folder / NativePath("sub/deeper"));
  for (const char* n : {"old.txt", "new.txt", "sub/deeper/f.txt"})  // 2005-01-01, 2026-12-06
    SetModificationTime(WriteFile(folder / NativePath(n), n), n[0] == 'n' ? 1796553000 : 1104537600);
  settings.dateRestriction.lngOnlyBeforeThisJDN = 2455198;  // 2010-01-01
  settings.options.blnDeleteEmptyFolders = true;
  Target("*.txt", true);
  Purge();

  const std::string f = folder.Path();
  const std::string deeper = folder / NativePath("sub/deeper");
  EXPECT_EQ(run.Report(),
            std::string(kDateLine) + "Purging files " + f + "*.txt \r\n" +
                "(including *.txt files in subfolders) \r\nwhich satisfy the date restriction\r\n" +
                "using alternate bit patterns plus zeros once.\r\n\r\n" + f + "\r\nold.txt (7 bytes)" +
                Purged() + "\r\n\r\n" + deeper + NativePath("/") + "\r\nf.txt (16 bytes)" + Purged() +
                "\r\nFolder " + deeper + " removed.\r\n\r\n\r\nFolder " + folder / "sub" +
                " removed.\r\n\r\nNumber of files: 2\r\nNumber of files purged: 2\r\n" +
                (TellsPlacement() ? "" : "Number of files purged but not verified: 2\r\n") +
                "Sum of sizes of files purged: 23 bytes\r\n\r\nNumber of folders removed: 2\r\n" + kDateLine);
  EXPECT_TRUE(Exists(f));
}

TEST_F(RunTest, FolderNamesOnlyWritesADotPerPurgedFileAndALineForAFileNotPurged) {
  MakeFolders(folder / NativePath("dots/refused"));
  for (const char* name : {"dots/a", "dots/b", "dots/c", "dots/refused/ro.txt"})
    WriteFile(folder / NativePath(name), "x");
  MakeReadOnly(folder / NativePath("dots/refused/ro.txt"));
  settings.options.blnFolderNamesOnly = true;
  Target("*.*", true);
  Purge();

  EXPECT_TRUE(Contains(run.Report(), "\r\n(including all files in subfolders) \r\nusing alternate bit"));
  EXPECT_TRUE(Contains(run.Report(), "\r\n" + folder / NativePath("dots/") + "\r\n. . . "));
  EXPECT_TRUE(Contains(run.Report(), "\r\n" + folder / NativePath("dots/refused/") +
                                         "\r\n. ro.txt: file is a read-only file, not purged.\r\n"
                                         "(Perhaps file is in use by another program.)\r\n"));
  EXPECT_EQ(ReadFile(folder / NativePath("dots/refused/ro.txt")), "x");
  EXPECT_TRUE(Contains(run.Report(), "Number of files *.*: 4\r\nNumber of files purged: 3\r\n"));
}

// A name without wildcards is that file in each folder and nothing else; Windows names ignore case,
// so a namesake in capitals is that same file there.
TEST_F(RunTest, ANameWithoutWildcardsPurgesThatFileInEachFolderAndNothingElse) {
  MakeFolders(folder / NativePath("sub/sub2"));
  for (const char* n : {"same.txt", "sub/same.txt", "same.txt.bak", "sub/sub2/Same.TXT"})
    WriteFile(folder / NativePath(n), n);
  Target("same.txt", true);
  Purge();
  EXPECT_EQ(ReadFile(folder / "same.txt.bak"), "same.txt.bak");
  EXPECT_EQ(run.lngNumFilesPurged, Platform::kPathSeparator == '\\' ? 3 : 2);
}

TEST_F(RunTest, AFullReportClosesButThePurgeGoesOnAndTheSummaryIsWritten) {
  for (int i = 0; i < 300; ++i) WriteFile(folder / (std::string(200, 'n') + std::to_string(i)), "x");
  Target("*.*");
  Purge();

  EXPECT_TRUE(Contains(run.Report(), "The report buffer has been filled, so this report cannot continue.  "
                                     "The purge operation will continue, but without report of results for "
                                     "individual files.\r\n\r\nNumber of files *.*: 300\r\nNumber of files "
                                     "purged: 300\r\n"));
  EXPECT_TRUE(run.Report().ends_with(kDateLine));
  // The lines went out while the run went on, up to the first 60,417 characters that a full
  // report keeps.
  const auto full = std::ranges::find_if(host.reports, [](auto& r) { return Contains(r, "buffer has"); });
  ASSERT_NE(full, host.reports.begin());
  EXPECT_GT(host.progress[full - host.reports.begin() - 1].first, 60000u);
}

// A pause waits at the poll point and the run goes on after Continue. A stop during a pass lets the
// pass finish; the pass gauge is drawn for a large file only and gives way to the file's outcome. A
// count after the stopped run is not stopped by it.
TEST_F(RunTest, APauseHoldsTheRunAtThePollPointAndAStopDuringAPassLetsThePassFinish) {
  settings.purgeType.SelectIndex(1, 2);  // three passes: 9 overwrites, above 1 MB/s for 400,000 bytes
  for (const char* name : {"a", "b", "c"}) WriteFile(folder / name, name);
  host.onYield = [&] {
    if (run.lngNumFilesPurged == 1 && host.pausedWaits == 0 && !run.Paused) run.PauseContinueButton();
  };
  host.onPausedWait = [&] {
    EXPECT_TRUE(run.Status() == RunStatus::Paused && run.lngNumFilesPurged == 1) << "nothing is purged";
    if (host.pausedWaits == 3) run.PauseContinueButton();
  };
  Target("*.*");
  Purge();
  EXPECT_TRUE(host.pausedWaits == 3 && run.lngNumFilesPurged == 3 && run.Status() == RunStatus::Done);

  WriteFile(folder / "x.dat", Repeat('x', 400000));
  host.onYield = [this] { if (run.Report().ends_with(" 12_")) run.StopButton(); };
  Purge();
  std::vector<std::string> drawn;  // each line with a gauge as it was drawn
  for (const std::string& line : host.progress | std::views::values)
    if (line.ends_with("_") && (drawn.empty() || drawn.back() != line)) drawn.push_back(line);
  const std::string x = "x.dat (400,000 bytes) purging ";
  EXPECT_EQ(drawn, (std::vector<std::string>{x + "___", x + "1__", x + "12_"}));
  EXPECT_EQ(ReadFile(folder / "x.dat"), Repeat('\0', 400000)) << "the second pass ran to its end";
  EXPECT_TRUE(Contains(run.Report(), "\r\nx.dat (400,000 bytes): purge stopped after 2 of 3 passes;"));
  EXPECT_TRUE(Contains(run.Report(), "Number of files purged: 0\r\n"));
  EXPECT_EQ(run.Status(), RunStatus::Stopped);
  WriteFile(folder / "y.dat", "y");
  Process(Request(RunKind::Count));
  EXPECT_EQ(run.lngNumFilesProcessed, 2);
}
