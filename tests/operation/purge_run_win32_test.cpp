// Purges on Windows of files that Windows itself protects: files another program holds open, and
// files with the read-only or system attribute.

#include <string>

#include "operation/result_texts.h"
#include "operation/run_fixture.h"
#include "support/file_inspection.h"
#include "support/native_path.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

namespace {

// A handle on a file as another program would hold it, closed at the end of the scope.
struct HeldFile {
  HeldFile(const std::string& path, DWORD share)
      : handle(::CreateFileW(WideLongPath(path).c_str(), GENERIC_READ, share, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { ::CloseHandle(handle); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  const HANDLE handle;
};

// The system's reason for a file that another program holds, as the report gives it.
std::string SharingViolation() {
  return ReasonText(std::error_code(ERROR_SHARING_VIOLATION, std::system_category()));
}

}  // namespace

// Without sharing the file is not opened; without delete sharing it is overwritten but stays.
TEST_F(RunTest, AFileHeldOpenByAnotherProgramIsReportedWithTheSystemsReason) {
  const std::string held = WriteFile(folder / "held.txt", "keep me");
  const std::string kept = WriteFile(folder / "kept.txt", "secret!");
  WriteFile(folder / "free.txt", "x");
  {
    const HeldFile holdAll(held, 0);
    const HeldFile holdName(kept, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_NE(holdAll.handle, INVALID_HANDLE_VALUE);
    ASSERT_NE(holdName.handle, INVALID_HANDLE_VALUE);
    Target("*.*");
    Purge();
  }
  EXPECT_TRUE(Contains(run.Report(), "\r\nheld.txt (7 bytes): unable to open file for writing. (" +
                                         SharingViolation() + ")\r\n"))
      << run.Report();
  EXPECT_TRUE(Contains(run.Report(), "\r\nkept.txt (7 bytes): file overwritten but not deleted. (" +
                                         SharingViolation() + ")\r\n"))
      << run.Report();
  EXPECT_EQ(ReadFile(held), "keep me");
  EXPECT_EQ(ReadFile(kept), Repeat('\0', 7)) << "the data is gone even though the file stays";
  EXPECT_FALSE(Exists(folder / "free.txt"));
  EXPECT_TRUE(Contains(run.Report(), "Number of files *.*: 3\r\nNumber of files purged: 1\r\n"))
      << run.Report();
}

TEST_F(RunTest, SystemAndReadOnlyFilesAreRefusedUntouchedUnlessTheOptionsAllowThem) {
  const std::string system = WriteFile(folder / "boot.dat", "system");
  const std::string readOnly = WriteFile(folder / "ro.txt", "read-only");
  AddAttributes(system, FILE_ATTRIBUTE_SYSTEM);
  AddAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
  Target("*.*");
  Purge();

  EXPECT_TRUE(
      Contains(run.Report(), "\r\nboot.dat (6 bytes): file is a system file, not purged.\r\n"))
      << run.Report();
  EXPECT_TRUE(Contains(run.Report(),
                       "\r\nro.txt (9 bytes): file is a read-only file, not purged.\r\n"
                       "(Perhaps file is in use by another program.)\r\n"))
      << run.Report();
  EXPECT_EQ(ReadFile(system), "system");
  EXPECT_EQ(ReadFile(readOnly), "read-only");

  settings.options.blnOKToPurgeSystemFiles = true;
  settings.options.blnOKToPurgeReadOnlyFiles = true;
  Purge();
  EXPECT_EQ(run.lngNumFilesPurged, 2);
  EXPECT_FALSE(Exists(system));
  EXPECT_FALSE(Exists(readOnly));
}
