// The program text on Windows: a file that opens but cannot be read.

#include <gtest/gtest.h>

#include <string>

#include "support/file_inspection.h"
#include "support/temp_folder.h"
#include "platform/program.h"
#include "text/program_text.h"

#include <windows.h>

namespace {

HANDLE OpenShared(const std::string& path) {
  return ::CreateFileW(TestSupport::WideLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TEST(ProgramTextLoaderOnWindows, AFileThatAnotherProgramHasLockedIsAReadError) {
  const TestSupport::TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "locked.dat", "1\tlocked\n");
  const HANDLE holder = OpenShared(path);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  OVERLAPPED whole{};
  ASSERT_TRUE(::LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                           MAXDWORD, &whole));

  // The lock binds every other handle, this process's own too, where the system enforces it.
  const HANDLE reader = OpenShared(path);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  char byte = 0;
  DWORD read = 0;
  const bool readDespiteTheLock = ::ReadFile(reader, &byte, 1, &read, nullptr) && read == 1;
  ::CloseHandle(reader);
  if (readDespiteTheLock) {
    ::CloseHandle(holder);
    GTEST_SKIP() << "this system does not hold reads back at a locked range";
  }

  EXPECT_EQ(Language2::LoadProgramText(path), Language2::kErrorReading);
  EXPECT_EQ(Language2::ProgramTextErrorMessage(Language2::kErrorReading, path),
            "Error reading file.\r\n" + Platform::AbsolutePath(path));
  EXPECT_EQ(Language2::GetText(1), "");

  ::UnlockFileEx(holder, 0, MAXDWORD, MAXDWORD, &whole);
  ::CloseHandle(holder);
  EXPECT_EQ(Language2::LoadProgramText(path), 1) << "once unlocked, the same file reads";
  EXPECT_EQ(Language2::GetText(1), "locked");
}
