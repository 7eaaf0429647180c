#include "setups/registry.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/program.h"
#include "support/temp_folder.h"

namespace {

using Registry::RegReadString;
using Registry::RegWriteString;
using Registry::RootKey;
using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;

constexpr RootKey kUser = RootKey::CurrentUser;
const std::string kKey = "Software\\Kexwell\\kexwell\\/home";

std::string Success(const std::string& status) {
  return status + "  " + std::system_category().message(0);
}

std::string Failure(int number) {
  return std::to_string(number) + " Unable to create (or find) key.  " +
         std::system_category().message(number);
}

mode_t ModeOf(const std::string& path) {
  struct stat entry {};
  EXPECT_EQ(::lstat(path.c_str(), &entry), 0) << path;
  return entry.st_mode & 07777;
}

std::size_t EntriesIn(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

// A fresh store in a temporary folder for each test; the earlier store path comes back after it.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { Registry::SetStorePath(store); }
  void TearDown() override { Registry::SetStorePath(saved); }

  std::string Read(const std::string& keyPath, const std::string& name, std::string& text) {
    return RegReadString(kUser, keyPath, name, text);
  }

  TempFolder folder;
  const std::string saved = Registry::StorePath();
  const std::string store = folder / "config/kexwell/registry.ini";
};

// Sets or unsets an environment variable for one test and puts the earlier state back after it.
class ScopedVariable {
 public:
  explicit ScopedVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) saved_ = value;
  }
  ~ScopedVariable() {
    if (saved_) {
      ::setenv(name_, saved_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  void Set(const std::string& value) { ::setenv(name_, value.c_str(), 1); }
  void Unset() { ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST_F(RegistryTest, AWriteCreatesTheKeyAndThenFindsItThereWhateverTheCase) {
  EXPECT_EQ(RegWriteString(kUser, kKey, "Speed", "12.5"), Success("0 New key created."));
  EXPECT_EQ(RegWriteString(kUser, kKey, "Speed", "15"), Success("0 Key already exists."));
  EXPECT_EQ(RegWriteString(kUser, "SOFTWARE\\kexwell\\KEXWELL\\/home", "speed", "20"),
            Success("0 Key already exists."));

  std::string text;
  EXPECT_EQ(Read(kKey, "SPEED", text), "0 OK");
  EXPECT_EQ(text, "20");
  // The key and the name keep the spelling they were created with.
  EXPECT_EQ(ReadFile(store), "[Software\\\\Kexwell\\\\kexwell\\\\/home]\nSpeed=20\n");
  EXPECT_EQ(ModeOf(store), 0600u);
  EXPECT_EQ(ModeOf(folder / "config/kexwell"), 0700u);
  EXPECT_EQ(ModeOf(folder / "config"), 0700u);
}

TEST_F(RegistryTest, AReadAnswersEachMissingPieceWithItsOwnStatusAndLeavesTheTextAlone) {
  std::string text = "untouched";
  EXPECT_EQ(Read(kKey, "Speed", text), "1 Key not found or is empty.");  // no store yet
  ASSERT_EQ(RegWriteString(kUser, kKey, "Speed", "7"), Success("0 New key created."));
  EXPECT_EQ(Read("", "Speed", text), "1 Key not found or is empty.");
  EXPECT_EQ(Read(kKey + "\\x", "Speed", text), "1 Key not found or is empty.");
  EXPECT_EQ(Read(kKey, "", text), "2 Name not specified.");
  EXPECT_EQ(Read(kKey, "Speedy", text), "3 Name not found.");
  EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryTest, AWriteWithAnEmptyKeyPathOrNameIsRefusedBecauseItCouldNeverBeRead) {
  EXPECT_EQ(RegWriteString(kUser, "", "Speed", "1"), Failure(EINVAL));
  EXPECT_EQ(RegWriteString(kUser, kKey, "", "1"), Failure(EINVAL));
  EXPECT_FALSE(std::filesystem::exists(store));
}

TEST_F(RegistryTest, ValuesWithLineBreaksEqualsSignsBracketsAndBackslashesComeBackAsWritten) {
  const std::string oddKey = "Soft]ware\\[x]\n\\/media/a=b\\";
  const std::string oddName = "=na[me]\\=";
  const std::string oddValue = std::string("=first\r\nsecond\\n\t\x01\x7f") + '\0' + "=[é]";
  ASSERT_EQ(RegWriteString(kUser, oddKey, oddName, oddValue), Success("0 New key created."));
  ASSERT_EQ(RegWriteString(kUser, kKey, "Speed", "3"), Success("0 New key created."));
  ASSERT_EQ(RegWriteString(kUser, oddKey, "plain", ""), Success("0 Key already exists."));

  std::string text;
  EXPECT_EQ(Read(oddKey, oddName, text), "0 OK");
  EXPECT_EQ(text, oddValue);
  EXPECT_EQ(Read(oddKey, "plain", text), "0 OK");
  EXPECT_EQ(text, "");
  EXPECT_EQ(Read(kKey, "Speed", text), "0 OK");
  EXPECT_EQ(text, "3");
  EXPECT_EQ(ReadFile(store),
            "[Soft]ware\\\\[x]\\n\\\\/media/a=b\\\\]\n"
            "\\=na\\[me\\]\\\\\\===first\\r\\nsecond\\\\n\\x09\\x01\\x7F\\x00=[é]\n"
            "plain=\n"
            "\n"
            "[Software\\\\Kexwell\\\\kexwell\\\\/home]\nSpeed=3\n");
}

TEST_F(RegistryTest, AFileEditedByHandWithCarriageReturnsAndBlankLinesIsRead) {
  std::filesystem::create_directories(folder / "config/kexwell");
  WriteFile(store, "\r\n[software\\\\kexwell\\\\KEXWELL\\\\/HOME]\r\n\r\nSPEED=4.5\r\nSpeed=5\\x41\r\n");
  std::string text;
  EXPECT_EQ(Read(kKey, "Speed", text), "0 OK");
  EXPECT_EQ(text, "5A");
}

TEST_F(RegistryTest, ADamagedStoreIsTakenAsEmptyAndRewrittenWhole) {
  std::filesystem::create_directories(folder / "config/kexwell");
  const std::string damaged[] = {
      std::string("[A]\nSpeed=1\n\0\x01\x02", 15),           // binary
      "Speed=1\n[A]\nSpeed=2\n",                             // a value before any section
      "[A]\nSpeed=2\nthis line is neither\n",                // a line that is nothing
      "[A]\n=2\n",                                           // a value without a name
      "[]\nSpeed=2\n",                                       // a key without a path
      "[A]\nSpeed=2\n" + std::string(Registry::kMaxStoreBytes, 'x') + "\n",  // too long
  };
  for (const std::string& contents : damaged) {
    SCOPED_TRACE(contents.substr(0, 40));
    WriteFile(store, contents);
    std::string text;
    EXPECT_EQ(Read("A", "Speed", text), "1 Key not found or is empty.");
    EXPECT_EQ(RegWriteString(kUser, kKey, "Speed", "9"), Success("0 New key created."));
    EXPECT_EQ(ReadFile(store), "[Software\\\\Kexwell\\\\kexwell\\\\/home]\nSpeed=9\n");
    EXPECT_EQ(EntriesIn(folder / "config/kexwell"), 1u);  // no temporary file stays behind
  }
}

TEST_F(RegistryTest, AWriteThatWouldMakeTheStoreTooLongToReadIsRefusedAndTheStoreKept) {
  ASSERT_EQ(RegWriteString(kUser, kKey, "Speed", "1"), Success("0 New key created."));
  EXPECT_EQ(RegWriteString(kUser, kKey, "Big", std::string(Registry::kMaxStoreBytes, 'x')),
            Failure(EFBIG));
  std::string text;
  EXPECT_EQ(Read(kKey, "Speed", text), "0 OK");
  EXPECT_EQ(text, "1");
}

TEST_F(RegistryTest, AStorePathThatIsALinkIsNeitherReadNorWrittenThrough) {
  const std::string target = WriteFile(folder / "target", "[A]\nSpeed=1\n");
  const std::string link = folder / "registry.ini";
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  Registry::SetStorePath(link);

  std::string text;
  EXPECT_EQ(Read("A", "Speed", text), "1 Key not found or is empty.");
  const std::string status = RegWriteString(kUser, "A", "Speed", "2");
  EXPECT_NE(status.front(), '0') << status;
  EXPECT_EQ(status, Failure(EPERM));
  EXPECT_EQ(ReadFile(target), "[A]\nSpeed=1\n");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(EntriesIn(folder.Path()), 2u);
}

TEST_F(RegistryTest, AStoreWhoseFolderCannotBeMadeFailsWithTheSystemsReason) {
  WriteFile(folder / "config", "a file where the folder should be");
  const std::string status = RegWriteString(kUser, kKey, "Speed", "1");
  EXPECT_EQ(status, Failure(ENOTDIR));
  std::string text;
  EXPECT_EQ(Read(kKey, "Speed", text), "1 Key not found or is empty.");
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLeaveAWholeStore) {
  ASSERT_EQ(RegWriteString(kUser, "Start", "Speed", "0"), Success("0 New key created."));
  pid_t children[2] = {};
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      const std::string key = "Writer " + std::to_string(child);
      bool ok = true;
      for (int i = 0; i < 40; ++i) {
        ok = RegWriteString(kUser, key, "Speed", std::to_string(i)).front() == '0' && ok;
      }
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
  std::string values[2];
  bool there[2] = {};
  for (int child = 0; child < 2; ++child) {
    there[child] = Read("Writer " + std::to_string(child), "Speed", values[child]) == "0 OK";
    if (there[child]) {
      EXPECT_GE(std::stoi(values[child]), 0);
      EXPECT_LE(std::stoi(values[child]), 39);
    }
  }
  EXPECT_TRUE((there[0] && values[0] == "39") || (there[1] && values[1] == "39"));
  std::string start;
  EXPECT_EQ(Read("Start", "Speed", start), "0 OK");
  EXPECT_EQ(EntriesIn(folder / "config/kexwell"), 1u);
}

TEST(ApplicationDataFolder, IsXdgConfigHomeWhenItIsAnAbsolutePathElseConfigInTheHomeFolder) {
  ScopedVariable configuration("XDG_CONFIG_HOME");
  ScopedVariable home("HOME");
  home.Set("/home/someone/");

  configuration.Set("/tmp/settings//");
  EXPECT_EQ(Platform::ApplicationDataFolder(), "/tmp/settings");
  configuration.Set("relative/settings");
  EXPECT_EQ(Platform::ApplicationDataFolder(), "/home/someone/.config");
  configuration.Unset();
  EXPECT_EQ(Platform::ApplicationDataFolder(), "/home/someone/.config");

  home.Unset();
  const struct passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const std::string accountHome = account->pw_dir;
  EXPECT_EQ(Platform::ApplicationDataFolder(), (accountHome == "/" ? "" : accountHome) + "/.config");
}

TEST(ApplicationDataFolder, HoldsTheDefaultStore) {
  ScopedVariable configuration("XDG_CONFIG_HOME");
  configuration.Set("/tmp/settings");
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath("");
  EXPECT_EQ(Registry::StorePath(), "/tmp/settings/kexwell/registry.ini");
  Registry::SetStorePath(saved);
}

}  // namespace
