#include "engine/file_ops.h"

#include <gtest/gtest.h>

#include "platform/program.h"

namespace {

// An absolute path written as on POSIX, in the system's own form: on Windows on drive C and
// with "\" between the names.
std::string SystemPath(const std::string& posix) {
#ifdef _WIN32
  std::string path = posix.starts_with('/') ? "C:" + posix : posix;
#else
  std::string path = posix;
#endif
  for (char& c : path)
    if (c == '/') c = Platform::kPathSeparator;
  return path;
}

}  // namespace

TEST(FileOps, ProgramFoldersSwapFilesAndSensitiveExtensionsAreProtected) {
  // The second program folder is given without its final separator.
  FileOps::ProtectedFiles files({SystemPath("/opt/Kexwell/bin/"), SystemPath("/opt/Kexwell/share/kexwell")},
                                {SystemPath("/swapfile"), SystemPath("/var/Swap/extra.img")});
  files.SetPermission("sys", FileOps::kAllowed);  // not for paging files nor program folders
  const std::pair<std::string, short> rows[] = {
      {"/opt/Kexwell/bin/kexwell", FileOps::kProgramFolder},
      {"/opt/Kexwell/bin/pagefile.sys", FileOps::kProgramFolder},
      {"/OPT/kexwell/BIN/kexwell.dat", FileOps::kProgramFolder},
      {"/opt/Kexwell/share/kexwell/kx_help.txt", FileOps::kProgramFolder},
      {"/opt/Kexwell/bin/sub/notes.txt", FileOps::kMayPurge},
      {"/opt/Kexwell/bin", FileOps::kMayPurge},
      {"/swapfile", FileOps::kPagingFile},
#ifdef _WIN32
      {"/SWAPFILE", FileOps::kPagingFile},  // Windows names are the same in any letter case
      {"/var/swap/EXTRA.img", FileOps::kPagingFile},
#else
      {"/SWAPFILE", FileOps::kMayPurge},  // POSIX names are case-sensitive
#endif
      {"/home/swapfile", FileOps::kMayPurge},
      {"/mnt/c/PageFile.SYS", FileOps::kPagingFile},
      {"/tmp/.notes.txt.SWP", FileOps::kPagingFile},
      {"/usr/lib/x/X.SYS", FileOps::kMayPurge},
      {"/data/file.", FileOps::kMayPurge},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(files.CheckFile(SystemPath(path)), expected) << path;
  const FileOps::ProtectedFiles noFolders({""}, {});  // an empty folder protects nothing
  EXPECT_EQ(noFolders.CheckFile(SystemPath("/notes.txt")), FileOps::kMayPurge);
}

TEST(FileOps, ASensitiveExtensionIsQueriedUntilAllowedOrRefusedForTheRun) {
  FileOps::ProtectedFiles files({}, {});
  for (const char* extension : {"bat", "exe", "kbd"})
    EXPECT_EQ(files.CheckFile(SystemPath("/data/file.") + extension), FileOps::kSensitiveExtension);
  const std::string driver = SystemPath("/usr/lib/x/X.SYS");
  for (const char* ignored : {"txt", "SYS", ".sys"}) files.SetPermission(ignored, 1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  files.SetPermission("sys", 2);  // only an allowing answer lets a sensitive file through
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  files.SetPermission("sys", -1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveRefused);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/a.txt")), FileOps::kMayPurge);
  files.Reset(1);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.kbd")), FileOps::kMayPurge);
  files.Reset(-1);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.bat")), FileOps::kSensitiveRefused);
  files.Reset(0);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/a/archive.tar.GZ")), "gz");
}
