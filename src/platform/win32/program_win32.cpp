// Facts about the running program and the system on Windows.

#include <windows.h>
#include <shlobj.h>

#include <cstddef>
#include <string_view>

#include "platform/files.h"
#include "platform/program.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

constexpr std::wstring_view kLongPrefix = LR"(\\?\)";
constexpr std::wstring_view kLongNetworkPrefix = LR"(\\?\UNC\)";

// A path without the "\\?\" prefix of the long form: "\\?\C:\x" gives "C:\x" and
// "\\?\UNC\server\share" gives "\\server\share".
std::wstring WithoutLongPrefix(const std::wstring& path) {
  if (path.starts_with(kLongNetworkPrefix))
    return L"\\\\" + path.substr(kLongNetworkPrefix.size());
  if (path.starts_with(kLongPrefix)) return path.substr(kLongPrefix.size());
  return path;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveRoot(const std::string& path) {
  return path.size() == 3 && path[1] == ':' && IsSeparator(path[2]);
}

// The folder above a folder that ends in a separator: "C:\Kexwell\bin\" gives "C:\Kexwell\".
std::string ParentFolder(const std::string& folder) {
  if (folder.size() <= 1) return folder;
  const std::size_t slash = folder.find_last_of("\\/", folder.size() - 2);
  return slash == std::string::npos ? folder : folder.substr(0, slash + 1);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Win32::LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FirstFixedDriveRoot() {
  const DWORD letters = ::GetLogicalDrives();
  for (int index = 0; index < 26; ++index) {
    if ((letters & (DWORD{1} << index)) == 0) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + index), L':', L'\\', L'\0'};
    if (::GetDriveTypeW(root) == DRIVE_FIXED) return Win32::Narrow(root);
  }
  return {};
}

// The text of a string-list value: the entries, each ended by a zero, read within the value's
// length even when the last zero is missing.
std::vector<std::wstring> ReadStringList(HKEY key, const wchar_t* name) {
  std::vector<std::wstring> entries;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return entries;
  if (type != REG_MULTI_SZ && type != REG_SZ) return entries;
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  DWORD read = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read) !=
      ERROR_SUCCESS)
    return entries;
  data.resize(read / sizeof(wchar_t));
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = data.find(L'\0', start);
    if (end == std::wstring::npos) end = data.size();
    if (end > start) entries.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

bool IsNumber(std::wstring_view text) {
  if (text.empty()) return false;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

// The file of a paging-file entry: "C:\pagefile.sys 0 0" gives "C:\pagefile.sys", and the kernel's
// "\??\C:\pagefile.sys" gives "C:\pagefile.sys". Empty for an entry without a real drive letter
// ("?:\pagefile.sys", a size chosen by the system).
std::wstring PagingFilePath(std::wstring entry) {
  // The initial and largest sizes follow the name, each after a blank.
  for (int field = 0; field < 2; ++field) {
    const std::size_t blank = entry.find_last_of(L' ');
    if (blank == std::wstring::npos || !IsNumber(std::wstring_view(entry).substr(blank + 1))) break;
    entry.resize(blank);
  }
  while (!entry.empty() && entry.back() == L' ') entry.pop_back();
  if (entry.starts_with(LR"(\??\)")) entry.erase(0, 4);
  entry = WithoutLongPrefix(entry);
  const bool letter = !entry.empty() && ((entry[0] >= L'A' && entry[0] <= L'Z') ||
                                         (entry[0] >= L'a' && entry[0] <= L'z'));
  if (!letter || entry.size() < 4 || entry[1] != L':' || entry[2] != L'\\') return {};
  return entry;
}

bool SameWideName(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The path with its links followed; empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& longPath) {
  const HANDLE file = ::CreateFileW(longPath.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::wstring final(MAX_PATH, L'\0');
  DWORD length = 0;
  while (true) {
    length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length < final.size()) break;
    final.resize(length + 1);
  }
  ::CloseHandle(file);
  if (length == 0) return {};
  final.resize(length);
  return final;
}

}  // namespace

std::string ExecutableFolder() {
  std::wstring executable(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, executable.data(), static_cast<DWORD>(executable.size()));
    if (length == 0) return {};
    if (length < executable.size()) {
      executable.resize(length);
      break;
    }
    // The name was cut to the buffer: try again with more room, up to the longest path.
    if (executable.size() >= 32768) return {};
    executable.resize(executable.size() * 2);
  }
  executable = WithoutLongPrefix(executable);
  const std::size_t slash = executable.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  return Win32::Narrow(executable.substr(0, slash + 1));
}

std::vector<std::string> ProgramFolders() {
  return ProgramFoldersOf(ExecutableFolder());
}

std::vector<std::string> ProgramFoldersOf(const std::string& executableFolder) {
  std::vector<std::string> folders;
  if (executableFolder.empty()) return folders;
  folders.push_back(executableFolder);
  const std::string dataFolder = ParentFolder(executableFolder) + "share\\kexwell\\";
  if (IsFolder(dataFolder)) folders.push_back(dataFolder);
  return folders;
}

std::string ProgramFilePath(const std::vector<std::string>& folders, const std::string& name) {
  for (const std::string& folder : folders) {
    if (FileExists(folder + name)) return folder + name;
  }
  return folders.empty() ? name : folders.front() + name;
}

std::vector<std::string> SwapFiles() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                      LR"(SYSTEM\CurrentControlSet\Control\Session Manager\Memory Management)", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return {};
  // The configured paging files, and those the system has actually made (where it chose the
  // drive of a "?:\pagefile.sys" itself).
  std::vector<std::wstring> entries = ReadStringList(key, L"PagingFiles");
  for (std::wstring& entry : ReadStringList(key, L"ExistingPageFiles"))
    entries.push_back(std::move(entry));
  ::RegCloseKey(key);

  std::vector<std::wstring> paths;
  for (const std::wstring& entry : entries) {
    const std::wstring path = PagingFilePath(entry);
    if (path.empty()) continue;
    bool known = false;
    for (const std::wstring& other : paths) known = known || SameWideName(other, path);
    if (!known) paths.push_back(path);
  }
  std::vector<std::string> files;
  for (const std::wstring& path : paths) files.push_back(Win32::Narrow(path));
  return files;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return {};
  const std::wstring wide = Win32::Widen(path);
  std::wstring full(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      break;
    }
    full.resize(length);
  }
  return Win32::Narrow(full);
}

std::string ApplicationDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) &&
      folder[0] != L'\0') {
    std::string path = Win32::Narrow(folder);
    while (path.size() > 1 && IsSeparator(path.back()) && !IsDriveRoot(path)) path.pop_back();
    return path;
  }
  // Without a profile the program keeps its files at the top of the first fixed drive.
  return FirstFixedDriveRoot();
}

std::string ResolveLinks(const std::string& path) {
  const std::wstring longPath = Win32::LongPath(path);
  if (longPath.empty()) return path;
  // The longest leading part that exists is resolved; the names after it are kept as written.
  std::size_t end = longPath.size();
  while (true) {
    const std::wstring final = FinalPath(longPath.substr(0, end));
    if (!final.empty()) {
      const std::wstring resolved = WithoutLongPrefix(final);
      std::wstring tail = longPath.substr(end);
      if (!tail.empty() && !resolved.empty() && resolved.back() == L'\\' && tail.front() == L'\\')
        tail.erase(0, 1);
      // A path written with a trailing separator keeps it.
      if (tail.empty() && longPath.back() == L'\\' && !resolved.empty() && resolved.back() != L'\\')
        tail = L"\\";
      return Win32::Narrow(resolved + tail);
    }
    // One name up; a drive's root is tried with its separator ("\\?\C:\", never "\\?\C:", which
    // is the volume itself).
    const std::size_t search = longPath[end - 1] == L'\\' ? end - 1 : end;
    const std::size_t slash = search == 0 ? std::wstring::npos : longPath.rfind(L'\\', search - 1);
    if (slash == std::wstring::npos || slash < kLongPrefix.size()) return path;
    const std::size_t next = longPath[slash - 1] == L':' ? slash + 1 : slash;
    if (next >= end) return path;
    end = next;
  }
}

}  // namespace Platform
