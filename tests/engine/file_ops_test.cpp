#include "engine/file_ops.h"

#include <gtest/gtest.h>

#include "support/native_path.h"

using TestSupport::NativePath;

TEST(FileOps, ProgramFoldersSwapFilesAndSensitiveExtensionsAreProtected) {
  // The second program folder is given without its final separator; an empty one protects nothing.
  FileOps::ProtectedFiles files(
      {NativePath("/opt/Kexwell/bin/"), NativePath("/opt/Kexwell/share/kexwell"), ""},
      {NativePath("/swapfile"), NativePath("/var/Swap/extra.img")});
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
      {"/notes.txt", FileOps::kMayPurge},
  };
  for (const auto& [path, expected] : rows) EXPECT_EQ(files.CheckFile(NativePath(path)), expected) << path;
}

TEST(FileOps, ASensitiveExtensionIsQueriedUntilAllowedOrRefusedForTheRun) {
  FileOps::ProtectedFiles files({}, {});
  for (const char* extension : {"bat", "exe", "kbd"})
    EXPECT_EQ(files.CheckFile(NativePath("/data/file.") + extension), FileOps::kSensitiveExtension);
  const std::string driver = NativePath("/usr/lib/x/X.SYS");
  for (const char* ignored : {"txt", "SYS", ".sys"}) files.SetPermission(ignored, 1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  // Only an allowing answer lets a sensitive file through.
  for (const auto& [permission, expected] :
       {std::pair<short, short>{2, FileOps::kSensitiveExtension}, {-1, FileOps::kSensitiveRefused}}) {
    files.SetPermission("sys", permission);
    EXPECT_EQ(files.CheckFile(driver), expected);
  }
  // Allowing all for a run is tried with the run's options.
  files.Reset(-1);
  EXPECT_EQ(files.CheckFile(NativePath("/data/file.bat")), FileOps::kSensitiveRefused);
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(NativePath("/a/archive.tar.GZ")), "gz");
}
