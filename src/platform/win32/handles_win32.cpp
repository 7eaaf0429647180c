// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/handles.h"
#include "platform/win32/file_handle.h"

#include <algorithm>
#include <utility>

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/win32/file_time.h"
#include "platform/win32/folder_listing.h"
#include "platform/win32/relative_open.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

using Win32::AsHandle;
using Win32::FolderItem;
using Win32::FromHandle;
using Win32::Handle;
using Win32::LastError;
using Win32::NotOpen;

// True when error is the Win32 error code (ErrorFromCode gives those of the system's category).
bool IsWin32Error(const std::error_code& error, DWORD code) {
  return error == std::error_code(static_cast<int>(code), std::system_category());
}

std::uint64_t Join(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, Join(info.nFileIndexHigh, info.nFileIndexLow), true};
}

void SetAttributes(DWORD attributes, EntryStatus& status) {
  status.kind = Win32::KindOf(attributes);
  status.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  status.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  status.system = (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
}

// What an open entry is.
EntryStatus StatusOf(const BY_HANDLE_FILE_INFORMATION& info) {
  EntryStatus status;
  SetAttributes(info.dwFileAttributes, status);
  status.identity = IdentityOf(info);
  status.links = info.nNumberOfLinks;
  status.length = static_cast<std::int64_t>(Join(info.nFileSizeHigh, info.nFileSizeLow));
  status.times.hasCreation = true;
  status.times.creation = Win32::FromFiletime(info.ftCreationTime);
  status.times.access = Win32::FromFiletime(info.ftLastAccessTime);
  status.times.modification = Win32::FromFiletime(info.ftLastWriteTime);
  return status;
}

// What an entry is from its folder's listing alone, when it cannot be opened itself: its
// identity stays unknown, so it never passes for any open file.
EntryStatus StatusOf(const FolderItem& item) {
  EntryStatus status;
  SetAttributes(item.attributes, status);
  status.length = item.length;
  status.times.hasCreation = true;
  status.times.creation = Win32::FromFiletime(item.creation);
  status.times.access = Win32::FromFiletime(item.access);
  status.times.modification = Win32::FromFiletime(item.modification);
  return status;
}

std::error_code ReadInformation(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
  info = {};
  if (!::GetFileInformationByHandle(handle, &info)) return LastError();
  return {};
}

// Opens the entry that the listing showed as item as the real folder it is: NotAFolder when it
// is, or has become, a link, a file or anything else.
std::error_code OpenRealFolder(HANDLE parent, const std::wstring& name, const FolderItem& item,
                               DWORD access, Handle& handle, BY_HANDLE_FILE_INFORMATION& info) {
  if (!Win32::IsRealFolder(item.attributes)) return PlatformErrc::NotAFolder;
  const std::error_code error = Win32::OpenRelative(
      parent, name, access, FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT, handle, info);
  // Replaced by a file since it was looked up, or by something that is no file at all.
  if (error == PlatformErrc::NotARegularFile || IsWin32Error(error, ERROR_DIRECTORY))
    return PlatformErrc::NotAFolder;
  if (error) return error;
  if (!Win32::IsRealFolder(info.dwFileAttributes) ||
      !Win32::OpenedItself(item, info.dwFileAttributes))
    return PlatformErrc::NotAFolder;
  return {};
}

}  // namespace

std::error_code IdentityOfPath(const std::string& path, FileIdentity& identity) {
  identity = {};
  const Win32::NativePath native = Win32::ToNative(path);
  // A device is never opened, not even to ask what it is.
  if (native.device) return PlatformErrc::NotARegularFile;
  if (native.wide.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  // Reparse points on the way and at the end are followed: the path names what they lead to.
  Handle handle(::CreateFileW(native.wide.c_str(), FILE_READ_ATTRIBUTES, Win32::kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.IsOpen()) return LastError();
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = ReadInformation(handle.Get(), info)) return error;
  identity = IdentityOf(info);
  return {};
}

// ---- FolderHandle ----

FolderHandle::~FolderHandle() {
  Close();
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)), path_(std::move(other.path_)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
    path_ = std::move(other.path_);
  }
  return *this;
}

void FolderHandle::Close() {
  if (handle_ != kNoHandle) ::CloseHandle(AsHandle(std::exchange(handle_, kNoHandle)));
  path_.clear();
}

std::error_code FolderHandle::Open(const std::string& path) {
  Close();
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  // The folder itself is opened (FILE_FLAG_OPEN_REPARSE_POINT): a reparse point in its place is
  // refused, and so is a device or "name\" naming a file.
  const std::error_code error = Win32::OpenEntry(
      Win32::ToNative(path), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, handle, info);
  if (error == PlatformErrc::NotARegularFile || error == std::errc::not_a_directory)
    return PlatformErrc::NotAFolder;
  if (error) return error;
  if (!Win32::IsRealFolder(info.dwFileAttributes)) return PlatformErrc::NotAFolder;
  handle_ = FromHandle(handle.Release());
  path_ = WithTrailingSeparator(path);
  return {};
}

std::error_code FolderHandle::OpenSubfolder(const std::string& name,
                                            FolderHandle& subfolder) const {
  subfolder.Close();
  if (handle_ == kNoHandle) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  ReachedHandleStep(HandleStep::BeforeOpenSubfolder, name);

  FolderItem item;
  if (const auto error = Win32::LookUpEntry(AsHandle(handle_), wide, item)) return error;
  if ((item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      item.reparseTag == IO_REPARSE_TAG_MOUNT_POINT) {
    // A junction, or a folder where another volume is mounted: only its reparse data tells.
    Handle reparsePoint;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!Win32::OpenRelative(AsHandle(handle_), wide, FILE_READ_ATTRIBUTES, 0, reparsePoint,
                             info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        Win32::IsVolumeMountPoint(reparsePoint.Get()))
      return PlatformErrc::OtherFileSystem;
    return PlatformErrc::NotAFolder;
  }
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = OpenRealFolder(AsHandle(handle_), wide, item,
                                        FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, handle, info))
    return error;
  subfolder.handle_ = FromHandle(handle.Release());
  subfolder.path_ = path_ + name + kPathSeparator;
  return {};
}

std::error_code FolderHandle::List(const std::function<bool(const FolderEntry&)>& visit) const {
  if (handle_ == kNoHandle) return NotOpen();
  return Win32::ListThroughHandle(AsHandle(handle_), visit);
}

std::error_code FolderHandle::Status(const std::string& name, EntryStatus& status) const {
  status = {};
  if (handle_ == kNoHandle) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  FolderItem item;
  if (const auto error = Win32::LookUpEntry(AsHandle(handle_), wide, item)) return error;

  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  const std::error_code error =
      Win32::OpenRelative(AsHandle(handle_), wide, FILE_READ_ATTRIBUTES, 0, handle, info);
  if (error == PlatformErrc::NotARegularFile) {
    status = StatusOf(item);
    status.kind = FileKind::Other;
    return {};
  }
  // A reparse point that cannot be opened itself (a link whose target is missing, opened as its
  // target under Wine) and a file the system holds without sharing (pagefile.sys) are told from
  // the listing.
  const bool reparsePoint = (item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (error && (reparsePoint || IsWin32Error(error, ERROR_SHARING_VIOLATION))) {
    status = StatusOf(item);
    return {};
  }
  if (error) return error;
  status = Win32::OpenedItself(item, info.dwFileAttributes) ? StatusOf(info) : StatusOf(item);
  return {};
}

std::error_code FolderHandle::ClearReadOnly(const std::string& name) const {
  if (handle_ == kNoHandle) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  FolderItem item;
  if (const auto error = Win32::LookUpEntry(AsHandle(handle_), wide, item)) return error;
  // A reparse point is refused rather than changed, and its target is never reached.
  if ((item.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PlatformErrc::NotARegularFile;
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = Win32::OpenRelative(
          AsHandle(handle_), wide, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0, handle, info))
    return error;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return PlatformErrc::NotARegularFile;
  if (const auto error = Win32::ClearAttributeThroughHandle(handle.Get(), info.dwFileAttributes,
                                                            FILE_ATTRIBUTE_READONLY))
    return error;
  return handle.Close();
}

std::error_code FolderHandle::RemoveSubfolder(const std::string& name,
                                              const FileIdentity& expected) const {
  if (handle_ == kNoHandle) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  FolderItem item;
  if (const auto error = Win32::LookUpEntry(AsHandle(handle_), wide, item)) return error;
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = OpenRealFolder(AsHandle(handle_), wide, item,
                                        DELETE | FILE_READ_ATTRIBUTES, handle, info))
    return error == PlatformErrc::NotAFolder ? make_error_code(PlatformErrc::NameReplaced) : error;
  if (!expected.known || IdentityOf(info) != expected) return PlatformErrc::NameReplaced;
  if (const auto marked = Win32::MarkForDeletion(handle.Get())) {
    if (IsWin32Error(marked, ERROR_DIR_NOT_EMPTY))
      return std::make_error_code(std::errc::directory_not_empty);
    return marked;
  }
  return handle.Close();
}

std::error_code FolderHandle::Sync() const {
  if (handle_ == kNoHandle) return NotOpen();
  // Windows documents no flush of a folder: FlushFileBuffers wants a file or a volume opened for
  // writing, and fails on a folder handle. Nothing is flushed here. NTFS writes its changes of
  // folders (names made and removed) to its journal, so a deletion lasts once it is done.
  return {};
}

std::error_code FolderHandle::SyncFileSystem() const {
  if (handle_ == kNoHandle) return NotOpen();
  // Flushing a whole volume needs a handle of the volume and the administrator's rights; NTFS
  // writes its own records where they belong as it goes.
  return {};
}

std::error_code FolderHandle::Identity(FileIdentity& identity) const {
  identity = {};
  if (handle_ == kNoHandle) return NotOpen();
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = ReadInformation(AsHandle(handle_), info)) return error;
  identity = IdentityOf(info);
  return {};
}

// ---- FileHandle ----

FileHandle::~FileHandle() {
  (void)Close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    (void)Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

std::error_code FileHandle::OpenForWriting(const FolderHandle& folder, const std::string& name) {
  if (const auto error = Close()) return error;
  if (!folder.IsOpen()) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  ReachedHandleStep(HandleStep::BeforeOpenFile, name);

  // The entry is looked at first, so that a folder, a reparse point or a device is never
  // opened; a name such as "NUL" in a folder is a file's name here, never the device's.
  const HANDLE parent = AsHandle(folder.handle_);
  FolderItem item;
  if (const auto error = Win32::LookUpEntry(parent, wide, item)) return error;
  if ((item.attributes & Win32::kNotRegular) != 0) return PlatformErrc::NotARegularFile;
  // Windows refuses to write a read-only file; so is it here for a user whom the disk would let
  // write (Wine running as root), so that it is overwritten only once its attribute is cleared.
  const std::error_code readOnly(ERROR_ACCESS_DENIED, std::system_category());
  if ((item.attributes & FILE_ATTRIBUTE_READONLY) != 0) return readOnly;

  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  const std::error_code error = Win32::OpenRelative(
      parent, wide, GENERIC_WRITE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
      FILE_NON_DIRECTORY_FILE, handle, info);
  if (error) {
    // Replaced by something else since it was looked up: said as such.
    if (!Win32::LookUpEntry(parent, wide, item) && (item.attributes & Win32::kNotRegular) != 0)
      return PlatformErrc::NotARegularFile;
    return error;
  }
  if ((info.dwFileAttributes & Win32::kNotRegular) != 0 ||
      !Win32::OpenedItself(item, info.dwFileAttributes))
    return PlatformErrc::NotARegularFile;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) return readOnly;
  handle_ = FromHandle(handle.Release());
  return {};
}

std::error_code FileHandle::CreateNew(const FolderHandle& folder, const std::string& name) {
  if (const auto error = Close()) return error;
  if (!folder.IsOpen()) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  Handle handle;
  if (const auto error = Win32::CreateRelative(
          AsHandle(folder.handle_), wide,
          GENERIC_WRITE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, handle))
    return error;
  handle_ = FromHandle(handle.Release());
  return {};
}

std::error_code FileHandle::TryLock() {
  if (handle_ == kNoHandle) return NotOpen();
  // One byte far beyond any end of the file, so that the lock never keeps anyone from its bytes.
  OVERLAPPED at{};
  at.OffsetHigh = 0x40000000;
  if (!::LockFileEx(AsHandle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &at)) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
      return std::make_error_code(std::errc::resource_unavailable_try_again);
    return Win32::ErrorFromCode(code);
  }
  return {};
}

std::error_code FileHandle::Status(EntryStatus& status) const {
  status = {};
  if (handle_ == kNoHandle) return NotOpen();
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = ReadInformation(AsHandle(handle_), info)) return error;
  status = StatusOf(info);
  return {};
}

std::error_code FileHandle::Seek(std::int64_t offset) {
  if (handle_ == kNoHandle) return NotOpen();
  if (offset < 0) return std::make_error_code(std::errc::invalid_argument);
  LARGE_INTEGER start{};
  start.QuadPart = offset;
  if (!::SetFilePointerEx(AsHandle(handle_), start, nullptr, FILE_BEGIN)) return LastError();
  return {};
}

std::error_code FileHandle::WriteAll(const void* data, std::size_t size) {
  if (handle_ == kNoHandle) return NotOpen();
  const auto* next = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
    DWORD written = 0;
    if (!::WriteFile(AsHandle(handle_), next, chunk, &written, nullptr)) return LastError();
    // A file that takes nothing would keep this loop going for ever.
    if (written == 0) return std::make_error_code(std::errc::no_space_on_device);
    next += written;
    size -= written;
  }
  return {};
}

std::error_code FileHandle::Truncate(std::int64_t length) {
  if (handle_ == kNoHandle) return NotOpen();
  return Win32::SetLength(AsHandle(handle_), length);
}

std::error_code FileHandle::Reserve(std::int64_t offset, std::int64_t length) {
  if (handle_ == kNoHandle) return NotOpen();
  if (offset < 0 || length <= 0) return std::make_error_code(std::errc::invalid_argument);
  // The clusters are allocated up to the new size; the file's end stays where it is.
  FILE_ALLOCATION_INFO allocation{};
  allocation.AllocationSize.QuadPart = offset + length;
  if (!::SetFileInformationByHandle(AsHandle(handle_), FileAllocationInfo, &allocation,
                                    sizeof allocation))
    return LastError();
  return {};
}

void FileHandle::BeginWriteBack(std::int64_t /*offset*/, std::int64_t /*length*/) {
  // The system's lazy writer starts on its own; FlushFileBuffers waits for what is left.
}

std::error_code FileHandle::Sync() {
  if (handle_ == kNoHandle) return NotOpen();
  if (!::FlushFileBuffers(AsHandle(handle_))) return LastError();
  ReachedHandleStep(HandleStep::AfterFileSync, std::string());
  return {};
}

std::error_code FileHandle::SetTimes(const FileTimes& times) {
  if (handle_ == kNoHandle) return NotOpen();
  FILETIME creation{};
  FILETIME access{};
  FILETIME modification{};
  if ((times.hasCreation && !Win32::ToFiletime(times.creation, creation)) ||
      !Win32::ToFiletime(times.access, access) ||
      !Win32::ToFiletime(times.modification, modification))
    return std::make_error_code(std::errc::invalid_argument);
  if (!::SetFileTime(AsHandle(handle_), times.hasCreation ? &creation : nullptr, &access,
                     &modification))
    return LastError();
  return {};
}

std::error_code FileHandle::RemoveName(const FolderHandle& folder, const std::string& name) {
  if (handle_ == kNoHandle || !folder.IsOpen()) return NotOpen();
  std::wstring wide;
  if (const auto error = Win32::ToEntryName(name, wide)) return error;
  ReachedHandleStep(HandleStep::BeforeRemoveName, name);

  // The name is opened for deletion itself and that handle is checked and marked: marking this
  // file's own handle would remove the name it was opened by, which is another one when `name`
  // is a second link of the file or the file was renamed since. What is checked is what goes.
  const HANDLE parent = AsHandle(folder.handle_);
  FolderItem item;
  if (const auto error = Win32::LookUpEntry(parent, wide, item)) return error;
  if ((item.attributes & Win32::kNotRegular) != 0) return PlatformErrc::NameReplaced;
  Handle entry;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error =
          Win32::OpenRelative(parent, wide, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_NON_DIRECTORY_FILE, entry, info)) {
    if (error == PlatformErrc::NotARegularFile ||
        (!Win32::LookUpEntry(parent, wide, item) && (item.attributes & Win32::kNotRegular) != 0))
      return PlatformErrc::NameReplaced;
    return error;
  }
  BY_HANDLE_FILE_INFORMATION own{};
  if (const auto error = ReadInformation(AsHandle(handle_), own)) return error;
  if ((info.dwFileAttributes & Win32::kNotRegular) != 0 ||
      !Win32::OpenedItself(item, info.dwFileAttributes) || IdentityOf(info) != IdentityOf(own))
    return PlatformErrc::NameReplaced;

  // The system refuses to delete a read-only file; the attribute comes back if it still does.
  const bool readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly) {
    if (const auto error = Win32::ClearAttributeThroughHandle(entry.Get(), info.dwFileAttributes,
                                                              FILE_ATTRIBUTE_READONLY))
      return error;
  }
  if (const auto error = Win32::MarkForDeletion(entry.Get())) {
    if (readOnly) {
      FILE_BASIC_INFO basic{};
      basic.FileAttributes = info.dwFileAttributes & Win32::kSettable;
      ::SetFileInformationByHandle(entry.Get(), FileBasicInfo, &basic, sizeof basic);
    }
    return error;
  }
  return entry.Close();
}

std::error_code FileHandle::Close() {
  if (handle_ == kNoHandle) return {};
  if (!::CloseHandle(AsHandle(std::exchange(handle_, kNoHandle)))) return LastError();
  return {};
}

// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

WriteLimit WriteLimitOf(const std::error_code& error) {
  if (error == std::errc::no_space_on_device) return WriteLimit::DriveFull;
  if (error == std::errc::file_too_large) return WriteLimit::FileTooLarge;
  if (error.category() != std::system_category()) return WriteLimit::None;
  switch (static_cast<DWORD>(error.value())) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return WriteLimit::DriveFull;
    case kDiskQuotaExceeded:
      return WriteLimit::QuotaReached;
    case ERROR_FILE_TOO_LARGE:
      return WriteLimit::FileTooLarge;
    default:
      return WriteLimit::None;
  }
}

}  // namespace Platform
