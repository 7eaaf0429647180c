// Where a file's data lies, as the file system of the temporary folder tells it.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/handles.h"
#include "support/temp_folder.h"

namespace {

using Platform::ByteRange;

// A file of `blocks` 4096-byte blocks of data, each followed by a hole of the same size, so that
// every block is a run of its own: more runs than one query of the placement returns.
TEST(FileLayout, EveryRunOfAFileWithManyIsFoundAndTheHolesAreLeftOut) {
  const TestSupport::TempFolder folder;
  constexpr int kBlocks = 300;
  {
    const int out = ::open((folder / "runs.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(out, 0);
    const std::string block(4096, 'r');
    for (int i = 0; i < kBlocks; ++i)
      ASSERT_EQ(::pwrite(out, block.data(), block.size(), i * 8192), 4096);
    ::close(out);
  }
  Platform::FolderHandle handle;
  ASSERT_FALSE(handle.Open(folder.Path()));
  Platform::FileHandle file;
  ASSERT_FALSE(file.OpenForWriting(handle, "runs.bin"));

  std::vector<ByteRange> ranges;
  ASSERT_FALSE(file.DataRanges(ranges));
  Platform::FileLayout layout;
  ASSERT_FALSE(file.Layout(layout));
  if (ranges.size() == 1) GTEST_SKIP() << "the file system of the temporary folder keeps no holes";
  ASSERT_EQ(ranges.size(), static_cast<std::size_t>(kBlocks));
  for (int i = 0; i < kBlocks; ++i) EXPECT_EQ(ranges[i], (ByteRange{i * 8192, 4096})) << i;
  if (!layout.located) GTEST_SKIP() << "the file system of the temporary folder does not tell";
  ASSERT_EQ(layout.extents.size(), static_cast<std::size_t>(kBlocks));
  for (int i = 0; i < kBlocks; ++i) {
    EXPECT_EQ(layout.extents[i].logical, i * 8192) << i;
    EXPECT_EQ(layout.extents[i].length, 4096) << i;
    EXPECT_FALSE(layout.extents[i].shared || layout.extents[i].inlined ||
                 layout.extents[i].unplaced)
        << i;
  }
}

}  // namespace
