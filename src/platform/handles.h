#pragma once

// Folders and files reached through open handles. A walk opens its first folder by path once;
// everything below it is opened relative to an open folder, and a file is opened once and that
// one handle serves every overwrite, its length and times, and the check before its deletion.
// So a folder or a file swapped for a link or for another entry mid-run never sends the program
// outside what was chosen.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

#include <vector>

#include "platform/file_layout.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace Platform {

// Which file an entry is, whatever path names it: device and inode on POSIX, volume serial number
// and file id on Windows.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool known = false;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What an entry is, read without following a link.
struct EntryStatus {
  FileKind kind = FileKind::Missing;
  FileIdentity identity;
  std::uint64_t links = 1;  // how many names the file has
  std::int64_t length = 0;
  FileTimes times;
  bool readOnly = false;  // POSIX: the owner's write permission is off
  bool hidden = false;    // POSIX: the name begins with "."
  bool system = false;    // POSIX: never
  // The entry lies on a file system of the system's own making (proc, sysfs, devtmpfs, cgroup,
  // debugfs, securityfs and the like), not on a disk.
  bool pseudoFileSystem = false;
};

// The identity of what a path names, links on the way followed (the program's folders and the
// swap files the system lists are named by such paths).
std::error_code IdentityOfPath(const std::string& path, FileIdentity& identity);

class FileHandle;

// An open folder.
class FolderHandle {
 public:
  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;

  // Opens the folder that path names, to start a walk there. Links on the way to it are followed
  // as the path names them; the folder itself must not be a link (NotAFolder).
  std::error_code Open(const std::string& path);

  // Opens the subfolder `name` of this folder. A link, or anything but a folder, is refused with
  // NotAFolder; a folder that is the root of another mounted file system (another device, or a
  // bind mount of the same one) with OtherFileSystem. Neither is ever entered.
  std::error_code OpenSubfolder(const std::string& name, FolderHandle& subfolder) const;

  // Calls visit for every entry but "." and "..", in the order the system gives them, until
  // visit returns false.
  std::error_code List(const std::function<bool(const FolderEntry&)>& visit) const;

  // What `name` in this folder is, without following a link.
  std::error_code Status(const std::string& name, EntryStatus& status) const;

  // Clears the read-only attribute of the entry `name`, never through a link.
  std::error_code ClearReadOnly(const std::string& name) const;

  // Removes the empty subfolder `name` when it still is the folder `expected` (NameReplaced
  // otherwise); a link is never removed in its place.
  std::error_code RemoveSubfolder(const std::string& name, const FileIdentity& expected) const;

  // Writes the folder's entries through to the disk, so that deletions are lasting.
  std::error_code Sync() const;
  // Writes all that the folder's file system holds for its disk, its own records included, to
  // where it belongs on the disk (POSIX syncfs: a journaling file system writes its records home,
  // not only to its journal). Windows: nothing to do, as NTFS writes its records itself.
  std::error_code SyncFileSystem() const;

  std::error_code Identity(FileIdentity& identity) const;
  // True when the folder lies on a file system of the system's own making (see EntryStatus).
  bool OnPseudoFileSystem() const { return pseudo_; }
  // The path the walk gave this folder, ending in one separator: for texts, never for access.
  const std::string& Path() const { return path_; }
  bool IsOpen() const { return handle_ != kNoHandle; }
  void Close();

 private:
  friend class FileHandle;
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
  std::string path_;
  bool pseudo_ = false;
  // POSIX: the device and the mount the folder lies on, to tell a mount point below it.
  std::uint64_t device_ = 0;
  std::uint64_t mountId_ = 0;
};

// A regular file of an open folder, opened for overwriting in place.
class FileHandle {
 public:
  FileHandle() = default;
  ~FileHandle();
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;

  // Opens the entry `name` of folder for writing. Never follows a link, never waits on a pipe,
  // never opens a device: anything but a regular file gives NotARegularFile.
  std::error_code OpenForWriting(const FolderHandle& folder, const std::string& name);
  // Makes the new, empty regular file `name` in folder (for its owner only) and opens it for
  // writing; file_exists when anything of that name is there already.
  std::error_code CreateNew(const FolderHandle& folder, const std::string& name);
  // Takes the file's exclusive lock without waiting: resource_unavailable_try_again while another
  // handle holds it, in this program or another. The lock goes with this handle: it is released
  // when the handle is closed, or when the program ends however it ends. It does not keep others
  // from reading or writing the file's bytes.
  std::error_code TryLock();

  // What the open file is now (its kind, identity, names, length, times and attributes).
  std::error_code Status(EntryStatus& status) const;
  // Moves to the byte at offset.
  std::error_code Seek(std::int64_t offset);
  // Writes all of data at the current position, carrying on after partial writes and signals.
  std::error_code WriteAll(const void* data, std::size_t size);
  std::error_code Truncate(std::int64_t length);
  // Gives the file room for length bytes from offset on, without writing them (they read as
  // zeros until they are written), so that writes there need no room found for them: POSIX
  // fallocate, Windows the file's allocation size. The file's length may grow to offset + length.
  // The same errors as a write where there is no room (see WriteLimitOf); another error where
  // the file system cannot reserve room.
  std::error_code Reserve(std::int64_t offset, std::int64_t length);
  // The parts of the file that hold data, in order; a file system that keeps no holes gives the
  // whole file as one part (nothing for an empty file).
  std::error_code DataRanges(std::vector<ByteRange>& ranges) const;
  // Where the file system placed the file's data, after writing what is pending to the disk. A
  // file system that does not tell gives located = false and no error; an error is a query that
  // failed.
  std::error_code Layout(FileLayout& layout) const;
  // Starts writing length bytes from offset to the disk without waiting for them (POSIX
  // sync_file_range), so that the disk is busy while more is written; Sync still waits for all.
  // Windows: nothing to do. Only a hint: a failure shows in Sync.
  void BeginWriteBack(std::int64_t offset, std::int64_t length);
  // Writes the data through to the disk.
  std::error_code Sync();
  // Writes the access and modification times (a creation time where the system can set one).
  std::error_code SetTimes(const FileTimes& times);
  // Removes the name `name` of folder, only while it still leads to this open file: NameReplaced
  // when it leads elsewhere now (that entry is left as it is). The handle stays open.
  std::error_code RemoveName(const FolderHandle& folder, const std::string& name);
  std::error_code Close();
  bool IsOpen() const { return handle_ != kNoHandle; }

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
};

// What a failed write says of the room left for it: none on the drive, none within the user's
// quota, none within the largest length a file may have there, or a failure of another kind.
enum class WriteLimit { None, DriveFull, QuotaReached, FileTooLarge };
WriteLimit WriteLimitOf(const std::error_code& error);

// A seam for tests: the steps of a walk and of a purge at which another program could change the
// file system. Tests set a hook to change it there; the program never sets one.
enum class HandleStep {
  BeforeOpenSubfolder,  // name: the subfolder about to be opened
  BeforeOpenFile,       // name: the file about to be opened for writing
  AfterFileSync,        // name: empty; one overwrite of the open file has reached the disk
  BeforeRemoveName,     // name: the file whose name is about to be removed
};
using HandleStepHook = std::function<void(HandleStep step, const std::string& name)>;
void SetHandleStepHook(HandleStepHook hook);
// Called by the platform layer at each step.
void ReachedHandleStep(HandleStep step, const std::string& name);

}  // namespace Platform
