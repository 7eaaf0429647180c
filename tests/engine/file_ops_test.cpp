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

FileOps::ProtectedFiles MakeProtectedFiles() {
  return FileOps::ProtectedFiles(
      {SystemPath("/opt/Kexwell/bin/"), SystemPath("/opt/Kexwell/share/kexwell")},
      {SystemPath("/swapfile"), SystemPath("/var/Swap/extra.img")});
}

}  // namespace

TEST(FileOps, ASensitiveExtensionIsQueriedThenAllowedOrRefusedForTheRun) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  const std::string driver = SystemPath("/usr/lib/x/X.SYS");
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  files.SetPermission("sys", 1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/home/u/Y.exe")), FileOps::kSensitiveExtension);
  files.SetPermission("sys", -1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveRefused);
  files.Reset(0);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
}

TEST(FileOps, AllTwelveSensitiveExtensionsAreInTheTable) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  for (const char* extension :
       {"bat", "bin", "com", "dll", "drv", "exe", "ini", "ovl", "pif", "sys", "ocx", "kbd"}) {
    const std::string path = SystemPath("/data/file.") + extension;
    EXPECT_EQ(files.CheckFile(path), FileOps::kSensitiveExtension) << path;
  }
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.txt")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.so")), FileOps::kMayPurge);
  files.Reset(1);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.kbd")), FileOps::kMayPurge);
  files.Reset(-1);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.bat")), FileOps::kSensitiveRefused);
}

TEST(FileOps, SetPermissionIgnoresExtensionsNotInTheTable) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  files.SetPermission("txt", -1);
  files.SetPermission("SYS", 1);
  files.SetPermission(".sys", 1);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/a.txt")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/a.sys")), FileOps::kSensitiveExtension);
  // Only an allowing answer lets a sensitive file through.
  files.SetPermission("dll", 2);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/a.dll")), FileOps::kSensitiveExtension);
}

TEST(FileOps, PagingAndSwapFilesAreProtectedWhateverTheSysPermission) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  files.SetPermission("sys", 1);
  EXPECT_EQ(files.CheckFile(SystemPath("/pagefile.sys")), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile(SystemPath("/mnt/c/PageFile.SYS")), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile(SystemPath("/tmp/~x.swp")), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile(SystemPath("/tmp/.notes.txt.SWP")), FileOps::kPagingFile);
}

TEST(FileOps, AListedSwapFileIsProtectedAlsoWithoutAnExtension) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile(SystemPath("/swapfile")), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile(SystemPath("/var/Swap/extra.img")), FileOps::kPagingFile);
#ifdef _WIN32
  // Windows names are the same in any letter case.
  EXPECT_EQ(files.CheckFile(SystemPath("/SWAPFILE")), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile(SystemPath("/var/swap/EXTRA.img")), FileOps::kPagingFile);
#else
  // The comparison is exact: POSIX names are case-sensitive.
  EXPECT_EQ(files.CheckFile(SystemPath("/SWAPFILE")), FileOps::kMayPurge);
#endif
  EXPECT_EQ(files.CheckFile(SystemPath("/home/swapfile")), FileOps::kMayPurge);
}

TEST(FileOps, AFileWithoutExtensionMayBePurged) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile(SystemPath("/data/README")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/dir.exe/file")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/data/file.")), FileOps::kMayPurge);
}

TEST(FileOps, AnyFileDirectlyInAProgramFolderIsProtectedInAnyLetterCase) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/bin/kexwell")), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/bin/notes.txt")), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/bin/pagefile.sys")), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile(SystemPath("/OPT/kexwell/BIN/kexwell.dat")), FileOps::kProgramFolder);
  // The second folder was given without its final separator.
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/share/kexwell/kx_help.txt")),
            FileOps::kProgramFolder);
}

TEST(FileOps, AFileOutsideTheProgramFoldersThemselvesIsNotTheProgramsOwn) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/bin/sub/notes.txt")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/notes.txt")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/binary/notes.txt")), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/opt/Kexwell/bin")), FileOps::kMayPurge);
}

TEST(FileOps, EmptyProgramFoldersProtectNothing) {
  const FileOps::ProtectedFiles files({""}, {});
  EXPECT_EQ(files.CheckFile("notes.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile(SystemPath("/notes.txt")), FileOps::kMayPurge);
}

TEST(FileOps, ExtensionOfIsTheLowerCasedTextAfterTheLastDotOfTheName) {
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/usr/lib/x/X.SYS")), "sys");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/a/archive.tar.GZ")), "gz");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/dir.exe/file")), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/data/README")), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf(SystemPath("/data/file.")), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("name.Ini"), "ini");
}
