// A file that another program holds open: Windows refuses the writes or the deletion that the
// other program does not share.

#include <string>

#include "engine/file_purge.h"
#include "engine/purge_fixture.h"
#include "support/file_inspection.h"
#include "support/file_setup.h"

#include <windows.h>

using namespace TestSupport;

TEST_F(PurgeTest, AFileHeldOpenIsRefusedWithoutSharedWritesAndNotDeletedWithoutSharedDeletion) {
  const std::string path = WriteFile(folder / "in use.txt", Repeat('x', 300));
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    const HANDLE other = ::CreateFileW(WideLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, sharing,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const bool writable = sharing != FILE_SHARE_READ;
    EXPECT_EQ(Purge(path, 1, 1, true), writable ? FilePurge::kNotDeleted : FilePurge::kCannotOpenForWriting);
    EXPECT_EQ(ReadFile(path), Repeat(writable ? '\0' : 'x', 300));
    ::CloseHandle(other);
  }
}
