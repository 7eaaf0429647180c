#include "operation/run_fixture.h"

#include "operation/run_start.h"
#include "platform/handles.h"
#include "support/temp_folder.h"

namespace TestSupport {

RunTest::RunTest() {
  host.run = &run;
  run.clock = [] { return std::time_t{1796553000}; };
  run.Environment().deleteRetry.sleep = [](int) {};
  // The reports do not depend on the disk that holds the temporary folder.
  run.volumeWarnings = [](const std::string&) { return std::vector<std::string>{}; };
  // Type 1 (0xAA, 0x55, 0x00) with one pass, unless a test chooses otherwise.
  settings.purgeType.SetPurgeType(1);
  settings.purgeType.SelectIndex(1, 0);
}

void RunTest::Target(const std::string& filespec, bool subfolders) {
  settings.target = {folder.Path(), filespec, subfolders};
}

RunRequest RunTest::Request(RunKind kind) {
  return RunStarter(settings, dialogs).RequestForTarget(kind);
}

void RunTest::Process(const RunRequest& request) {
  host.stream = ReportStream();
  host.streamed.clear();
  run.ProcessFiles(request);
  EXPECT_EQ(host.streamed, run.Report()) << "the report written as the run went differs";
}

void RunTest::Purge() {
  Process(Request(RunKind::Purge));
}

void RunTest::List(bool names) {
  RunRequest listing = Request(RunKind::List);
  listing.displayFolderNames = listing.displayFileNames = names;
  Process(listing);
}

}  // namespace TestSupport

namespace TestSupport {
namespace {

// Whether the file system of the temporary folder tells where a file's data lies.
bool TellsPlacement() {
  static const bool tells = [] {
    const TempFolder probe;
    WriteFile(probe / "probe.bin", Repeat('p', 4096));
    Platform::FolderHandle folder;
    Platform::FileHandle file;
    Platform::FileLayout layout;
    return !folder.Open(probe.Path()) && !file.OpenForWriting(folder, "probe.bin") &&
           !file.Layout(layout) && layout.located;
  }();
  return tells;
}

}  // namespace

std::string RunTest::Purged() {
  return TellsPlacement() ? " purged"
                          : " purged (not verified: the file system does not tell where a "
                            "file's data lies)";
}

std::string RunTest::NotVerifiedLine(int n) {
  return TellsPlacement()
             ? ""
             : "Number of files purged but not verified: " + std::to_string(n) + "\r\n";
}

}  // namespace TestSupport
