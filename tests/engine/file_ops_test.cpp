#include "engine/file_ops.h"

#include <gtest/gtest.h>

namespace {

FileOps::ProtectedFiles MakeProtectedFiles() {
  return FileOps::ProtectedFiles({"/opt/Kexwell/bin/", "/opt/Kexwell/share/kexwell"},
                                 {"/swapfile", "/var/Swap/extra.img"});
}

}  // namespace

TEST(FileOps, ASensitiveExtensionIsQueriedThenAllowedOrRefusedForTheRun) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  const std::string driver = "/usr/lib/x/X.SYS";
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
  files.SetPermission("sys", 1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/home/u/Y.exe"), FileOps::kSensitiveExtension);
  files.SetPermission("sys", -1);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveRefused);
  files.Reset(0);
  EXPECT_EQ(files.CheckFile(driver), FileOps::kSensitiveExtension);
}

TEST(FileOps, AllTwelveSensitiveExtensionsAreInTheTable) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  for (const char* extension :
       {"bat", "bin", "com", "dll", "drv", "exe", "ini", "ovl", "pif", "sys", "ocx", "kbd"}) {
    const std::string path = std::string("/data/file.") + extension;
    EXPECT_EQ(files.CheckFile(path), FileOps::kSensitiveExtension) << path;
  }
  EXPECT_EQ(files.CheckFile("/data/file.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/data/file.so"), FileOps::kMayPurge);
  files.Reset(1);
  EXPECT_EQ(files.CheckFile("/data/file.kbd"), FileOps::kMayPurge);
  files.Reset(-1);
  EXPECT_EQ(files.CheckFile("/data/file.bat"), FileOps::kSensitiveRefused);
}

TEST(FileOps, SetPermissionIgnoresExtensionsNotInTheTable) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  files.SetPermission("txt", -1);
  files.SetPermission("SYS", 1);
  files.SetPermission(".sys", 1);
  EXPECT_EQ(files.CheckFile("/data/a.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/data/a.sys"), FileOps::kSensitiveExtension);
  // Only an allowing answer lets a sensitive file through.
  files.SetPermission("dll", 2);
  EXPECT_EQ(files.CheckFile("/data/a.dll"), FileOps::kSensitiveExtension);
}

TEST(FileOps, PagingAndSwapFilesAreProtectedWhateverTheSysPermission) {
  FileOps::ProtectedFiles files = MakeProtectedFiles();
  files.SetPermission("sys", 1);
  EXPECT_EQ(files.CheckFile("/pagefile.sys"), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile("/mnt/c/PageFile.SYS"), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile("/tmp/~x.swp"), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile("/tmp/.notes.txt.SWP"), FileOps::kPagingFile);
}

TEST(FileOps, AListedSwapFileIsProtectedAlsoWithoutAnExtension) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile("/swapfile"), FileOps::kPagingFile);
  EXPECT_EQ(files.CheckFile("/var/Swap/extra.img"), FileOps::kPagingFile);
  // The comparison is exact: names on this system are case-sensitive.
  EXPECT_EQ(files.CheckFile("/SWAPFILE"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/home/swapfile"), FileOps::kMayPurge);
}

TEST(FileOps, AFileWithoutExtensionMayBePurged) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile("/data/README"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/dir.exe/file"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/data/file."), FileOps::kMayPurge);
}

TEST(FileOps, AnyFileDirectlyInAProgramFolderIsProtectedInAnyLetterCase) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/bin/kexwell"), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/bin/notes.txt"), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/bin/pagefile.sys"), FileOps::kProgramFolder);
  EXPECT_EQ(files.CheckFile("/OPT/kexwell/BIN/kexwell.dat"), FileOps::kProgramFolder);
  // The second folder was given without its final separator.
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/share/kexwell/kx_help.txt"), FileOps::kProgramFolder);
}

TEST(FileOps, AFileOutsideTheProgramFoldersThemselvesIsNotTheProgramsOwn) {
  const FileOps::ProtectedFiles files = MakeProtectedFiles();
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/bin/sub/notes.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/notes.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/binary/notes.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/opt/Kexwell/bin"), FileOps::kMayPurge);
}

TEST(FileOps, EmptyProgramFoldersProtectNothing) {
  const FileOps::ProtectedFiles files({""}, {});
  EXPECT_EQ(files.CheckFile("notes.txt"), FileOps::kMayPurge);
  EXPECT_EQ(files.CheckFile("/notes.txt"), FileOps::kMayPurge);
}

TEST(FileOps, ExtensionOfIsTheLowerCasedTextAfterTheLastDotOfTheName) {
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("/usr/lib/x/X.SYS"), "sys");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("/a/archive.tar.GZ"), "gz");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("/dir.exe/file"), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("/data/README"), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("/data/file."), "");
  EXPECT_EQ(FileOps::ProtectedFiles::ExtensionOf("name.Ini"), "ini");
}
