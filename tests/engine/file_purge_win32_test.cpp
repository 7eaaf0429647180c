// The per-file purge where Windows differs: creation times, the system attribute, files that
// another program holds open, paths beyond 260 characters, names in any script, pipes and
// drive letters without a drive.

#include <filesystem>
#include <string>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "operation/result_texts.h"
#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"

#include <windows.h>

using namespace TestSupport;

namespace {

std::string Clusters(char byte, int count) {
  return Repeat(byte, static_cast<std::size_t>(4096 * count));
}

// A file held open by another program with the given sharing, for the life of the object.
class HeldOpen {
 public:
  HeldOpen(const std::string& path, DWORD sharing)
      : handle_(::CreateFileW(WideLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, sharing,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldOpen() {
    if (IsOpen()) ::CloseHandle(handle_);
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

bool Gone(const std::string& path) {
  return AttributesOnDisk(path) == INVALID_FILE_ATTRIBUTES &&
         ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool HasAttribute(const std::string& path, DWORD attribute) {
  const DWORD attributes = AttributesOnDisk(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

// Writes and reads files through the long form of their path, which the C++ library on Windows
// does not use.
void WriteLongFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(WideLongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  EXPECT_EQ(written, bytes.size());
  ::CloseHandle(file);
}

}  // namespace

// --- A kept file ------------------------------------------------------------------------------

TEST_F(PurgeTest, AKeptFileIsOverwrittenWholeAndGetsBackItsLengthAndAllThreeTimes) {
  const std::string path = WriteFile(folder / "kept.doc", Repeat('x', 5000));
  DiskTimes times;
  times.hasCreation = true;
  times.creation = {900000000, 111111100};
  times.access = {1000000000, 123456700};
  times.modification = {1100000000, 987654300};
  SetTimesOnDisk(path, times);
  // Wine takes a creation time without keeping it: on Linux file systems it shows the
  // modification time in its place.
  const bool creationKept = TimesOnDisk(path).creation == times.creation;
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);

  // The times first: reading the file would change its access time.
  const DiskTimes after = TimesOnDisk(path);
  const std::string randomClusters = RandomClusterOfPass(1) + RandomClusterOfPass(1);
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters('\xAA', 2), Clusters('\x55', 2), randomClusters,
                                      Clusters('\x0A', 2), Clusters('\xF5', 2)}));
  EXPECT_EQ(ReadFile(path), randomClusters.substr(0, 5000))
      << "the last overwrite is the random cluster, cut back to the length";
  EXPECT_EQ(after.access, times.access);
  EXPECT_EQ(after.modification, times.modification);
  if (!creationKept)
    GTEST_SKIP() << "the creation time: this file system does not keep one that is set (Wine on "
                    "Linux shows the modification time instead)";
  EXPECT_EQ(after.creation, times.creation);
}

// --- The system attribute ---------------------------------------------------------------------

TEST_F(PurgeTest, ASystemFileIsRefusedUntouchedUnlessAllowedAndKeepsTheAttributeWhenKept) {
  const std::string path = WriteFile(folder / "boot.cfg", "system bytes");
  AddAttributes(path, FILE_ATTRIBUTE_SYSTEM);
  if (!HasAttribute(path, FILE_ATTRIBUTE_SYSTEM))
    GTEST_SKIP() << "this file system does not keep the system attribute";

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kSystemFile);
  EXPECT_EQ(ResultCodeReportText(FilePurge::kSystemFile), ": file is a system file, not purged.");
  EXPECT_EQ(ReadFile(path), "system bytes");
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_SYSTEM));

  EXPECT_EQ(Purge(path, 1, 1, false, false, true), FilePurge::kPurged);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 12));
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_SYSTEM)) << "a kept file stays a system file";

  EXPECT_EQ(Purge(path, 1, 1, true, false, true), FilePurge::kPurged);
  EXPECT_TRUE(Gone(path));
}

TEST_F(PurgeTest, AReadOnlySystemFileRefusedAsASystemFileStaysReadOnly) {
  const std::string path = WriteFile(folder / "both.cfg", "protected");
  AddAttributes(path, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  if (!HasAttribute(path, FILE_ATTRIBUTE_SYSTEM))
    GTEST_SKIP() << "this file system does not keep the system attribute";

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kReadOnly);
  EXPECT_EQ(ResultCodeReportText(FilePurge::kReadOnly),
            ": file is a read-only file, not purged.\r\n"
            "(Perhaps file is in use by another program.)");
  EXPECT_EQ(Purge(path, 0, 1, true, true, false), FilePurge::kSystemFile);
  EXPECT_EQ(ReadFile(path), "protected");
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_READONLY))
      << "a refused file keeps every attribute it had";
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_SYSTEM));

  EXPECT_EQ(Purge(path, 0, 1, true, true, true), FilePurge::kPurged);
  EXPECT_TRUE(Gone(path));
}

TEST_F(PurgeTest, AHiddenFileIsPurgedAndDeletedLikeAnyOther) {
  const std::string path = WriteFile(folder / "notes.txt", Repeat('h', 100));
  AddAttributes(path, FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_HIDDEN));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 1, true), FilePurge::kPurged);

  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters('\xAA', 1), Clusters('\x55', 1)}));
  EXPECT_TRUE(Gone(path));
}

// --- Files that another program holds open ----------------------------------------------------

TEST_F(PurgeTest, AFileOpenWithoutSharingWritesIsRefusedUntouched) {
  const std::string path = WriteFile(folder / "in use.txt", "theirs");
  const HeldOpen other(path, FILE_SHARE_READ);
  ASSERT_TRUE(other.IsOpen());

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(ResultCodeReportText(FilePurge::kCannotOpenForWriting),
            ": unable to open file for writing.");
  EXPECT_EQ(ReadFile(path), "theirs");
}

TEST_F(PurgeTest, AFileOpenWithoutSharingDeletionIsOverwrittenButReportedNotDeleted) {
  const std::string path = WriteFile(folder / "shared.txt", Repeat('x', 300));
  const HeldOpen other(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(other.IsOpen());

  EXPECT_EQ(Purge(path, 1, 1, true), FilePurge::kNotDeleted);
  EXPECT_EQ(ResultCodeReportText(FilePurge::kNotDeleted), ": file overwritten but not deleted.");
  EXPECT_EQ(ReadFile(path), Repeat('\0', 300)) << "overwritten, and its length restored";
}

// --- Paths and names --------------------------------------------------------------------------

TEST_F(PurgeTest, APathLongerThan260CharactersIsPurgedWholeAndDeleted) {
  std::string inner = folder.Path();
  while (inner.size() < 300) {
    inner = JoinPath(inner, Repeat('d', 60));
    ASSERT_TRUE(::CreateDirectoryW(WideLongPath(inner).c_str(), nullptr)) << inner;
  }
  const std::string path = JoinPath(inner, "long.bin");
  ASSERT_GT(path.size(), 260u);
  WriteLongFile(path, Repeat('x', 4096 + 10));

  EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);
  const std::string randomCluster = RandomClusterOfPass(1);
  EXPECT_EQ(ReadLongFile(path), randomCluster + randomCluster.substr(0, 10));

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged);
  EXPECT_TRUE(Gone(path));
}

TEST_F(PurgeTest, ANameOutsideTheAnsiCodePageIsPurgedWholeAndDeleted) {
  // Greek, Cyrillic and Japanese: no single Windows code page holds all three.
  const std::string path = folder / "Κείμενο Текст テキスト.txt";
  WriteFile(path, Repeat('x', 5000));
  WatchingHost host(path);
  environment.host = &host;

  EXPECT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged);
  EXPECT_EQ(host.WholeOverwrites(4096),
            (std::vector<std::string>{Clusters('\xAA', 2), Clusters('\x55', 2)}));
  EXPECT_EQ(ReadFile(path), Repeat('\0', 5000));

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged);
  EXPECT_TRUE(Gone(path));
  EXPECT_TRUE(std::filesystem::is_empty(FileSystemPath(folder.Path())))
      << "no file of another name was made or left";
}

TEST_F(PurgeTest, ANameEndingInADotOrABlankIsPurgedAndTheNameWithoutItIsNot) {
  const std::string namesake = WriteFile(folder / "report", "the namesake");
  for (const std::string name : {"report.", "report "}) {
    const std::string path = folder / name;
    WriteLongFile(path, Repeat('x', 100));
    if (ReadLongFile(path) != Repeat('x', 100) || ReadFile(namesake) != "the namesake")
      GTEST_SKIP() << "this file system does not keep a name that ends in a dot or a blank";

    EXPECT_EQ(Purge(path, 1, 1, false), FilePurge::kPurged) << name;
    EXPECT_EQ(ReadLongFile(path), Repeat('\0', 100)) << name;
    EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged) << name;
    EXPECT_TRUE(Gone(path)) << name;
    EXPECT_EQ(ReadFile(namesake), "the namesake") << "beside " << name;
  }
}

// --- What is not a file on a drive ------------------------------------------------------------

TEST_F(PurgeTest, APipeAndTheNullDeviceAreRefusedWithoutWaiting) {
  const std::string pipe = "\\\\.\\pipe\\kexwell-test-" + std::to_string(::GetCurrentProcessId());
  const HANDLE server = ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND,
                                           PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);

  EXPECT_EQ(Purge(pipe, 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge("\\\\.\\NUL", 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge("\\\\.\\C:", 0, 1, true), FilePurge::kNotARegularFile)
      << "the volume itself is never opened for writing";
  ::CloseHandle(server);
}

TEST_F(PurgeTest, AFileOnADriveLetterWithoutADriveIsRefusedWithThePlainCode) {
  const std::string letter = LetterWithoutDrive();
  if (letter.empty()) GTEST_SKIP() << "every drive letter names a drive";
  const std::string path = letter + ":\\folder\\file.txt";

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(Purge(letter + ":\\", 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(ResultCodeReportText(FilePurge::kCannotOpenForWriting),
            ": unable to open file for writing.");
  EXPECT_EQ(clusterSizes.ForPath(path), 4096) << "no drive: the usual cluster size";
}
