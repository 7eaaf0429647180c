// Where a file's data lies, as the file system of the temporary folder tells it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles.h"
#include "support/temp_folder.h"

using Platform::ByteRange;

// A file of 300 4096-byte blocks of data, each followed by a hole of the same size, so that
// every block is a run of its own: more runs than one query of the placement returns.
TEST(FileLayout, EveryRunOfAFileWithManyIsFoundAndTheHolesAreLeftOut) {
  const TestSupport::TempFolder folder;
  TestSupport::WriteFile(folder / "runs.bin", "");
  Platform::FolderHandle handle;
  ASSERT_FALSE(handle.Open(folder.Path()));
  Platform::FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(handle, "runs.bin"));
  std::vector<ByteRange> written;
  for (int i = 0; i < 300; ++i) {
    written.push_back({i * 8192, 4096});
    ASSERT_FALSE(file.Seek(i * 8192) || file.WriteAll(std::string(4096, 'r').data(), 4096));
  }

  std::vector<ByteRange> ranges;
  ASSERT_FALSE(file.DataRanges(ranges));
  Platform::FileLayout layout;
  ASSERT_FALSE(file.Layout(layout));
  if (ranges.size() == 1) GTEST_SKIP() << "the file system of the temporary folder keeps no holes";
  EXPECT_EQ(ranges, written);
  if (!layout.located) GTEST_SKIP() << "the file system of the temporary folder does not tell";
  // Each extent as a range, its offset -1 when it is shared, inlined or unplaced.
  std::vector<ByteRange> placed;
  for (const auto& e : layout.extents)
    placed.push_back({e.shared || e.inlined || e.unplaced ? -1 : e.logical, e.length});
  EXPECT_EQ(placed, written);
}
