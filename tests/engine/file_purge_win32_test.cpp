// The per-file purge where Windows differs: creation times, the system and hidden attributes,
// files that another program holds open, paths beyond 260 characters, names in any script, pipes
// and drive letters without a drive.

#include <filesystem>
#include <string>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"

#include <windows.h>

using namespace TestSupport;

namespace {

bool Gone(const std::string& path) {
  return AttributesOnDisk(path) == INVALID_FILE_ATTRIBUTES &&
         ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool HasAttribute(const std::string& path, DWORD attribute) {
  const DWORD attributes = AttributesOnDisk(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

// Opens a file through the long form of its path, which the C++ library on Windows does not use.
HANDLE OpenLong(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  return ::CreateFileW(WideLongPath(path).c_str(), access, sharing, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteLongFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = OpenLong(path, GENERIC_WRITE, 0, CREATE_NEW);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
  DWORD written = 0;
  EXPECT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ::CloseHandle(file);
}

}  // namespace

TEST_F(PurgeTest, AKeptFileGetsBackItsCreationTime) {
  const std::string path = WriteFile(folder / "kept.doc", Repeat('x', 5000));
  DiskTimes times;
  times.hasCreation = true;
  times.creation = {900000000, 111111100};
  times.access = {1000000000, 123456700};
  times.modification = {1100000000, 987654300};
  SetTimesOnDisk(path, times);
  // Wine takes a creation time without keeping it: on Linux file systems it shows the
  // modification time in its place.
  if (TimesOnDisk(path).creation != times.creation)
    GTEST_SKIP() << "this file system does not keep a creation time that is set";

  EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);
  EXPECT_EQ(TimesOnDisk(path).creation, times.creation);
}

TEST_F(PurgeTest, ASystemFileIsRefusedUntouchedUnlessAllowedAndKeepsItsAttributes) {
  const std::string path = WriteFile(folder / "boot.cfg", "system bytes");
  // Hidden too, which never stops a purge.
  AddAttributes(path, FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  if (!HasAttribute(path, FILE_ATTRIBUTE_SYSTEM))
    GTEST_SKIP() << "this file system does not keep the system attribute";

  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kReadOnly);
  EXPECT_EQ(Purge(path, 0, 1, true, true, false), FilePurge::kSystemFile);
  EXPECT_EQ(ReadFile(path), "system bytes");
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_READONLY))
      << "a refused file keeps every attribute it had";
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_SYSTEM));

  EXPECT_EQ(Purge(path, 1, 1, false, true, true), FilePurge::kPurged);
  EXPECT_EQ(ReadFile(path), Repeat('\0', 12));
  EXPECT_TRUE(HasAttribute(path, FILE_ATTRIBUTE_SYSTEM)) << "a kept file stays a system file";
  EXPECT_EQ(Purge(path, 1, 1, true, false, true), FilePurge::kPurged);
  EXPECT_TRUE(Gone(path));
}

TEST_F(PurgeTest, AFileHeldOpenIsRefusedWithoutSharedWritesAndNotDeletedWithoutSharedDeletion) {
  const std::string path = WriteFile(folder / "in use.txt", Repeat('x', 300));
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    const HANDLE other = OpenLong(path, GENERIC_READ | GENERIC_WRITE, sharing, OPEN_EXISTING);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    if (sharing == FILE_SHARE_READ) {
      EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kCannotOpenForWriting);
      EXPECT_EQ(ReadFile(path), Repeat('x', 300));
    } else {
      EXPECT_EQ(Purge(path, 1, 1, true), FilePurge::kNotDeleted);
      EXPECT_EQ(ReadFile(path), Repeat('\0', 300)) << "overwritten, and its length restored";
    }
    ::CloseHandle(other);
  }
}

TEST_F(PurgeTest, ALongPathAndNamesInAnyScriptOrEndingInADotOrBlankArePurgedWhole) {
  std::string inner = folder.Path();
  while (inner.size() < 300) {
    inner = JoinPath(inner, Repeat('d', 60));
    ASSERT_TRUE(::CreateDirectoryW(WideLongPath(inner).c_str(), nullptr)) << inner;
  }
  const std::string names = folder / "names";
  MakeFolder(names);
  const std::string namesake = WriteFile(JoinPath(names, "report"), "the namesake");
  // Greek, Cyrillic and Japanese: no single Windows code page holds all three.
  for (const std::string& path :
       {JoinPath(inner, "long.bin"), JoinPath(names, "Κείμενο Текст テキスト.txt"),
        JoinPath(names, "report."), JoinPath(names, "report ")}) {
    SCOPED_TRACE(path);
    WriteLongFile(path, Repeat('x', 4096 + 10));
    if (ReadLongFile(path) != Repeat('x', 4096 + 10) || ReadFile(namesake) != "the namesake")
      GTEST_SKIP() << "this file system does not keep a name that ends in a dot or a blank";

    EXPECT_EQ(Purge(path, 2, 1, false), FilePurge::kPurged);
    const std::string randomCluster = RandomClusterOfPass(1);
    EXPECT_EQ(ReadLongFile(path), randomCluster + randomCluster.substr(0, 10));
    EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged);
    EXPECT_TRUE(Gone(path));
    EXPECT_EQ(ReadFile(namesake), "the namesake");
  }
  std::filesystem::remove(FileSystemPath(namesake));
  EXPECT_TRUE(std::filesystem::is_empty(FileSystemPath(names)))
      << "no file of another name was made or left";
}

TEST_F(PurgeTest, APipeTheNullDeviceAVolumeAndADriveLetterWithoutADriveAreRefused) {
  const std::string pipe = "\\\\.\\pipe\\kexwell-test-" + std::to_string(::GetCurrentProcessId());
  const HANDLE server = ::CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND,
                                           PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Purge(pipe, 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge("\\\\.\\NUL", 0, 1, true), FilePurge::kNotARegularFile);
  EXPECT_EQ(Purge("\\\\.\\C:", 0, 1, true), FilePurge::kNotARegularFile)
      << "the volume itself is never opened for writing";
  ::CloseHandle(server);

  const std::string letter = LetterWithoutDrive();
  if (letter.empty()) GTEST_SKIP() << "every drive letter names a drive";
  const std::string path = letter + ":\\folder\\file.txt";
  EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(Purge(letter + ":\\", 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(clusterSizes.ForPath(path), 4096) << "no drive: the usual cluster size";
}
