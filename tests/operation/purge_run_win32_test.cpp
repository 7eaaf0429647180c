// Purges on Windows of files with the system attribute, which Windows itself protects.

#include <string>

#include "operation/run_fixture.h"
#include "support/file_inspection.h"
#include "support/native_path.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

TEST_F(RunTest, ASystemFileIsRefusedUntouchedUnlessTheOptionsAllowIt) {
  const std::string system = WriteFile(folder / "boot.dat", "system");
  AddAttributes(system, FILE_ATTRIBUTE_SYSTEM);
  Target("*.*");
  Purge();
  EXPECT_TRUE(Contains(run.Report(), "\r\nboot.dat (6 bytes): file is a system file, not purged.\r\n"));
  EXPECT_EQ(ReadFile(system), "system");

  settings.options.blnOKToPurgeSystemFiles = true;
  Purge();
  EXPECT_FALSE(Exists(system));
}
