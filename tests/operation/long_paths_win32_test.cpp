// Listings and purges on Windows of a tree whose paths are longer than 260 characters and whose
// names hold characters outside the ANSI code page. The tree is made and inspected through the
// system's own wide calls in the long form ("\\?\"), so that nothing here leans on the program's
// platform layer.

#include <filesystem>
#include <string>

#include "operation/run_fixture.h"
#include "support/file_inspection.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

namespace {

void MakeLongFolder(const std::string& path) {
  ASSERT_TRUE(::CreateDirectoryW(WideLongPath(path).c_str(), nullptr)) << path;
}

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

// Removes what a test left of the tree, deepest first.
void RemoveLongTree(const std::string& path) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = ::FindFirstFileW((WideLongPath(path) + L"\\*").c_str(), &entry);
  while (find != INVALID_HANDLE_VALUE) {
    const std::string child = path + "\\" + Utf8Path(std::filesystem::path(entry.cFileName));
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ::SetFileAttributesW(WideLongPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(WideLongPath(child).c_str());
    } else if (entry.cFileName[0] != L'.') {
      RemoveLongTree(child);
    }
    if (!::FindNextFileW(find, &entry)) break;
  }
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
  ::RemoveDirectoryW(WideLongPath(path).c_str());
}

// top\ holds a file named in Greek, Japanese and Cyrillic; top\middle\deep\ holds one in
// Japanese, at a path of more than 300 characters. Neither name can be written in the ANSI code
// page.
class LongPathRunTest : public RunTest {
 protected:
  void SetUp() override {
    top = folder / ("Ωμέγα " + std::string(100, 'a'));
    middle = top + "\\" + std::string(100, 'b');
    deep = middle + "\\日本 " + std::string(80, 'c');
    ASSERT_GT(deep.size(), 300u);
    MakeLongFolder(top);
    MakeLongFolder(middle);
    MakeLongFolder(deep);
    WriteLongFile(top + "\\" + kTopName, "top!!");
    WriteLongFile(deep + "\\" + kDeepName, Repeat('d', 1536));
    settings.target = {top + "\\", "*.*", true};
  }
  void TearDown() override { RemoveLongTree(top); }

  static constexpr const char* kTopName = "Ωμέγα 日本 файл.txt";
  static constexpr const char* kDeepName = "日本語.dat";
  std::string top, middle, deep;
};

TEST_F(LongPathRunTest, AListingNamesEachEntryInUtf8AndTouchesNothingThenKeptFilesAreOverwritten) {
  List();

  EXPECT_EQ(run.Report().substr(0, run.Report().find("Number of files")),
            top + "\\\r\n" + kTopName + " (12/06/2026, 5 bytes)   \r\n" + deep + "\\\r\n" +
                kDeepName + " (12/06/2026, 1.50 KB)\r\n\r\n");
  EXPECT_EQ(run.lngNumFilesProcessed, 2);
  EXPECT_EQ(ReadLongFile(top + "\\" + kTopName), "top!!");
  EXPECT_EQ(ReadLongFile(deep + "\\" + kDeepName), Repeat('d', 1536));

  settings.options.blnDoNotDeletePurgedFiles = true;
  Purge();
  EXPECT_EQ(run.lngNumFilesPurged, 2);
  EXPECT_EQ(ReadLongFile(top + "\\" + kTopName), Repeat('\0', 5));
  EXPECT_EQ(ReadLongFile(deep + "\\" + kDeepName), Repeat('\0', 1536));
}

TEST_F(LongPathRunTest, APurgeReportsEachFileAndFolderAndLeavesNothingOfThemBehind) {
  settings.options.blnDeleteEmptyFolders = true;
  Purge();

  EXPECT_EQ(run.Report(),
            std::string(kDateLine) + "Purging all files in " + top +
                "\\\r\n(including all files in subfolders) \r\n"
                "using alternate bit patterns plus zeros once.\r\n\r\n" +
                top + "\\\r\n" + kTopName + " (5 bytes)" + Purged() + "\r\n\r\n" + deep + "\\\r\n" +
                kDeepName + " (1,536 bytes)" + Purged() + "\r\n" + "Folder " + deep +
                " removed.\r\n\r\n\r\n" + "Folder " + middle + " removed.\r\n\r\n" +
                "Number of files *.*: 2\r\nNumber of files purged: 2\r\n" + NotVerifiedLine(2) +
                "Sum of sizes of files purged: 1.50 KB\r\n\r\n"
                "Number of folders removed: 2\r\n" +
                kDateLine);
  EXPECT_FALSE(LongPathExists(top + "\\" + kTopName));
  EXPECT_FALSE(LongPathExists(deep + "\\" + kDeepName));
  EXPECT_FALSE(LongPathExists(deep));
  EXPECT_FALSE(LongPathExists(middle));
  EXPECT_TRUE(LongPathExists(top)) << "the target folder itself stays";
}

}  // namespace
