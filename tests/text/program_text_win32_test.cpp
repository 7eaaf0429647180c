// The program text on Windows: a file that opens but cannot be read.

#include <gtest/gtest.h>

#include <string>

#include "support/file_inspection.h"
#include "support/temp_folder.h"
#include "text/program_text.h"

#include <windows.h>

TEST(ProgramTextLoaderOnWindows, AFileThatAnotherProgramHasLockedIsAReadError) {
  const TestSupport::TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "locked.dat", "1\tlocked\n");
  const auto open = [&path] {
    return ::CreateFileW(TestSupport::WideLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const HANDLE holder = open();
  OVERLAPPED whole{};
  ASSERT_TRUE(::LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                           MAXDWORD, &whole));
  // The lock binds every other handle, this process's own too, where the system enforces it.
  const HANDLE reader = open();
  char byte = 0;
  DWORD read = 0;
  const bool readDespiteTheLock = ::ReadFile(reader, &byte, 1, &read, nullptr) && read == 1;
  ::CloseHandle(reader);
  if (!readDespiteTheLock) {
    EXPECT_EQ(Language2::LoadProgramText(path), Language2::kErrorReading);
  }
  ::UnlockFileEx(holder, 0, MAXDWORD, MAXDWORD, &whole);
  ::CloseHandle(holder);
  if (readDespiteTheLock) GTEST_SKIP() << "this system does not hold reads back at a locked range";
  EXPECT_EQ(Language2::LoadProgramText(path), 1) << "once unlocked, the same file reads";
}
