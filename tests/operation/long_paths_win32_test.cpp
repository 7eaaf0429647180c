// Listings and purges on Windows of a tree whose paths are longer than 260 characters and whose
// names hold characters outside the ANSI code page. The tree is made and inspected through the
// system's own wide calls in the long form ("\\?\"), so that nothing here leans on the program's
// platform layer.

#include <cstdint>
#include <string>

#include "operation/run_fixture.h"
#include "support/file_inspection.h"

// After the program's headers: <windows.h> makes Yield a macro.
#include <windows.h>

using namespace TestSupport;

namespace {

std::wstring Wide(const std::string& text) {
  const int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), size)));
  return wide;
}

std::wstring LongForm(const std::string& path) {
  return L"\\\\?\\" + Wide(path);
}

void MakeLongFolder(const std::string& path) {
  ASSERT_TRUE(::CreateDirectoryW(LongForm(path).c_str(), nullptr)) << path;
}

// Writes a new file and dates it 2026-12-06 10:30:00 UTC.
void WriteLongFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  const BOOL wrote =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  // 100-nanosecond steps since 1601-01-01.
  const std::uint64_t ticks = (1796553000ull + 11644473600ull) * 10000000ull;
  const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  const BOOL dated = ::SetFileTime(file, nullptr, &time, &time);
  ::CloseHandle(file);
  ASSERT_TRUE(wrote && written == bytes.size() && dated) << path;
}

bool LongPathExists(const std::string& path) {
  return ::GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes what a test left of the tree, deepest first.
void RemoveLongTree(const std::string& path) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = ::FindFirstFileW((LongForm(path) + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = LongForm(path) + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        const int size = static_cast<int>(name.size());
        std::string narrow(static_cast<std::size_t>(size) * 4, '\0');
        narrow.resize(static_cast<std::size_t>(::WideCharToMultiByte(
            CP_UTF8, 0, name.data(), size, narrow.data(), size * 4, nullptr, nullptr)));
        RemoveLongTree(path + "\\" + narrow);
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(LongForm(path).c_str());
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

TEST_F(LongPathRunTest, AListingNamesEveryFolderAndFileWithItsUtf8NameAndTouchesNothing) {
  List();

  EXPECT_EQ(run.Report().substr(0, run.Report().find("Number of files")),
            top + "\\\r\n" + kTopName + " (12/06/2026, 5 bytes)   \r\n" + deep + "\\\r\n" +
                kDeepName + " (12/06/2026, 1.50 KB)\r\n\r\n");
  EXPECT_EQ(run.lngNumFilesProcessed, 2);
  EXPECT_EQ(ReadLongFile(top + "\\" + kTopName), "top!!");
  EXPECT_EQ(ReadLongFile(deep + "\\" + kDeepName), Repeat('d', 1536));
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
  EXPECT_EQ(run.lngNumFilesPurged, 2);

  EXPECT_FALSE(LongPathExists(top + "\\" + kTopName));
  EXPECT_FALSE(LongPathExists(deep + "\\" + kDeepName));
  EXPECT_FALSE(LongPathExists(deep));
  EXPECT_FALSE(LongPathExists(middle));
  EXPECT_TRUE(LongPathExists(top)) << "the target folder itself stays";
}

TEST_F(LongPathRunTest, KeptFilesAreOverwrittenInPlaceAtTheirLongPaths) {
  settings.options.blnDoNotDeletePurgedFiles = true;
  Purge();

  EXPECT_EQ(run.lngNumFilesPurged, 2);
  EXPECT_EQ(ReadLongFile(top + "\\" + kTopName), Repeat('\0', 5));
  EXPECT_EQ(ReadLongFile(deep + "\\" + kDeepName), Repeat('\0', 1536));
}

}  // namespace
