// The POSIX store file: its bytes, the lines of others it keeps, the stores it never replaces,
// and two processes writing at once.

#include "setups/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <tuple>
#include <string>
#include <system_error>

#include "support/child_process.h"
#include "support/environment.h"
#include "support/temp_folder.h"

namespace {

using Registry::RegWriteString;
using namespace TestSupport;
namespace fs = std::filesystem;

constexpr Registry::RootKey kUser = Registry::RootKey::CurrentUser;
const std::string kKey = "Software\\Kexwell\\kexwell\\/home";
const std::string kKeySection = "[Software\\\\Kexwell\\\\kexwell\\\\/home]\n";

std::string Success(const std::string& status) { return status + "  " + std::system_category().message(0); }

std::string Failure(int number) {
  return std::to_string(number) + " Unable to create (or find) key.  " +
         std::system_category().message(number);
}

// A fresh store in a temporary folder for each test; the earlier store path comes back after it.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Registry::SetStorePath(store);
    std::filesystem::create_directories(folder / "config/kexwell");
  }
  void TearDown() override { Registry::SetStorePath(saved); }

  // The value's text, or the status when it is not "0 OK".
  std::string Read(const std::string& keyPath, const std::string& name) {
    std::string text;
    const std::string status = Registry::RegReadString(kUser, keyPath, name, text);
    return status == "0 OK" ? text : status;
  }

  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  const std::string store = folder / "config/kexwell/registry.ini";
};

TEST_F(RegistryTest, TheStoreKeepsTheFirstSpellingNeverGrowsTooLongAndOnlyItsOwnerMayReadIt) {
  std::filesystem::remove_all(folder / "config");
  ASSERT_EQ(RegWriteString(kUser, kKey, "Speed", "12.5"), Success("0 New key created."));
  ASSERT_EQ(RegWriteString(kUser, "SOFTWARE\\kexwell\\KEXWELL\\/home", "speed", "20"),
            Success("0 Key already exists."));
  // A write that would make the store too long to read is refused and the store kept.
  EXPECT_EQ(RegWriteString(kUser, kKey, "Big", std::string(Registry::kMaxStoreBytes, 'x')), Failure(EFBIG));
  EXPECT_EQ(ReadFile(store), kKeySection + "Speed=20\n");
  const auto mode = [](const std::string& path) { return static_cast<int>(fs::status(path).permissions()); };
  EXPECT_EQ(mode(store), 0600);
  EXPECT_EQ(mode(folder / "config/kexwell"), 0700);
  EXPECT_EQ(mode(folder / "config"), 0700);
}

TEST_F(RegistryTest, ValuesWithLineBreaksEqualsSignsBracketsAndBackslashesComeBackAsWritten) {
  const std::string oddKey = "Soft]ware\\[x]\n\\/media/a=b\\";
  const std::string oddName = "=na[me]\\=";
  const std::string oddValue = std::string("=first\r\nsecond\\n\t\x01\x7f") + '\0' + "=[é]";
  ASSERT_EQ(RegWriteString(kUser, oddKey, oddName, oddValue), Success("0 New key created."));
  ASSERT_EQ(RegWriteString(kUser, kKey, "Speed", "3"), Success("0 New key created."));
  ASSERT_EQ(RegWriteString(kUser, oddKey, ";plain", ""), Success("0 Key already exists."));
  EXPECT_EQ(Read(oddKey, oddName), oddValue);
  EXPECT_EQ(Read(oddKey, ";plain"), "");
  EXPECT_EQ(ReadFile(store), "[Soft]ware\\\\[x]\\n\\\\/media/a=b\\\\]\n"
                             "\\=na\\[me\\]\\\\\\===first\\r\\nsecond\\\\n\\x09\\x01\\x7F\\x00=[é]\n"
                             "\\;plain=\n\n" + kKeySection + "Speed=3\n");
}

// A file edited by hand: lines of someone else's around the section "/other" stay byte for byte
// while its "Speed=3" is changed in place; of two lines for one value the later one is read and
// changed; a new value follows the last line of its section, with the section's line breaks; a new
// key goes at the end, after the last line is ended.
TEST_F(RegistryTest, AFileEditedByHandKeepsWhatItDoesNotUnderstandWhileValuesAreChangedAndAdded) {
  const std::string other = "Software\\Kexwell\\kexwell\\/other";
  const std::string start = "# by hand\nSpeed=1\n[]\nSpeed=1\n[broken\n"
                            "[Software\\\\Kexwell\\\\kexwell\\\\/other]\n; Speed=1\nneither\n=2\n" +
                            std::string("\0\x01\xFF\xFE=1\n", 6) + "\xC3\x28 not UTF-8\nSpeed=3\n" +
                            "[x\nSpeed=4\n\r\n[software\\\\kexwell\\\\KEXWELL\\\\/HOME]\r\n";
  WriteFile(store, start + "\r\nSPEED=4.5\r\nSpeed=5\\x41\r\n\r\n[Next]\nSpeed=1");
  EXPECT_EQ(Read(kKey, "Speed"), "5A");
  EXPECT_EQ(Read(other, "Speed"), "3");
  ASSERT_EQ(RegWriteString(kUser, kKey, "speed", "6"), Success("0 Key already exists."));
  ASSERT_EQ(RegWriteString(kUser, kKey, "Count", "2"), Success("0 Key already exists."));
  ASSERT_EQ(RegWriteString(kUser, other, "Speed", "4.25"), Success("0 Key already exists."));
  ASSERT_EQ(RegWriteString(kUser, "Last", "Speed", "7"), Success("0 New key created."));
  std::string expected =
      start + "\r\nSPEED=4.5\r\nSpeed=6\r\nCount=2\r\n\r\n[Next]\nSpeed=1\n\n[Last]\nSpeed=7\n";
  EXPECT_EQ(ReadFile(store), expected.replace(expected.find("\nSpeed=3\n"), 9, "\nSpeed=4.25\n"));
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "config/kexwell"), {}), 1);
}

// A store that cannot be read whole is never replaced: every write fails with the system's
// reason and every read finds nothing.
TEST_F(RegistryTest, AStoreThatCannotBeReadIsNeverReplaced) {
  const std::string kept = "[A]\nSpeed=2\n";
  // Only root's own files can be unreadable for root: the write is then made as another user.
  const bool asNobody = CanDropPrivileges();
  for (const std::string& path : {folder.Path(), folder / "config", folder / "config/kexwell"})
    ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
  const std::string link = folder / "link.ini";
  ASSERT_EQ(::symlink(store.c_str(), link.c_str()), 0);
  // {the store path, its contents, its mode, the reason}
  const std::tuple<std::string, std::string, mode_t, int> cases[] = {
      {store, kept, 0, EACCES}, {link, kept, 0600, EPERM}, {store + "/a.ini", kept, 0600, ENOTDIR},
      {store, kept + std::string(Registry::kMaxStoreBytes, 'x') + "\n", 0600, EFBIG}};
  for (const auto& [path, contents, mode, error] : cases) {
    SCOPED_TRACE(error);
    WriteFile(store, contents);
    ASSERT_EQ(::chmod(store.c_str(), mode), 0);
    Registry::SetStorePath(path);
    const int outcome = RunInChild([&, reason = error, locked = mode == 0] {
      if (asNobody && locked && !BecomeNobody()) return 90;
      return (RegWriteString(kUser, "A", "Speed", "9") == Failure(reason) ? 0 : 1) |
             (Read("A", "Speed") == "1 Key not found or is empty." ? 0 : 2);
    });
    EXPECT_EQ(outcome, 0) << "1: the write's status, 2: the read's status";
    ASSERT_EQ(::chmod(store.c_str(), 0600), 0);
    EXPECT_TRUE(ReadFile(store) == contents) << "the store was changed";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "config/kexwell"), {}), 1);
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), {}), 2);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLeaveAWholeStore) {
  ASSERT_EQ(RegWriteString(kUser, "Start", "Speed", "0"), Success("0 New key created."));
  pid_t children[2] = {};
  for (int child = 0; child < 2; ++child) {
    ASSERT_GE(children[child] = ::fork(), 0);
    if (children[child] == 0) {
      const std::string key = "Writer " + std::to_string(child);
      bool ok = true;
      for (int i = 0; i < 40; ++i)
        ok = RegWriteString(kUser, key, "Speed", std::to_string(i)).front() == '0' && ok;
      ::_exit(ok ? 0 : 1);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  // The file is always one writer's complete version: the last one to rename its file holds its
  // own last value; the other writer's key, when there, holds one of its values (a write made
  // meanwhile may be lost).
  const std::string values[2] = {Read("Writer 0", "Speed"), Read("Writer 1", "Speed")};
  for (const std::string& value : values)
    EXPECT_TRUE(value == "1 Key not found or is empty." || std::stoul(value) <= 39u) << value;
  EXPECT_TRUE(values[0] == "39" || values[1] == "39");
  EXPECT_EQ(Read("Start", "Speed"), "0");
}

}  // namespace
