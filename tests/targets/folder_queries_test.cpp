#include "targets/folder_queries.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace TestSupport;
namespace fs = std::filesystem;

namespace {

// POSIX trees hold links too. Windows links need a privilege that Wine and most users lack.
#ifdef _WIN32
constexpr bool kLinks = false;
#else
constexpr bool kLinks = true;
#endif

// top: a.txt (3 bytes), b.TXT (5), .hidden.txt (0), c.doc (7), and with links link.txt -> a.txt
// and linked-folder -> sub; top/sub: d.txt (11), sub/deeper: e.txt (13).
struct Tree {
  TempFolder folder;
  const std::string top = folder.Path();
  Tree() {
    MakeFolders(folder / NativePath("sub/deeper"));
    const std::pair<const char*, int> files[] = {{"a.txt", 3}, {"b.TXT", 5},      {".hidden.txt", 0},
                                                 {"c.doc", 7}, {"sub/d.txt", 11}, {"sub/deeper/e.txt", 13}};
    for (const auto& [name, bytes] : files) WriteFile(folder / NativePath(name), std::string(bytes, 'x'));
    if (!kLinks) return;
    fs::create_symlink(FileSystemPath(folder / "a.txt"), FileSystemPath(folder / "link.txt"));
    fs::create_directory_symlink(FileSystemPath(folder / "sub"), FileSystemPath(folder / "linked-folder"));
  }
  // The own length of the link to a.txt: the length of the path it holds.
  double LinkLength() const { return kLinks ? static_cast<double>((folder / "a.txt").size()) : 0; }
};

}  // namespace

TEST(FolderQueries, FilesCountLinksAndStarDotStarIsTheRawCountSubfoldersAreRealFoldersOnly) {
  Tree tree;
  double size = 123;
  EXPECT_EQ(CountMatchingFiles(tree.top, "*.*", false, size), kLinks ? 6 : 4);
  EXPECT_EQ(size, 123.0) << "the raw count leaves the size as it was";
  EXPECT_EQ(CountMatchingFiles(tree.top, "*.txt", false, size), kLinks ? 4 : 3);
  EXPECT_EQ(size, 0.0);
  size = -1;
  EXPECT_EQ(CountMatchingFiles(tree.top, "*.txt", false, size), kLinks ? 4 : 3);
  EXPECT_EQ(size, 3 + 5 + 0 + tree.LinkLength()) << "a link's own length counts, not its target's";
  EXPECT_EQ(CountMatchingFiles(tree.top, "*.txt", true, size), 1);
  EXPECT_EQ(CountMatchingFiles(tree.folder / "missing", "*.*", false, size), -1);
  // Subfolders: real folders only; an unreadable one is -1.
  EXPECT_EQ(CountSubfolders(tree.top) + CountSubfolders(tree.folder / "sub"), 2);
  EXPECT_EQ(CountSubfolders(tree.folder / "nowhere"), -1);
  EXPECT_EQ(CountSubfolders(tree.folder / "linked-folder"), -1) << "a link is not entered";
}

TEST(CountMatchingFilesInTree, CountsTheWholeTreeWithSizesWithoutEnteringLinksUpToALimitOrAStop) {
  Tree tree;
  std::int32_t count = 99, stop = 5;
  std::int16_t limit = 0;
  double size = 99;
  EXPECT_TRUE(CountMatchingFilesInTree(true, tree.top, "*.txt", count, limit, true, size, stop));
  EXPECT_EQ(count, kLinks ? 6 : 5);
  EXPECT_EQ(size, 3 + 5 + 0 + 11 + 13 + tree.LinkLength());
  EXPECT_EQ(limit, 0);
  // Without a reset, a stop already asked for keeps it out of the subfolders.
  count = 0;
  stop = 1;
  CountMatchingFilesInTree(false, tree.top, "*.txt", count, limit, false, size, stop);
  EXPECT_EQ(count, kLinks ? 4 : 3);
  limit = 2;
  CountMatchingFilesInTree(true, tree.top, "*.txt", count, limit, false, size, stop);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(limit, -2);
  EXPECT_TRUE(AnyMatchingFileInTree(tree.top, "e.txt"));
  EXPECT_FALSE(AnyMatchingFileInTree(tree.top, "*.pdf"));
#ifndef _WIN32
  // An unreadable subfolder is passed over: the tree is read as another user, which needs root.
  if (!CanDropPrivileges()) return;
  fs::permissions(tree.top, fs::perms::all, fs::perm_options::add);
  fs::permissions(tree.folder / "sub", fs::perms::owner_all, fs::perm_options::replace);
  limit = 0;
  const int unreadable = RunInChild([&] {
    if (!BecomeNobody()) return 90;
    return CountMatchingFilesInTree(true, tree.top, "*.txt", count, limit, false, size, stop) ? count : 91;
  });
  EXPECT_EQ(unreadable, 4) << "the files of the top folder, none of the unreadable subfolder";
#endif
}
