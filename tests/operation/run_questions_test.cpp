#include "operation/run_fixture.h"

#include <cstdio>
#include <regex>

#include "support/file_setup.h"
#include "support/native_path.h"

using namespace TestSupport;

TEST_F(RunTest, ThePurgeQueryAsksOncePerExtensionForTheRunItIsAnsweredInAndCancelStopsIt) {
  MakeFolder(folder / "sub");
  const std::string first = WriteFile(folder / "tool.exe", "MZ");
  WriteFile(folder / NativePath("sub/other.exe"), "MZ");
  Target("*.*", true);
  dialogs.Answer(MessageAnswer::No);
  Purge();
  const MessageBoxRequest& query = dialogs.shown.at(0);  // asked once: see the count below
  EXPECT_EQ(query.title + "|" + query.text,
            "Purge query|" + first + "\r\n\r\nYou have requested to purge a file with an \"exe\" extension."
            "\r\nDo you wish to allow all files with this extension to be purged?\r\n"
            "(Permission lasts only during the course of this operation.)");
  EXPECT_TRUE(query.buttons == MessageButtons::YesNoCancel && query.defaultButton == MessageAnswer::No);
  EXPECT_TRUE(Contains(run.Report(), "other.exe: \"exe\" files are not purged.\r\n"));

  // The next run asks again; Cancel stops the whole run.
  const std::string later = WriteFile(folder / NativePath("sub/b.txt"), "2");
  dialogs.Answer(MessageAnswer::Cancel);
  Purge();
  EXPECT_EQ(ReadFile(first) + ReadFile(later), "MZ2") << "the subfolders are not visited";

  // Yes purges every file of the extension.
  dialogs.Answer(MessageAnswer::Yes);
  Purge();
  EXPECT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(run.lngNumFilesPurged, 3);

  // Sensitive files allowed in the options are purged without a question; one file purged: done.
  WriteFile(folder / "a.ini", "1");
  settings.options.blnOKToPurgeSensitiveFiles = true;
  Purge();
  EXPECT_TRUE(dialogs.shown.size() == 3u && !Exists(folder / "a.ini") && run.Status() == RunStatus::Done);
}

// Files removed while a confirmation is open get lines with the system's reason; then the
// confirmation takes each of its answers.
TEST_F(RunTest, ThePerFileConfirmationTakesEachOfItsAnswersAndFilesGoneMeanwhileGetTheReason) {
  const std::string a = WriteFile(folder / "a.txt", Repeat('x', 1536));
  const std::string b = WriteFile(folder / "b.txt", Repeat('x', 1536));
  settings.blnConfirmFiles = true;
  host.confirmations = {FileConfirmation::Purge};  // the file gone later is not asked about
  host.onConfirm = [&] { ASSERT_EQ(std::remove(a.c_str()) + std::remove(b.c_str()), 0); };
  Target("*.*");
  Purge();
  // The file asked about had its size; the system's reason, in brackets, ends each line.
  const bool aFirst = host.labels.at(0).starts_with(a + " ");
  const std::string reason = R"(: unable to open file for writing\. \([^()\r\n]+\)\r\n)";
  for (const std::string& start : {std::string(aFirst ? "a" : "b") + R"(\.txt \(1,536 bytes\))",
                                   std::string(aFirst ? "b" : "a") + R"(\.txt \(0 bytes\))"})
    EXPECT_TRUE(std::regex_search(run.Report(), std::regex("\r\n" + start + reason))) << start;

  host.onConfirm = nullptr;
  for (const char* name : {"a", "b", "c", "d"}) {
    MakeFolder(folder / name);
    WriteFile(folder / name + NativePath("/f.txt"), Repeat('x', 1536));
  }
  // No more questions after "purge all": the host fails a question not scripted.
  host.confirmations = {FileConfirmation::Purge, FileConfirmation::Skip, FileConfirmation::PurgeAll};
  Target("*.txt", true);
  Purge();
  EXPECT_EQ(run.lngNumFilesPurged, 3);
  EXPECT_TRUE(Contains(run.Report(), "f.txt not purged.\r\n"));

  // "Stop this purge" on the first file, named with its size and date, ends the run there.
  const std::string path = WriteFile(folder / "Report.PDF", Repeat('x', 1536));
  SetModificationTime(path, 1796553000);
  host.labels.clear();
  host.confirmations = {FileConfirmation::Stop};
  Target("*.*", true);
  Purge();
  EXPECT_EQ(host.labels, std::vector<std::string>{path + "     1.50 KB     12/06/2026"});
  EXPECT_EQ(ReadFile(path), Repeat('x', 1536));
  EXPECT_EQ(run.Status(), RunStatus::Stopped);
  EXPECT_TRUE(Contains(run.Report(), "Report.PDF not purged.\r\n"));
}
