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

#ifdef _WIN32
constexpr bool kReadOnlyDeletes = false;  // Windows refuses to delete a read-only file
#else
constexpr bool kReadOnlyDeletes = true;  // POSIX asks the folder's permissions, not the file's
#endif

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
    // Each try fails where the row says; the waits between tries are recorded instead of slept.
    int tries = 0;
    bool wasWritable = false;
    std::vector<int> waits;
    FileProc::DeleteRetry retry;
    retry.remove = [&](const std::string& name) -> std::error_code {
      wasWritable = !ReadOnlyOnDisk(name);
      if (++tries > static_cast<int>(row.failures.size()) || !row.failures[tries - 1])
        return Platform::RemoveFile(name);
      if (row.byAnother) fs::remove(FileSystemPath(name));
      return std::make_error_code(std::errc::device_or_resource_busy);
    };
    retry.sleep = [&waits](int ms) { waits.push_back(ms); };
    EXPECT_EQ(FileProc::DeleteFile(path, true, row.clear, true, retry), row.deleted);
    EXPECT_EQ(wasWritable, !row.readOnly || row.clear);
    EXPECT_EQ(waits, std::vector<int>(static_cast<std::size_t>(row.tries - 1), 500)) << "tries: " << tries;
    EXPECT_EQ(fs::exists(FileSystemPath(path)), !row.deleted);
  }
}

TEST(UniqueName, AppendsTheFirstFreeNumber) {
  TempFolder folder;
  const std::string stub = folder / "_kx_dummy";
  WriteFile(stub + "1", "");
  MakeFolder(stub + "2");
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "3");
}
