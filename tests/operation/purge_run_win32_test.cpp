// Purges on Windows of files that Windows itself protects: files another program holds open, and
// files with the read-only or system attribute.

#include <string>

#include "operation/result_texts.h"
#include "operation/run_fixture.h"
#include "support/native_path.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

namespace {

std::wstring WidePath(const std::string& path) {
  return FileSystemPath(path).wstring();
}

// A handle on a file as another program would hold it, closed at the end of the scope.
class HeldFile {
 public:
  HeldFile(const std::string& path, DWORD share)
      : handle_(::CreateFileW(WidePath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Close(); }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Close() {
    if (IsOpen()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

void AddAttribute(const std::string& path, DWORD attribute) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(path).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
  ASSERT_TRUE(::SetFileAttributesW(WidePath(path).c_str(), attributes | attribute)) << path;
}

// The system's reason for a file that another program holds, as the report gives it.
std::string SharingViolation() {
  return ReasonText(std::error_code(ERROR_SHARING_VIOLATION, std::system_category()));
}

}  // namespace

TEST_F(RunTest, AFileHeldOpenWithoutSharingIsReportedUntouchedAndTheOthersArePurged) {
  const std::string held = WriteFile(folder / "held.txt", "keep me");
  WriteFile(folder / "free.txt", "x");
  HeldFile other(held, 0);
  ASSERT_TRUE(other.IsOpen());
  Target("*.*");
  Purge();
  other.Close();

  EXPECT_TRUE(Contains(run.Report(), "\r\nheld.txt (7 bytes): unable to open file for writing. (" +
                                         SharingViolation() + ")\r\n"))
      << run.Report();
  EXPECT_EQ(ReadFile(held), "keep me");
  EXPECT_FALSE(Exists(folder / "free.txt"));
  EXPECT_TRUE(Contains(run.Report(), "Number of files *.*: 2\r\nNumber of files purged: 1\r\n"))
      << run.Report();
}

TEST_F(RunTest, AFileHeldOpenWithoutDeleteSharingIsOverwrittenAndReportedAsNotDeleted) {
  const std::string held = WriteFile(folder / "held.txt", "secret!");
  {
    HeldFile other(held, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(other.IsOpen());
    Target("*.*");
    Purge();
  }
  EXPECT_TRUE(Contains(run.Report(), "\r\nheld.txt (7 bytes): file overwritten but not deleted. (" +
                                         SharingViolation() + ")\r\n"))
      << run.Report();
  EXPECT_EQ(ReadFile(held), Repeat('\0', 7)) << "the data is gone even though the file stays";
}

TEST_F(RunTest, SystemAndReadOnlyFilesAreRefusedUntouchedUnlessTheOptionsAllowThem) {
  const std::string system = WriteFile(folder / "boot.dat", "system");
  const std::string readOnly = WriteFile(folder / "ro.txt", "read-only");
  AddAttribute(system, FILE_ATTRIBUTE_SYSTEM);
  AddAttribute(readOnly, FILE_ATTRIBUTE_READONLY);
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
