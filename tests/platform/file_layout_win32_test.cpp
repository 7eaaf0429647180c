#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/file_layout.h"
#include "platform/handles.h"
#include "support/file_inspection.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#include <winioctl.h>
#undef GetFileAttributes

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Platform::ByteRange;
using Platform::FileHandle;
using Platform::FileLayout;
using Platform::FolderHandle;
using TestSupport::TempFolder;

constexpr std::int64_t kKiB = 1024;

// The file `name` of folder made of blocks of bytes at the given offsets, written through the
// program's own handle; what lies between them was never written.
void MakeFileWithGaps(const TempFolder& temp, const std::string& name,
                      const std::vector<std::int64_t>& blockOffsets, std::int64_t blockSize) {
  TestSupport::WriteFile(temp / name, "");
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, name));
  const std::string block(static_cast<std::size_t>(blockSize), 'd');
  for (const std::int64_t offset : blockOffsets) {
    ASSERT_FALSE(file.Seek(offset));
    ASSERT_FALSE(file.WriteAll(block.data(), block.size()));
  }
}

// A file not marked sparse keeps no holes on Windows, whatever was left unwritten (Wine, which
// marks no file sparse, answers so even for a file that has holes on the Unix disk below).
TEST(DataRangesWin32, GiveAFileThatIsNotMarkedSparseWhole) {
  const std::pair<std::vector<std::int64_t>, std::vector<ByteRange>> rows[] = {
      {{}, {}}, {{0, 4 * kKiB}, {{0, 8 * kKiB}}}, {{0, 1024 * kKiB}, {{0, 1028 * kKiB}}}};
  for (const auto& [blockOffsets, expected] : rows) {
    TempFolder temp;
    MakeFileWithGaps(temp, "file", blockOffsets, 4 * kKiB);
    FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));
    FileHandle file;
    ASSERT_FALSE(file.OpenForWriting(folder, "file"));
    std::vector<ByteRange> ranges{{1, 2}};
    ASSERT_FALSE(file.DataRanges(ranges));
    EXPECT_EQ(ranges, expected) << blockOffsets.size() << " blocks";
  }
}

TEST(DataRangesWin32, LeaveOutTheHolesOfASparseFile) {
  TempFolder temp;
  const std::string path = temp / "sparse";
  const HANDLE made =
      ::CreateFileW(TestSupport::WideLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  const std::string data(1024 * kKiB, 'd');
  DWORD done = 0;
  ASSERT_TRUE(::WriteFile(made, data.data(), static_cast<DWORD>(data.size()), &done, nullptr));
  FILE_ZERO_DATA_INFORMATION hole{};
  hole.FileOffset.QuadPart = 256 * kKiB;
  hole.BeyondFinalZero.QuadPart = 768 * kKiB;
  const bool sparse =
      ::DeviceIoControl(made, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &done, nullptr) &&
      ::DeviceIoControl(made, FSCTL_SET_ZERO_DATA, &hole, sizeof hole, nullptr, 0, &done, nullptr);
  const DWORD code = ::GetLastError();
  ::CloseHandle(made);
  if (!sparse && (code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION))
    GTEST_SKIP() << "the file system makes no holes (Wine takes no FSCTL_SET_ZERO_DATA)";
  ASSERT_TRUE(sparse) << code;

  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));
  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "sparse"));
  std::vector<ByteRange> ranges;
  ASSERT_FALSE(file.DataRanges(ranges));
  EXPECT_EQ(ranges, (std::vector<ByteRange>{{0, 256 * kKiB}, {768 * kKiB, 256 * kKiB}}));
}

TEST(FileLayoutWin32, LocatesAnEmptyFileWithNoExtentsAndAnOrdinaryOneAllOrNotAtAll) {
  TempFolder temp;
  MakeFileWithGaps(temp, "empty", {}, 0);
  MakeFileWithGaps(temp, "file", {0, 60 * kKiB}, 40 * kKiB);
  FolderHandle folder;
  ASSERT_FALSE(folder.Open(temp.Path()));

  FileHandle empty;
  ASSERT_FALSE(empty.OpenForWriting(folder, "empty"));
  FileLayout layout;
  layout.extents.resize(1);
  ASSERT_FALSE(empty.Layout(layout));
  EXPECT_TRUE(layout.located);
  EXPECT_TRUE(layout.extents.empty());

  FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(folder, "file"));
  const std::string more(5, 'm');
  ASSERT_FALSE(file.Seek(100 * kKiB));
  ASSERT_FALSE(file.WriteAll(more.data(), more.size()));  // flushed by Layout itself
  ASSERT_FALSE(file.Layout(layout));
  EXPECT_FALSE(layout.dataJournaled);
  if (TestSupport::RunningUnderWine()) {
    // Wine gives the same made-up run for every file: that tells nothing.
    EXPECT_FALSE(layout.located);
    EXPECT_TRUE(layout.extents.empty());
    return;
  }
  ASSERT_TRUE(layout.located);
  ASSERT_FALSE(layout.extents.empty());
  std::int64_t end = 0;
  for (const Platform::DataExtent& extent : layout.extents) {
    EXPECT_EQ(extent.logical, end);
    EXPECT_GT(extent.length, 0);
    end = extent.logical + extent.length;
  }
  EXPECT_GE(end, 100 * kKiB + 5);
}

}  // namespace
