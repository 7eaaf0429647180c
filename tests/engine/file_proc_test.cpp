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

// The tries of a deletion: each fails where `failures` says, and then `duringFailure` runs. The
// waits between tries are recorded instead of slept, and whether the file was writable at the last.
struct ScriptedDeletion {
  std::vector<bool> failures;
  bool deletedByAnother;
  std::vector<int> waits{};
  int tries = 0;
  bool wasWritable = false;

  FileProc::DeleteRetry Retry() {
    FileProc::DeleteRetry retry;
    retry.remove = [this](const std::string& path) -> std::error_code {
      wasWritable = !ReadOnlyOnDisk(path);
      const bool fail = ++tries <= static_cast<int>(failures.size()) && failures[tries - 1];
      if (!fail) return Platform::RemoveFile(path);
      if (deletedByAnother) fs::remove(FileSystemPath(path));
      return std::make_error_code(std::errc::device_or_resource_busy);
    };
    retry.sleep = [this](int ms) { waits.push_back(ms); };
    return retry;
  }
};

#ifdef _WIN32
constexpr bool kReadOnlyDeletes = false;  // Windows refuses to delete a read-only file
#else
constexpr bool kReadOnlyDeletes = true;  // POSIX asks the folder's permissions, not the file's
#endif

}  // namespace

TEST(DeleteFile, TriesFourTimesHalfASecondApartClearsReadOnlyWhenAskedAndAFileGoneCountsAsDeleted) {
  TempFolder folder;
  EXPECT_TRUE(FileProc::DeleteFile(folder / "never", true, true, true));
  // {the tries that fail, another program deletes the file then, read-only, clear read-only,
  // deleted, tries}
  const struct { std::vector<bool> failures; bool byAnother, readOnly, clear, deleted; int tries; } rows[] = {
      {{true, true, true, true, false}, false, false, true, false, 4},
      {{true, true, false}, false, false, true, true, 3},
      {{true, true, true, true}, true, false, true, true, 1},
      {{}, false, true, true, true, 1},
      {{}, false, true, false, kReadOnlyDeletes, kReadOnlyDeletes ? 1 : 4}};
  for (const auto& row : rows) {
    const std::string path = WriteFile(folder / ("f" + std::to_string(&row - rows)), "x");
    if (row.readOnly) MakeReadOnly(path);
    ScriptedDeletion deletion{row.failures, row.byAnother};
    EXPECT_EQ(FileProc::DeleteFile(path, true, row.clear, true, deletion.Retry()), row.deleted);
    EXPECT_EQ(deletion.wasWritable, !row.readOnly || row.clear);
    EXPECT_EQ(deletion.tries, row.tries);
    EXPECT_EQ(deletion.waits, std::vector<int>(static_cast<std::size_t>(row.tries - 1), 500));
    EXPECT_EQ(fs::exists(FileSystemPath(path)), !row.deleted);
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
