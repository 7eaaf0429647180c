// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/win32/file_handle.h"

#include <shlobj.h>

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/win32/folder_listing.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

using Win32::Handle;
using Win32::LastError;
using Win32::NativePath;
using Win32::ToNative;

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// A folder path as the user would write it: "X:\..." or "\\server\share\...".
bool IsAbsolute(const std::wstring& path) {
  return (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) ||
         (path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

std::string WithoutTrailingSeparators(std::wstring path) {
  // "C:\" keeps its separator, as "/" does.
  while (path.size() > 3 && IsSeparator(path.back())) path.pop_back();
  return Win32::Narrow(path);
}

}  // namespace

std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(const FolderEntry&)>& visit) {
  // The folder is opened itself and read through its handle, so a reparse point in its place is
  // refused and never entered, and it cannot be swapped for one between looking and reading.
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error =
          Win32::OpenEntry(ToNative(folder), FILE_LIST_DIRECTORY | SYNCHRONIZE, handle, info))
    return error;
  if (!Win32::IsRealFolder(info.dwFileAttributes))
    return std::make_error_code(std::errc::not_a_directory);
  return Win32::ListThroughHandle(handle.Get(), visit);
}

std::error_code GetEntryLength(const std::string& path, std::int64_t& length) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (const auto error = Win32::QueryEntry(ToNative(path), data)) return error;
  if (Win32::IsRealFolder(data.dwFileAttributes)) return PlatformErrc::NotARegularFile;
  length = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
  return {};
}

std::error_code RemoveFolder(const std::string& path) {
  // Opened itself and checked before it is marked: a reparse point in the folder's place is
  // refused, never removed in its stead and never entered. A folder with entries stays.
  const NativePath native = ToNative(path);
  if (native.device) return std::make_error_code(std::errc::not_a_directory);
  Handle handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (const auto error = Win32::OpenEntry(native, DELETE | FILE_READ_ATTRIBUTES, handle, info))
    return error;
  if (!Win32::IsRealFolder(info.dwFileAttributes))
    return std::make_error_code(std::errc::not_a_directory);
  if (const auto error = Win32::MarkForDeletion(handle.Get())) return error;
  return handle.Close();
}

std::error_code CreateFolder(const std::string& path) {
  const NativePath native = ToNative(path);
  if (native.device) return std::make_error_code(std::errc::invalid_argument);
  if (!::CreateDirectoryW(native.wide.c_str(), nullptr)) return LastError();
  return {};
}

bool CanWriteFolder(const std::string& path) {
  const NativePath native = ToNative(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (Win32::QueryEntry(native, data) || !Win32::IsRealFolder(data.dwFileAttributes)) return false;
  // Only trying tells: a hidden file of a new name is made and goes when its handle closes.
  // Access lists may allow new folders but not new files (as on the root of C:), so a file it is.
  std::wstring probe = native.wide;
  if (probe.back() != L'\\') probe += L'\\';
  probe += L"~kexwell";
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::wstring name = probe + Win32::UniqueSuffix();
    Handle handle(::CreateFileW(
        name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (handle.IsOpen()) return true;
    if (::GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

std::string HomeFolder() {
  std::wstring home;
  const DWORD needed = ::GetEnvironmentVariableW(L"USERPROFILE", nullptr, 0);
  if (needed > 0) {
    home.resize(needed);
    const DWORD length = ::GetEnvironmentVariableW(L"USERPROFILE", home.data(), needed);
    home.resize(length < needed ? length : 0);
  }
  if (!IsAbsolute(home)) {
    wchar_t profile[MAX_PATH] = {};
    home =
        SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile))
            ? std::wstring(profile)
            : std::wstring();
    if (!IsAbsolute(home)) return {};
  }
  return WithoutTrailingSeparators(home);
}

}  // namespace Platform
