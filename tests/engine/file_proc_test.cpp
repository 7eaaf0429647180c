#include "engine/file_proc.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "support/temp_folder.h"

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

TEST(DeleteFile, TriesFourTimesHalfASecondApartThenGivesUp) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "f", "x");
  ScriptedDeletion deletion({true, true, true, true, false});
  EXPECT_FALSE(FileProc::DeleteFile(path, true, true, true, deletion.Retry()));
  EXPECT_EQ(deletion.tries, 4);
  EXPECT_EQ(deletion.waits, (std::vector<int>{500, 500, 500}));
  EXPECT_TRUE(fs::exists(path));
}

TEST(DeleteFile, SucceedsOnALaterTry) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "f", "x");
  ScriptedDeletion deletion({true, true, false});
  EXPECT_TRUE(FileProc::DeleteFile(path, true, true, true, deletion.Retry()));
  EXPECT_EQ(deletion.tries, 3);
  EXPECT_FALSE(fs::exists(path));
}

TEST(DeleteFile, AFileThatSomeoneElseDeletesBetweenTriesCountsAsDeleted) {
  TempFolder folder;
  const std::string path = WriteFile(folder / "f", "x");
  ScriptedDeletion deletion({true, true, true, true});
  deletion.duringFailure = [](const std::string& p) { fs::remove(p); };
  EXPECT_TRUE(FileProc::DeleteFile(path, true, true, true, deletion.Retry()));
  EXPECT_EQ(deletion.tries, 1);
  EXPECT_TRUE(deletion.waits.empty());
}

TEST(DeleteFile, AMissingFileIsAlreadyDeletedAndAReadOnlyOneLosesTheAttributeFirst) {
  TempFolder folder;
  EXPECT_TRUE(FileProc::DeleteFile(folder / "never", true, true, true));
  const std::string path = WriteFile(folder / "ro", "x");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  bool wasWritable = false;
  FileProc::DeleteRetry retry;
  retry.remove = [&wasWritable](const std::string& p) {
    struct stat info {};
    stat(p.c_str(), &info);
    wasWritable = (info.st_mode & S_IWUSR) != 0;
    return Platform::RemoveFile(p);
  };
  EXPECT_TRUE(FileProc::DeleteFile(path, true, true, true, retry));
  EXPECT_TRUE(wasWritable);
}

TEST(UniqueName, AppendsTheFirstFreeNumber) {
  TempFolder folder;
  const std::string stub = folder / "_kx_dummy";
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "1");
  WriteFile(stub + "1", "");
  fs::create_directory(stub + "2");
  EXPECT_EQ(FileProc::UniqueName(stub), stub + "3");
}
