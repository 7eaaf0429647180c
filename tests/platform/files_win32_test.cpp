// What only Windows has: hidden and system attributes and devices. Reparse points:
// handles_win32_test.cpp; paths longer than 260 characters: long_paths_win32_test.cpp.

#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/errors.h"
#include "platform/files.h"
#include "support/file_inspection.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <string>

using namespace TestSupport;
using Platform::PlatformErrc;

// A removal does not clear read-only; each attribute is cleared alone, also when it is the only
// one (which must not be taken as "leave them as they are").
TEST(AttributesWin32, AreReadAndClearedOneByOneAndARemovalDoesNotClearReadOnly) {
  TempFolder folder;
  const std::string path = TestSupport::WriteFile(folder / "marked.txt", "keep");
  constexpr DWORD kThree = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  TestSupport::AddAttributes(path, kThree);
  Platform::FileAttributes attributes;
  ASSERT_FALSE(Platform::GetFileAttributes(path, attributes));
  EXPECT_TRUE(attributes.readOnly && attributes.hidden && attributes.system);
  EXPECT_TRUE(Platform::RemoveFile(path));
  EXPECT_FALSE(Platform::ClearSystem(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
  EXPECT_FALSE(Platform::ClearHidden(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, DWORD{FILE_ATTRIBUTE_READONLY});
  EXPECT_FALSE(Platform::ClearReadOnly(path));
  EXPECT_EQ(AttributesOnDisk(path) & kThree, 0u);
}

// Devices are never opened. (A name like one in a folder is a file: handles_win32_test.cpp.)
TEST(DevicesWin32, AreNeverOpened) {
  for (const char* device : {"NUL", "COM1", "\\\\.\\PhysicalDrive0", "//./C:", "\\\\?\\C:"}) {
    Platform::FileAttributes attributes;
    EXPECT_FALSE(Platform::GetFileAttributes(device, attributes)) << device;
    EXPECT_EQ(attributes.kind, Platform::FileKind::Other) << device;
    EXPECT_EQ(Platform::RemoveFile(device), PlatformErrc::NotARegularFile) << device;
  }
}
