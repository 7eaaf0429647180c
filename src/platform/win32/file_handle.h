#pragma once

// What the Win32 file, folder and store-file sources share: paths as the wide calls take them,
// handles that close themselves, and opening an entry without ever following a reparse point or
// opening a device.

// files.h comes before windows.h, whose GetFileAttributes macro would rename its function.
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/win32/wide_text.h"

#include <windows.h>
#undef GetFileAttributes

#include <cstdint>
#include <string>
#include <system_error>

namespace Platform::Win32 {

// Shared by every open: others may go on reading, writing and deleting, as on POSIX.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Attributes that make an opened object anything but a regular file.
inline constexpr DWORD kNotRegular =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE value) : value_(value) {}
  ~Handle() {
    if (IsOpen()) ::CloseHandle(value_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  bool IsOpen() const { return value_ != INVALID_HANDLE_VALUE && value_ != nullptr; }
  HANDLE Get() const { return value_; }
  HANDLE Release() {
    const HANDLE value = value_;
    value_ = INVALID_HANDLE_VALUE;
    return value;
  }
  void Reset(HANDLE value) {
    if (IsOpen()) ::CloseHandle(value_);
    value_ = value;
  }
  // Closes now, telling a failure.
  std::error_code Close() {
    if (!IsOpen()) return {};
    const HANDLE value = Release();
    if (!::CloseHandle(value)) return LastError();
    return {};
  }

 private:
  HANDLE value_ = INVALID_HANDLE_VALUE;
};

// A path as the wide calls take it (LongPath), with trailing separators taken off but for a
// root's own, so that a trailing separator never makes the system pass through a reparse point.
struct NativePath {
  std::wstring wide;
  // The path cannot name a file or folder on a drive: it lies in the device namespace
  // ("\\.\PhysicalDrive0", "\\.\CON", "\\?\C:" the volume itself, "\\?\GLOBALROOT\...") or
  // holds a NUL that would cut it short. Such a path is never opened.
  bool device = false;
  bool trailingSeparator = false;  // the path was written with one (it must name a folder)
};

inline bool StartsWithNoCase(const std::wstring& text, std::size_t at, const wchar_t* prefix) {
  for (std::size_t i = 0; prefix[i] != L'\0'; ++i) {
    if (at + i >= text.size()) return false;
    wchar_t c = text[at + i];
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c != prefix[i]) return false;
  }
  return true;
}

// How long the root of a long path is ("\\?\C:\", "\\?\UNC\server\share\", "\\?\Volume{..}\");
// 0 when the path is in the device namespace instead.
inline std::size_t RootLength(const std::wstring& wide) {
  if (wide.rfind(LR"(\\?\)", 0) != 0) return 0;
  const bool letter = wide.size() >= 7 && ((wide[4] >= L'A' && wide[4] <= L'Z') ||
                                           (wide[4] >= L'a' && wide[4] <= L'z'));
  if (letter && wide[5] == L':' && wide[6] == L'\\') return 7;
  if (StartsWithNoCase(wide, 4, L"UNC\\")) {
    std::size_t end = 8;
    for (int part = 0; part < 2; ++part) {
      const std::size_t slash = wide.find(L'\\', end);
      if (slash == std::wstring::npos || slash == end) return part == 1 ? wide.size() : 0;
      end = slash + 1;
    }
    return end;
  }
  if (StartsWithNoCase(wide, 4, L"VOLUME{")) {
    const std::size_t close = wide.find(L"}\\", 11);
    return close == std::wstring::npos ? 0 : close + 2;
  }
  return 0;
}

inline NativePath ToNative(const std::string& path) {
  NativePath native;
  native.wide = LongPath(path);
  if (native.wide.empty()) return native;  // names nothing: the calls say it is missing
  // A NUL inside would cut the path short to some other name.
  if (native.wide.find(L'\0') != std::wstring::npos) {
    native.device = true;
    return native;
  }
  const std::size_t root = RootLength(native.wide);
  if (root == 0) {
    native.device = true;
    return native;
  }
  while (native.wide.size() > root && native.wide.back() == L'\\') {
    native.wide.pop_back();
    native.trailingSeparator = true;
  }
  return native;
}

inline FileKind KindOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return FileKind::SymbolicLink;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FileKind::Directory;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return FileKind::Other;
  return FileKind::Regular;
}

inline bool IsRealFolder(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// The entry's own attributes, times and length, without opening it and without following a
// reparse point. Files the system keeps open without sharing (pagefile.sys) and some reparse
// points cannot be asked directly; their folder's entry is read instead.
inline std::error_code QueryEntry(const NativePath& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  data = {};
  if (path.device) return PlatformErrc::NotARegularFile;
  if (!::GetFileAttributesExW(path.wide.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD code = ::GetLastError();
    const bool wildcard = path.wide.find_first_of(L"*?", 4) != std::wstring::npos;
    if ((code != ERROR_SHARING_VIOLATION && code != ERROR_CANT_ACCESS_FILE) || wildcard)
      return ErrorFromCode(code);
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(path.wide.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return ErrorFromCode(code);
    ::FindClose(search);
    data.dwFileAttributes = found.dwFileAttributes;
    data.ftCreationTime = found.ftCreationTime;
    data.ftLastAccessTime = found.ftLastAccessTime;
    data.ftLastWriteTime = found.ftLastWriteTime;
    data.nFileSizeHigh = found.nFileSizeHigh;
    data.nFileSizeLow = found.nFileSizeLow;
  }
  // "name\" must be a folder; a reparse point there is not followed but is not a folder either.
  if (path.trailingSeparator && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    data = {};
    return std::make_error_code(std::errc::not_a_directory);
  }
  return {};
}

// Opens the entry itself (a reparse point's own entry, a folder too) for reading or changing its
// metadata or for deleting it, and reads what was opened. When the entry is a reparse point but
// the opened object is not, the handle is not the entry's own (Wine opens a Unix link to a folder
// as the folder even with FILE_FLAG_OPEN_REPARSE_POINT): it is refused, as nothing may be done to
// a link's target.
inline std::error_code OpenEntry(const NativePath& path, DWORD access, Handle& handle,
                                 BY_HANDLE_FILE_INFORMATION& info) {
  info = {};
  if (path.device) return PlatformErrc::NotARegularFile;
  WIN32_FILE_ATTRIBUTE_DATA entry{};
  if (const std::error_code error = QueryEntry(path, entry)) return error;
  Handle opened(::CreateFileW(path.wide.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!opened.IsOpen()) return LastError();
  if (::GetFileType(opened.Get()) != FILE_TYPE_DISK) return PlatformErrc::NotARegularFile;
  if (!::GetFileInformationByHandle(opened.Get(), &info)) return LastError();
  if ((entry.dwFileAttributes & ~info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return PlatformErrc::NotARegularFile;
  if (path.trailingSeparator && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return std::make_error_code(std::errc::not_a_directory);
  handle.Reset(opened.Release());
  return {};
}

// Opens a regular file with the given access. The entry is looked at first, so that a folder,
// a reparse point or a device is never opened, and the opened object is looked at again in case
// the entry was replaced in between: it must be a file on a disk with no reparse point.
inline std::error_code OpenRegularFile(const NativePath& path, DWORD access, Handle& handle) {
  if (path.device) return PlatformErrc::NotARegularFile;
  WIN32_FILE_ATTRIBUTE_DATA entry{};
  if (const std::error_code error = QueryEntry(path, entry)) return error;
  if ((entry.dwFileAttributes & kNotRegular) != 0) return PlatformErrc::NotARegularFile;

  Handle opened(::CreateFileW(path.wide.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!opened.IsOpen()) {
    const std::error_code error = LastError();
    if (!QueryEntry(path, entry) && (entry.dwFileAttributes & kNotRegular) != 0)
      return PlatformErrc::NotARegularFile;
    return error;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(opened.Get()) != FILE_TYPE_DISK) return PlatformErrc::NotARegularFile;
  if (!::GetFileInformationByHandle(opened.Get(), &info)) return LastError();
  if ((info.dwFileAttributes & kNotRegular) != 0) return PlatformErrc::NotARegularFile;
  handle.Reset(opened.Release());
  return {};
}

// Marks an entry opened with DELETE access for deletion; it goes when its last handle closes.
inline std::error_code MarkForDeletion(HANDLE handle) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  if (!::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition))
    return LastError();
  return {};
}

// The attributes SetFileInformationByHandle takes; the others are the system's to keep.
inline constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Clears one attribute through a handle opened with FILE_WRITE_ATTRIBUTES, given the entry's
// attributes as they are now.
inline std::error_code ClearAttributeThroughHandle(HANDLE handle, DWORD attributes,
                                                   DWORD attribute) {
  if ((attributes & attribute) == 0) return {};
  FILE_BASIC_INFO basic{};  // times of zero are left as they are
  basic.FileAttributes = attributes & kSettable & ~attribute;
  // Zero would also mean "leave the attributes as they are": NORMAL says "none".
  if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  if (!::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic))
    return LastError();
  return {};
}

// Sets the end of file without moving the file position, as ftruncate does.
inline std::error_code SetLength(HANDLE handle, std::int64_t length) {
  if (length < 0) return std::make_error_code(std::errc::invalid_argument);
  FILE_END_OF_FILE_INFO end{};
  end.EndOfFile.QuadPart = length;
  if (!::SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end))
    return LastError();
  return {};
}

// A name for a new file beside others, unlikely to be taken: the process, the time and a
// running number.
inline std::wstring UniqueSuffix() {
  static volatile LONG counter = 0;
  const LONG number = ::InterlockedIncrement(&counter);
  return L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(number) + L".tmp";
}

// The handle a FileHandle or FolderHandle keeps as a number, and back.
inline HANDLE AsHandle(std::intptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}
inline std::intptr_t FromHandle(HANDLE handle) {
  return reinterpret_cast<std::intptr_t>(handle);
}

// The failure of a call on a handle that is not open.
inline std::error_code NotOpen() {
  return std::make_error_code(std::errc::bad_file_descriptor);
}

}  // namespace Platform::Win32
