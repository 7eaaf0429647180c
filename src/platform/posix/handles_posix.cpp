#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <map>
#include <memory>
#include <mutex>

#include "platform/errors.h"
#include "platform/handles.h"
#include "platform/posix/mount_lookup.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/regular_files.h"

namespace Platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

std::error_code LastError() {
  return {errno, std::system_category()};
}

int Descriptor(std::intptr_t handle) {
  return static_cast<int>(handle);
}

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISLNK(mode)) return FileKind::SymbolicLink;
  return FileKind::Other;
}

FileTime ToFileTime(const statx_timestamp& time) {
  return {time.tv_sec, static_cast<std::int32_t>(time.tv_nsec)};
}

// What statx says of an entry, relative to a folder (flags AT_SYMLINK_NOFOLLOW) or of an open
// file (name "" and AT_EMPTY_PATH).
std::error_code StatusAt(int folder, const char* name, int flags, EntryStatus& status) {
  status = {};
  struct statx info {};
  if (::statx(folder, name, flags | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME,
              &info) != 0)
    return LastError();
  const auto mode = static_cast<mode_t>(info.stx_mode);
  status.kind = KindOf(mode);
  status.identity = {makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_ino, true};
  status.links = info.stx_nlink;
  status.length = static_cast<std::int64_t>(info.stx_size);
  status.times.access = ToFileTime(info.stx_atime);
  status.times.modification = ToFileTime(info.stx_mtime);
  if ((info.stx_mask & STATX_BTIME) != 0) {
    status.times.hasCreation = true;
    status.times.creation = ToFileTime(info.stx_btime);
  }
  status.readOnly = !S_ISLNK(mode) && (mode & S_IWUSR) == 0;
  const std::string entry(name);
  status.hidden = entry.size() > 1 && entry.front() == '.' && entry != "..";
  return {};
}

// The mount a descriptor's object lies on (0 when the kernel does not tell).
std::uint64_t MountIdOf(int handle) {
  struct statx info {};
  if (::statx(handle, "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, STATX_MNT_ID, &info) != 0)
    return 0;
  return (info.stx_mask & STATX_MNT_ID) != 0 ? info.stx_mnt_id : 0;
}

// File system magic numbers (statfs f_type) of the system's own pseudo file systems.
bool IsPseudoMagic(unsigned long magic) {
  switch (magic) {
    case 0x9fa0UL:      // proc
    case 0x62656572UL:  // sysfs
    case 0x27e0ebUL:    // cgroup
    case 0x63677270UL:  // cgroup2
    case 0x64626720UL:  // debugfs
    case 0x73636673UL:  // securityfs
    case 0x74726163UL:  // tracefs
    case 0x1cd1UL:      // devpts
    case 0xcafe4a11UL:  // bpf
    case 0x6165676cUL:  // pstore
    case 0xde5e81e4UL:  // efivarfs
    case 0x62656570UL:  // configfs
    case 0x65735543UL:  // fusectl
    case 0xf97cff8cUL:  // selinuxfs
    case 0x19800202UL:  // mqueue
    case 0x6e736673UL:  // nsfs
    case 0x42494e4dUL:  // binfmt_misc
      return true;
    default:
      return false;
  }
}

constexpr unsigned long kTmpfsMagic = 0x01021994UL;

// devtmpfs calls itself tmpfs; the mount table tells them apart.
bool IsDeviceFileSystem(dev_t device) {
  static std::mutex lock;
  static std::map<dev_t, bool> known;
  const std::lock_guard<std::mutex> guard(lock);
  if (const auto found = known.find(device); found != known.end()) return found->second;
  const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  bool devtmpfs = false;
  for (const MountTable::MountEntry& entry :
       MountLookup::ReadMountTable().value_or(std::vector<MountTable::MountEntry>{}))
    if (entry.deviceNumber == number && entry.fileSystem == "devtmpfs") devtmpfs = true;
  known.emplace(device, devtmpfs);
  return devtmpfs;
}

bool OnPseudoFileSystem(int handle) {
  struct statfs system {};
  if (::fstatfs(handle, &system) != 0) return false;
  const auto magic = static_cast<unsigned long>(system.f_type);
  if (IsPseudoMagic(magic)) return true;
  struct stat object {};
  return magic == kTmpfsMagic && ::fstat(handle, &object) == 0 && IsDeviceFileSystem(object.st_dev);
}

std::string FolderPath(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Takes an opened folder descriptor into folder, noting where it lies.
std::error_code AdoptFolder(int handle, std::string path, std::intptr_t& handleField,
                            std::string& pathField, bool& pseudo, std::uint64_t& device,
                            std::uint64_t& mountId) {
  struct stat object {};
  if (::fstat(handle, &object) != 0) {
    const std::error_code error = LastError();
    ::close(handle);
    return error;
  }
  if (!S_ISDIR(object.st_mode)) {
    ::close(handle);
    return PlatformErrc::NotAFolder;
  }
  handleField = handle;
  pathField = std::move(path);
  device = object.st_dev;
  mountId = MountIdOf(handle);
  pseudo = OnPseudoFileSystem(handle);
  return {};
}

}  // namespace

void Posix::IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
  });
}

std::error_code Posix::OpenRegularAt(int folder, const std::string& name, int access, int& handle) {
  handle = -1;
  IgnoreFileSizeSignal();
  struct stat entry {};
  if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  if (!S_ISREG(entry.st_mode)) return PlatformErrc::NotARegularFile;
  const int opened =
      ::openat(folder, name.c_str(), access | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened < 0) {
    const std::error_code error = LastError();
    // O_NOFOLLOW says ELOOP for a link, a pipe without reader says ENXIO: a swapped entry.
    if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(entry.st_mode))
      return PlatformErrc::NotARegularFile;
    return error;
  }
  struct stat object {};
  std::error_code error;
  if (::fstat(opened, &object) != 0) {
    error = LastError();
  } else if (!S_ISREG(object.st_mode)) {
    error = PlatformErrc::NotARegularFile;
  } else {
    const int flags = ::fcntl(opened, F_GETFL);
    if (flags < 0 || ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0) error = LastError();
  }
  if (error) {
    ::close(opened);
    return error;
  }
  handle = opened;
  return {};
}

std::error_code IdentityOfPath(const std::string& path, FileIdentity& identity) {
  identity = {};
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return LastError();
  identity = {info.st_dev, info.st_ino, true};
  return {};
}

// --- FolderHandle --------------------------------------------------------------------------

FolderHandle::~FolderHandle() {
  Close();
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept {
  *this = std::move(other);
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    pseudo_ = other.pseudo_;
    device_ = other.device_;
    mountId_ = other.mountId_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

void FolderHandle::Close() {
  if (handle_ != kNoHandle) ::close(Descriptor(handle_));
  handle_ = kNoHandle;
}

std::error_code FolderHandle::Open(const std::string& path) {
  Close();
  if (path.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  // Without a trailing "/" O_NOFOLLOW refuses the folder itself being a link.
  std::string name = path;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  const int handle = ::open(name.c_str(), kFolderFlags);
  if (handle < 0) {
    if (errno == ELOOP || errno == ENOTDIR) return PlatformErrc::NotAFolder;
    return LastError();
  }
  return AdoptFolder(handle, FolderPath(path), handle_, path_, pseudo_, device_, mountId_);
}

std::error_code FolderHandle::OpenSubfolder(const std::string& name,
                                            FolderHandle& subfolder) const {
  subfolder.Close();
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  ReachedHandleStep(HandleStep::BeforeOpenSubfolder, name);
  const int handle = ::openat(Descriptor(handle_), name.c_str(), kFolderFlags);
  if (handle < 0) {
    if (errno == ELOOP || errno == ENOTDIR) return PlatformErrc::NotAFolder;
    return LastError();
  }
  FolderHandle opened;
  if (const auto error = AdoptFolder(handle, path_ + name + '/', opened.handle_, opened.path_,
                                     opened.pseudo_, opened.device_, opened.mountId_))
    return error;
  // The root of another mount: another device, or a bind mount of this one.
  if (opened.device_ != device_ ||
      (opened.mountId_ != 0 && mountId_ != 0 && opened.mountId_ != mountId_))
    return PlatformErrc::OtherFileSystem;
  subfolder = std::move(opened);
  return {};
}

std::error_code FolderHandle::List(const std::function<bool(const FolderEntry&)>& visit) const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  // A reading position of its own, so that listing twice starts at the first entry each time.
  const int handle = ::openat(Descriptor(handle_), ".", kFolderFlags);
  if (handle < 0) return LastError();
  struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
  };
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(handle));
  if (!dir) {
    const std::error_code error = LastError();
    ::close(handle);
    return error;
  }
  FolderEntry entry;
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(dir.get());
    if (item == nullptr) return errno == 0 ? std::error_code() : LastError();
    const char* name = item->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    entry.name.assign(name);
    if (item->d_type == DT_UNKNOWN) {
      struct stat info {};
      entry.isFolder = ::fstatat(Descriptor(handle_), name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(info.st_mode);
    } else {
      entry.isFolder = item->d_type == DT_DIR;
    }
    if (!visit(entry)) return {};
  }
}

std::error_code FolderHandle::Status(const std::string& name, EntryStatus& status) const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (const auto error = StatusAt(Descriptor(handle_), name.c_str(), AT_SYMLINK_NOFOLLOW, status))
    return error;
  status.pseudoFileSystem = pseudo_;
  return {};
}

std::error_code FolderHandle::ClearReadOnly(const std::string& name) const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  struct stat entry {};
  if (::fstatat(Descriptor(handle_), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  if (!S_ISREG(entry.st_mode)) return PlatformErrc::NotARegularFile;
  if ((entry.st_mode & S_IWUSR) != 0) return {};
  const mode_t mode = (entry.st_mode & 07777) | S_IWUSR;
  // Through a descriptor of the entry itself where it can be read, so that an entry swapped in
  // meanwhile is not changed; otherwise by name, never through a link.
  const int handle = ::openat(Descriptor(handle_), name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (handle >= 0) {
    struct stat object {};
    std::error_code error;
    if (::fstat(handle, &object) != 0)
      error = LastError();
    else if (object.st_dev != entry.st_dev || object.st_ino != entry.st_ino)
      error = PlatformErrc::NameReplaced;
    else if (::fchmod(handle, mode) != 0)
      error = LastError();
    ::close(handle);
    return error;
  }
  if (::fchmodat(Descriptor(handle_), name.c_str(), mode, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  return {};
}

std::error_code FolderHandle::RemoveSubfolder(const std::string& name,
                                              const FileIdentity& expected) const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  struct stat entry {};
  if (::fstatat(Descriptor(handle_), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  if (!S_ISDIR(entry.st_mode)) return PlatformErrc::NotAFolder;
  if (expected.known && !(FileIdentity{entry.st_dev, entry.st_ino, true} == expected))
    return PlatformErrc::NameReplaced;
  if (::unlinkat(Descriptor(handle_), name.c_str(), AT_REMOVEDIR) != 0) return LastError();
  return {};
}

std::error_code FolderHandle::Sync() const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (::fsync(Descriptor(handle_)) != 0) return LastError();
  return {};
}

std::error_code FolderHandle::SyncFileSystem() const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (::syncfs(Descriptor(handle_)) != 0) return LastError();
  return {};
}

std::error_code FolderHandle::Identity(FileIdentity& identity) const {
  identity = {};
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  struct stat object {};
  if (::fstat(Descriptor(handle_), &object) != 0) return LastError();
  identity = {object.st_dev, object.st_ino, true};
  return {};
}

// --- FileHandle ----------------------------------------------------------------------------

FileHandle::~FileHandle() {
  if (handle_ != kNoHandle) ::close(Descriptor(handle_));
}

FileHandle::FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) {
  other.handle_ = kNoHandle;
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != kNoHandle) ::close(Descriptor(handle_));
    handle_ = other.handle_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

std::error_code FileHandle::OpenForWriting(const FolderHandle& folder, const std::string& name) {
  if (const auto error = Close()) return error;
  if (!folder.IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  ReachedHandleStep(HandleStep::BeforeOpenFile, name);
  int handle = -1;
  if (const auto error = Posix::OpenRegularAt(Descriptor(folder.handle_), name, O_WRONLY, handle))
    return error;
  handle_ = handle;
  return {};
}

std::error_code FileHandle::CreateNew(const FolderHandle& folder, const std::string& name) {
  if (const auto error = Close()) return error;
  if (!folder.IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  Posix::IgnoreFileSizeSignal();
  const int handle =
      ::openat(Descriptor(folder.handle_), name.c_str(),
               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (handle < 0) return LastError();
  handle_ = handle;
  return {};
}

std::error_code FileHandle::TryLock() {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  while (::flock(Descriptor(handle_), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK)
      return std::make_error_code(std::errc::resource_unavailable_try_again);
    return LastError();
  }
  return {};
}

std::error_code FileHandle::Status(EntryStatus& status) const {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (const auto error = StatusAt(Descriptor(handle_), "", AT_EMPTY_PATH, status)) return error;
  status.pseudoFileSystem = OnPseudoFileSystem(Descriptor(handle_));
  return {};
}

std::error_code FileHandle::Seek(std::int64_t offset) {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (offset < 0) return std::make_error_code(std::errc::invalid_argument);
  if (::lseek(Descriptor(handle_), static_cast<off_t>(offset), SEEK_SET) != offset)
    return LastError();
  return {};
}

std::error_code FileHandle::WriteAll(const void* data, std::size_t size) {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  const auto* next = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(Descriptor(handle_), next, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    // A regular file that takes nothing would keep this loop going for ever.
    if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
    next += written;
    size -= static_cast<std::size_t>(written);
  }
  return {};
}

std::error_code FileHandle::Truncate(std::int64_t length) {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (length < 0) return std::make_error_code(std::errc::invalid_argument);
  if (::ftruncate(Descriptor(handle_), static_cast<off_t>(length)) != 0) return LastError();
  return {};
}

std::error_code FileHandle::Reserve(std::int64_t offset, std::int64_t length) {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (offset < 0 || length <= 0) return std::make_error_code(std::errc::invalid_argument);
  while (::fallocate(Descriptor(handle_), 0, static_cast<off_t>(offset),
                     static_cast<off_t>(length)) != 0) {
    if (errno != EINTR) return LastError();
  }
  return {};
}

void FileHandle::BeginWriteBack(std::int64_t offset, std::int64_t length) {
  if (IsOpen() && offset >= 0 && length > 0)
    (void)::sync_file_range(Descriptor(handle_), static_cast<off_t>(offset),
                            static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
}

std::error_code FileHandle::Sync() {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  if (::fsync(Descriptor(handle_)) != 0) return LastError();
  ReachedHandleStep(HandleStep::AfterFileSync, {});
  return {};
}

std::error_code FileHandle::SetTimes(const FileTimes& times) {
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  for (const FileTime* time : {&times.access, &times.modification})
    if (time->nanoseconds < 0 || time->nanoseconds > 999'999'999)
      return std::make_error_code(std::errc::invalid_argument);
  timespec values[2] = {};
  values[0].tv_sec = static_cast<time_t>(times.access.seconds);
  values[0].tv_nsec = times.access.nanoseconds;
  values[1].tv_sec = static_cast<time_t>(times.modification.seconds);
  values[1].tv_nsec = times.modification.nanoseconds;
  if (::futimens(Descriptor(handle_), values) != 0) return LastError();
  return {};
}

std::error_code FileHandle::RemoveName(const FolderHandle& folder, const std::string& name) {
  if (!IsOpen() || !folder.IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  ReachedHandleStep(HandleStep::BeforeRemoveName, name);
  struct stat object {};
  struct stat entry {};
  if (::fstat(Descriptor(handle_), &object) != 0) return LastError();
  if (::fstatat(Descriptor(folder.handle_), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
    return LastError();
  if (entry.st_dev != object.st_dev || entry.st_ino != object.st_ino)
    return PlatformErrc::NameReplaced;
  if (::unlinkat(Descriptor(folder.handle_), name.c_str(), 0) != 0) return LastError();
  return {};
}

std::error_code FileHandle::Close() {
  if (handle_ == kNoHandle) return {};
  const int handle = Descriptor(handle_);
  handle_ = kNoHandle;
  // Linux releases the descriptor even when close reports an error, so it is never retried.
  if (::close(handle) != 0 && errno != EINTR) return LastError();
  return {};
}

WriteLimit WriteLimitOf(const std::error_code& error) {
  if (error.category() != std::system_category() && error.category() != std::generic_category())
    return WriteLimit::None;
  switch (error.value()) {
    case ENOSPC:
      return WriteLimit::DriveFull;
    case EDQUOT:
      return WriteLimit::QuotaReached;
    case EFBIG:
      return WriteLimit::FileTooLarge;
    default:
      return WriteLimit::None;
  }
}

}  // namespace Platform
