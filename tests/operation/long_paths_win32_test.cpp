// A purge on Windows of a tree whose paths are longer than 260 characters and whose names hold
// characters outside the ANSI code page. What is left is looked at through the system's own wide
// calls in the long form ("\\?\").

#include <string>

#include "operation/run_fixture.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "support/file_inspection.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

// top\ holds a file named in Greek, Japanese and Cyrillic; top\middle\deep\ holds one in
// Japanese, at a path of more than 300 characters.
TEST_F(RunTest, ALongTreeNamedOutsideTheCodePageIsPurgedWithEveryNameInUtf8) {
  const std::string top = folder / ("Ωμέγα " + std::string(100, 'a'));
  const std::string middle = top + "\\" + std::string(100, 'b');
  const std::string deep = middle + "\\日本 " + std::string(80, 'c');
  ASSERT_FALSE(Platform::CreateFolders(deep));
  ASSERT_FALSE(Platform::CreateNewFile(top + "\\Ωμέγα 日本 файл.txt", "top!!"));
  ASSERT_FALSE(Platform::CreateNewFile(deep + "\\日本語.dat", Repeat('d', 1536)));
  settings.target = {top + "\\", "*.*", true};
  settings.options.blnDeleteEmptyFolders = true;
  Purge();
  const std::string& report = run.Report();
  const std::size_t start = report.find("\r\n\r\n") + 4;
  EXPECT_EQ(report.substr(start, report.find("Number of files") - start),
            top + "\\\r\nΩμέγα 日本 файл.txt (5 bytes)" + Purged() + "\r\n\r\n" + deep +
                "\\\r\n日本語.dat (1,536 bytes)" + Purged() + "\r\nFolder " + deep +
                " removed.\r\n\r\n\r\nFolder " + middle + " removed.\r\n\r\n");
  // The target folder itself stays, as the report tells.
  EXPECT_EQ(AttributesOnDisk(middle), INVALID_FILE_ATTRIBUTES);
}
