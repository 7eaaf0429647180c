// The per-file purge where Windows differs: files that another program holds open, paths beyond
// 260 characters, names in any script, the volume and drive letters without a drive.

#include <filesystem>
#include <string>

#include "engine/disk_proc.h"
#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "platform/paths.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"

#include <windows.h>

using namespace TestSupport;

namespace {

// Opens a file through the long form of its path, which the C++ library on Windows does not use.
HANDLE OpenLong(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
  return ::CreateFileW(WideLongPath(path).c_str(), access, sharing, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TEST_F(PurgeTest, AFileHeldOpenIsRefusedWithoutSharedWritesAndNotDeletedWithoutSharedDeletion) {
  const std::string path = WriteFile(folder / "in use.txt", Repeat('x', 300));
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    const HANDLE other = OpenLong(path, GENERIC_READ | GENERIC_WRITE, sharing, OPEN_EXISTING);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const bool writable = sharing != FILE_SHARE_READ;
    EXPECT_EQ(Purge(path, 1, 1, true), writable ? FilePurge::kNotDeleted : FilePurge::kCannotOpenForWriting);
    EXPECT_EQ(ReadFile(path), Repeat(writable ? '\0' : 'x', 300));
    ::CloseHandle(other);
  }
}

TEST_F(PurgeTest, ALongPathAndNamesInAnyScriptOrEndingInADotOrBlankArePurgedWhole) {
  std::string inner = folder.Path();
  while (inner.size() < 300) {
    inner = JoinPath(inner, Repeat('d', 60));
    ASSERT_TRUE(::CreateDirectoryW(WideLongPath(inner).c_str(), nullptr)) << inner;
  }
  const std::string namesake = WriteFile(folder / "report", "the namesake");
  for (const std::string& path : {JoinPath(inner, "long.bin"), folder / "Κείμενο Текст テキスト",
                                  folder / "report.", folder / "report "}) {
    SCOPED_TRACE(path);
    const HANDLE file = OpenLong(path, GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
    ::CloseHandle(file);
    if (ReadFile(namesake) != "the namesake") GTEST_SKIP() << "names ending in a dot or blank";
    EXPECT_EQ(Purge(path, 0, 1, true), FilePurge::kPurged);
    EXPECT_EQ(AttributesOnDisk(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFile(namesake), "the namesake");
  }
}

TEST_F(PurgeTest, TheVolumeAndADriveLetterWithoutADriveAreRefused) {
  EXPECT_EQ(Purge("\\\\.\\C:", 0, 1, true), FilePurge::kNotARegularFile);
  double freeBytes = 0;
  EXPECT_EQ(DiskProc::ClusterSizeOfRoot("C", freeBytes) % 512, 0);
  const std::string letter = LetterWithoutDrive();
  if (letter.empty()) GTEST_SKIP() << "every drive letter names a drive";
  EXPECT_EQ(Purge(letter + ":\\folder\\file.txt", 0, 1, true), FilePurge::kCannotOpenForWriting);
  EXPECT_EQ(DiskProc::ClusterSizeOfRoot(letter, freeBytes), -1);
  EXPECT_EQ(freeBytes, -1);
  EXPECT_FALSE(DiskProc::DriveReady(letter));
}
