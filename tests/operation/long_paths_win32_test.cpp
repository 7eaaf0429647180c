// A listing and a purge on Windows of a tree whose paths are longer than 260 characters and whose
// names hold characters outside the ANSI code page. The tree is made and inspected through the
// system's own wide calls in the long form ("\\?\"), so that nothing here leans on the program's
// platform layer.

#include <string>

#include "operation/run_fixture.h"
#include "support/file_inspection.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

namespace {

// Writes a new file and dates it 2026-12-06 10:30:00 UTC.
void WriteLongFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(WideLongPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  const BOOL wrote =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ASSERT_TRUE(wrote && written == bytes.size()) << path;
  SetTimesOnDisk(path, {{1796553000, 0}, {1796553000, 0}, false, {}});
}

bool LongPathExists(const std::string& path) {
  return AttributesOnDisk(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// top\ holds a file named in Greek, Japanese and Cyrillic; top\middle\deep\ holds one in
// Japanese, at a path of more than 300 characters.
TEST_F(RunTest, ALongTreeNamedOutsideTheCodePageIsListedThenPurgedWithEveryNameInUtf8) {
  const std::string top = folder / ("Ωμέγα " + std::string(100, 'a'));
  const std::string middle = top + "\\" + std::string(100, 'b');
  const std::string deep = middle + "\\日本 " + std::string(80, 'c');
  ASSERT_GT(deep.size(), 300u);
  for (const std::string& path : {top, middle, deep})
    ASSERT_TRUE(::CreateDirectoryW(WideLongPath(path).c_str(), nullptr)) << path;
  const std::string topFile = top + "\\Ωμέγα 日本 файл.txt";
  const std::string deepFile = deep + "\\日本語.dat";
  WriteLongFile(topFile, "top!!");
  WriteLongFile(deepFile, Repeat('d', 1536));
  settings.target = {top + "\\", "*.*", true};

  List();
  EXPECT_EQ(run.Report().substr(0, run.Report().find("Number of files")),
            top + "\\\r\nΩμέγα 日本 файл.txt (12/06/2026, 5 bytes)   \r\n" + deep +
                "\\\r\n日本語.dat (12/06/2026, 1.50 KB)\r\n\r\n");
  EXPECT_EQ(ReadLongFile(deepFile), Repeat('d', 1536));

  settings.options.blnDeleteEmptyFolders = true;
  Purge();
  EXPECT_EQ(run.Report(),
            std::string(kDateLine) + "Purging all files in " + top +
                "\\\r\n(including all files in subfolders) \r\n"
                "using alternate bit patterns plus zeros once.\r\n\r\n" +
                top + "\\\r\nΩμέγα 日本 файл.txt (5 bytes)" + Purged() + "\r\n\r\n" + deep +
                "\\\r\n日本語.dat (1,536 bytes)" + Purged() + "\r\nFolder " + deep +
                " removed.\r\n\r\n\r\nFolder " + middle + " removed.\r\n\r\n" +
                "Number of files *.*: 2\r\nNumber of files purged: 2\r\n" + NotVerifiedLine(2) +
                "Sum of sizes of files purged: 1.50 KB\r\n\r\nNumber of folders removed: 2\r\n" +
                kDateLine);
  EXPECT_FALSE(LongPathExists(topFile));
  EXPECT_FALSE(LongPathExists(middle));
  EXPECT_TRUE(LongPathExists(top)) << "the target folder itself stays";
}
