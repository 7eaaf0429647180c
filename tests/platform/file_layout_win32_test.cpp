#include <gtest/gtest.h>

// The program's headers come before windows.h, whose GetFileAttributes macro would rename one.
#include "platform/file_layout.h"
#include "platform/handles.h"
#include "support/reparse_points_win32.h"
#include "support/temp_folder.h"

#include <windows.h>
#undef GetFileAttributes

#include <cstdint>
#include <string>
#include <vector>

using Platform::ByteRange;

// A file not marked sparse keeps no holes on Windows, whatever was left unwritten (Wine, which
// marks no file sparse, answers so even for a file that has holes on the Unix disk below); an
// empty file is located and has no extents. A block written after a gap of 1 MiB is one run of
// 1,052,672 bytes.
TEST(DataRangesWin32, GiveAFileThatIsNotMarkedSparseWhole) {
  const std::pair<std::int64_t, std::vector<ByteRange>> rows[] = {{0, {}}, {1 << 20, {{0, 1'052'672}}}};
  for (const auto& [gapEnd, expected] : rows) {
    TestSupport::TempFolder temp;
    TestSupport::WriteFile(temp / "file", "");
    Platform::FolderHandle folder;
    ASSERT_FALSE(folder.Open(temp.Path()));
    Platform::FileHandle file;
    ASSERT_FALSE(file.OpenForWriting(folder, "file"));
    const std::string block(gapEnd > 0 ? 4096 : 0, 'd');  // nothing at all for the empty file
    ASSERT_FALSE(file.Seek(gapEnd) || file.WriteAll(block.data(), block.size()));
    std::vector<ByteRange> ranges{{1, 2}};
    ASSERT_FALSE(file.DataRanges(ranges));
    EXPECT_EQ(ranges, expected) << gapEnd;
    Platform::FileLayout layout;
    layout.extents.resize(1);
    ASSERT_FALSE(file.Layout(layout));
    // Wine gives the same made-up run for every file: that tells nothing.
    EXPECT_EQ(layout.located, gapEnd == 0 || !TestSupport::RunningUnderWine()) << gapEnd;
    EXPECT_EQ(layout.extents.empty(), gapEnd == 0 || TestSupport::RunningUnderWine()) << gapEnd;
  }
}
