// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/win32/file_handle.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/win32/file_time.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

using Win32::FromFiletime;
using Win32::Handle;
using Win32::LastError;
using Win32::NativePath;
using Win32::ToFiletime;
using Win32::ToNative;

// Clears one attribute of a file or folder through a handle to the entry itself; a reparse point
// is refused rather than changed, and its target is never reached.
std::error_code ClearAttribute(const std::string& path, DWORD attribute) {
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = Win32::OpenEntry(
          ToNative(path), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, handle, info))
    return error;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return PlatformErrc::NotARegularFile;
  if (const auto error =
          Win32::ClearAttributeThroughHandle(handle.Get(), info.dwFileAttributes, attribute))
    return error;
  return handle.Close();
}

}  // namespace

std::error_code GetFileAttributes(const std::string& path, FileAttributes& attributes) {
  attributes = {};
  const NativePath native = ToNative(path);
  // A device is never asked anything: asking opens it.
  if (native.device) {
    attributes.kind = FileKind::Other;
    return {};
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (const auto error = Win32::QueryEntry(native, data)) return error;
  attributes.kind = Win32::KindOf(data.dwFileAttributes);
  attributes.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  attributes.hidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
  attributes.system = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
  return {};
}

std::error_code ClearReadOnly(const std::string& path) {
  return ClearAttribute(path, FILE_ATTRIBUTE_READONLY);
}

std::error_code ClearHidden(const std::string& path) {
  return ClearAttribute(path, FILE_ATTRIBUTE_HIDDEN);
}

std::error_code ClearSystem(const std::string& path) {
  return ClearAttribute(path, FILE_ATTRIBUTE_SYSTEM);
}

std::error_code GetFileTimes(const std::string& path, FileTimes& times) {
  times = {};
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (const auto error = Win32::QueryEntry(ToNative(path), data)) return error;
  times.hasCreation = true;
  times.creation = FromFiletime(data.ftCreationTime);
  times.access = FromFiletime(data.ftLastAccessTime);
  times.modification = FromFiletime(data.ftLastWriteTime);
  return {};
}

std::error_code SetFileTimes(const std::string& path, const FileTimes& times) {
  FILETIME creation{};
  FILETIME access{};
  FILETIME modification{};
  if ((times.hasCreation && !ToFiletime(times.creation, creation)) ||
      !ToFiletime(times.access, access) || !ToFiletime(times.modification, modification))
    return std::make_error_code(std::errc::invalid_argument);
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = Win32::OpenEntry(ToNative(path), FILE_WRITE_ATTRIBUTES, handle, info))
    return error;
  // A reparse point keeps its own times, but where the handle might be its target's (Wine opens
  // a Unix link's target) nothing is set: the target is never touched.
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return PlatformErrc::NotARegularFile;
  if (!::SetFileTime(handle.Get(), times.hasCreation ? &creation : nullptr, &access, &modification))
    return LastError();
  return handle.Close();
}

std::error_code RemoveFile(const std::string& path) {
  // The entry is opened itself and checked before it is marked, so a folder is never removed
  // and a reparse point (a link to a folder too) goes as an entry, never its target. A read-only
  // file is refused by the system as it is by DeleteFile.
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error =
          Win32::OpenEntry(ToNative(path), DELETE | FILE_READ_ATTRIBUTES, handle, info))
    return error;
  if (Win32::IsRealFolder(info.dwFileAttributes))
    return std::make_error_code(std::errc::is_a_directory);
  if (const auto error = Win32::MarkForDeletion(handle.Get())) return error;
  return handle.Close();
}

bool FileExists(const std::string& path) {
  const NativePath native = ToNative(path);
  if (native.device) return true;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return !Win32::QueryEntry(native, data) && !Win32::IsRealFolder(data.dwFileAttributes);
}

bool FolderExists(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return !Win32::QueryEntry(ToNative(path), data) && Win32::IsRealFolder(data.dwFileAttributes);
}

void SleepMilliseconds(int milliseconds) {
  if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

std::error_code CreateNewFile(const std::string& path, const std::string& contents) {
  const NativePath native = ToNative(path);
  if (native.device) return PlatformErrc::NotARegularFile;
  // CREATE_NEW fails for anything of that name, a dangling link too.
  Handle handle(::CreateFileW(native.wide.c_str(), GENERIC_WRITE | DELETE, Win32::kShareAll,
                              nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle.IsOpen()) return LastError();
  std::error_code error;
  for (std::size_t written = 0; written < contents.size();) {
    const auto chunk =
        static_cast<DWORD>(std::min<std::size_t>(contents.size() - written, std::size_t{1} << 30));
    DWORD done = 0;
    if (!::WriteFile(handle.Get(), contents.data() + written, chunk, &done, nullptr)) {
      error = LastError();
      break;
    }
    if (done == 0) {
      error = std::make_error_code(std::errc::no_space_on_device);
      break;
    }
    written += done;
  }
  // The half-written file goes again; deleting through the handle cannot hit a newer namesake.
  if (error) (void)Win32::MarkForDeletion(handle.Get());
  const std::error_code closeError = handle.Close();
  if (!error && closeError) {
    ::DeleteFileW(native.wide.c_str());
    error = closeError;
  }
  return error;
}

}  // namespace Platform
