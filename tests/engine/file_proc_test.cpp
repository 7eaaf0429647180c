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
  explicit ScriptedDeletion(std::vector<bool> scriptedFailures)
      : failures(std::move(scriptedFailures)) {}

  std::vector<bool> failures;
  std::vector<int> waits;
  int tries = 0;
  std::function<void(const std::string&)> duringFailure;

  FileProc::DeleteRetry Retry() {
    FileProc::DeleteRetry retry;
    retry.remove = [this](const std::string& path) -> std::error_code {
      const bool fail = tries < static_cast<int>(failures.size()) && failures[tries];
      ++tries;
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
  const struct {
    std::vector<bool> failures;
    bool deletedByAnother;
    bool deleted;
    int tries;
  } rows[] = {{{true, true, true, true, false}, false, false, 4},
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
    int tries = 0;
    bool wasWritable = false;
    FileProc::DeleteRetry retry;
    retry.remove = [&](const std::string& p) {
      ++tries;
      wasWritable = !ReadOnlyOnDisk(p);
      return Platform::RemoveFile(p);
    };
    retry.sleep = [](int) {};
    const bool deleted = FileProc::DeleteFile(path, true, clear, true, retry);
    EXPECT_EQ(wasWritable, clear);
#ifdef _WIN32
    // Windows refuses to delete a read-only file.
    EXPECT_EQ(deleted, clear);
    EXPECT_EQ(tries, clear ? 1 : 4);
#else
    // POSIX asks the folder's permissions, not the file's.
    EXPECT_TRUE(deleted);
    EXPECT_EQ(tries, 1);
#endif
    EXPECT_EQ(fs::exists(FileSystemPath(path)), !deleted);
  }
}

TEST(DeleteFile, AHiddenFileIsToldAsHiddenAndDeleted) {
  TempFolder folder;
#ifdef _WIN32
  // Windows: the hidden attribute, here with the system attribute beside it.
  const std::string path = WriteFile(folder / "hidden.txt", "x");
  AddAttributes(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
#else
  // POSIX: a name that begins with a dot.
  const std::string path = WriteFile(folder / ".hidden", "x");
#endif
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_TRUE(attributes.hidden);
  EXPECT_FALSE(attributes.readOnly);
  Platform::FileAttributes plain;
  ASSERT_FALSE(Platform::GetFileAttributes(WriteFile(folder / "plain.txt", "x"), plain));
  EXPECT_FALSE(plain.hidden);
  EXPECT_FALSE(plain.system);

  EXPECT_TRUE(FileProc::DeleteFile(path, true, true, true));
  EXPECT_FALSE(fs::exists(FileSystemPath(path)));
}

TEST(UniqueName, AppendsTheFirstFreeNumber) {
  TempFolder folder;
  const std::string stub = folder / "_kx_dummy";
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "1");
  WriteFile(stub + "1", "");
  MakeFolder(stub + "2");
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "3");
}
