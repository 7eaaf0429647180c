#include "engine/file_proc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "support/file_inspection.h"
#include "support/file_setup.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
// The program's own functions of these names, not Windows' macros.
#undef DeleteFile
#undef GetFileAttributes
#endif

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

// A deletion whose tries are scripted: each entry says whether that try fails, and the waits
// between tries are recorded instead of slept.
struct ScriptedDeletion {
  explicit ScriptedDeletion(std::vector<bool> scripted = {}) : failures(std::move(scripted)) {}
  std::vector<bool> failures;
  std::function<void(const std::string&)> beforeTry, duringFailure;
  std::vector<int> waits;
  int tries = 0;

  FileProc::DeleteRetry Retry() {
    FileProc::DeleteRetry retry;
    retry.remove = [this](const std::string& path) -> std::error_code {
      if (beforeTry) beforeTry(path);
      const bool fail = ++tries <= static_cast<int>(failures.size()) && failures[tries - 1];
      if (!fail) return Platform::RemoveFile(path);
      if (duringFailure) duringFailure(path);
      return std::make_error_code(std::errc::device_or_resource_busy);
    };
    retry.sleep = [this](int ms) { waits.push_back(ms); };
    return retry;
  }
};

}  // namespace

TEST(DeleteFile, TriesFourTimesHalfASecondApartAndAFileThatAnotherDeletesCountsAsDeleted) {
  const struct { std::vector<bool> failures; bool deletedByAnother, deleted; int tries; } rows[] = {
      {{true, true, true, true, false}, false, false, 4},
      {{true, true, false}, false, true, 3},
      {{true, true, true, true}, true, true, 1}};
  for (const auto& row : rows) {
    TempFolder folder;
    const std::string path = WriteFile(folder / "f", "x");
    ScriptedDeletion deletion(row.failures);
    if (row.deletedByAnother)
      deletion.duringFailure = [](const std::string& p) { fs::remove(FileSystemPath(p)); };
    EXPECT_EQ(FileProc::DeleteFile(path, true, true, true, deletion.Retry()), row.deleted);
    EXPECT_EQ(deletion.tries, row.tries);
    EXPECT_EQ(deletion.waits, std::vector<int>(static_cast<std::size_t>(row.tries - 1), 500));
    EXPECT_EQ(fs::exists(FileSystemPath(path)), !row.deleted);
  }
}

TEST(DeleteFile, AMissingFileIsAlreadyDeletedAndAReadOnlyOneLosesTheAttributeWhenAsked) {
  TempFolder folder;
  EXPECT_TRUE(FileProc::DeleteFile(folder / "never", true, true, true));
  for (const bool clear : {true, false}) {
    const std::string path = WriteFile(folder / (clear ? "ro1" : "ro2"), "x");
    MakeReadOnly(path);
    bool wasWritable = false;
    ScriptedDeletion deletion;
    deletion.beforeTry = [&](const std::string& p) { wasWritable = !ReadOnlyOnDisk(p); };
    const bool deleted = FileProc::DeleteFile(path, true, clear, true, deletion.Retry());
    EXPECT_EQ(wasWritable, clear);
#ifdef _WIN32
    // Windows refuses to delete a read-only file.
    EXPECT_EQ(deleted, clear);
    EXPECT_EQ(deletion.tries, clear ? 1 : 4);
#else
    // POSIX asks the folder's permissions, not the file's.
    EXPECT_TRUE(deleted);
    EXPECT_EQ(deletion.tries, 1);
#endif
    EXPECT_EQ(fs::exists(FileSystemPath(path)), !deleted);
  }
}

TEST(UniqueName, AppendsTheFirstFreeNumber) {
  TempFolder folder;
  const std::string stub = folder / "_kx_dummy";
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "1");
  WriteFile(stub + "1", "");
  MakeFolder(stub + "2");
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "3");
}
