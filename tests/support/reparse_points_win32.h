#pragma once

// Reparse points for Windows tests.

#include "platform/win32/wide_text.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

namespace TestSupport {

inline bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A mount-point reparse point at the new folder link, leading to substitute, a native name:
// "\??\C:\folder" makes a junction, "\??\Volume{...}\" mounts a volume there. Windows lets any
// user make one; Wine cannot make reparse points at all.
inline bool MakeMountPoint(const std::wstring& substitute, const std::string& link) {
  const std::wstring wideLink = Platform::Win32::LongPath(link);
  if (!::CreateDirectoryW(wideLink.c_str(), nullptr)) return false;
  const HANDLE handle =
      ::CreateFileW(wideLink.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    ::RemoveDirectoryW(wideLink.c_str());
    return false;
  }
  // The reparse buffer: tag, data length, reserved, then the substitute and print names.
  const auto nameBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  const auto dataLength = static_cast<WORD>(8 + nameBytes + 2 * sizeof(wchar_t));
  std::vector<unsigned char> buffer(8u + dataLength, 0);
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  const WORD fields[6] = {dataLength, 0, 0, nameBytes, static_cast<WORD>(nameBytes + 2), 0};
  std::memcpy(buffer.data(), &tag, sizeof tag);
  std::memcpy(buffer.data() + 4, fields, sizeof fields);
  std::memcpy(buffer.data() + 16, substitute.c_str(), nameBytes);
  DWORD returned = 0;
  const BOOL made =
      ::DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(),
                        static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
  ::CloseHandle(handle);
  if (!made) ::RemoveDirectoryW(wideLink.c_str());
  return made;
}

// A junction at link leading to the folder target.
inline bool MakeJunction(const std::string& target, const std::string& link) {
  return MakeMountPoint(L"\\??\\" + Platform::Win32::LongPath(target).substr(4), link);
}

// Under Wine only: runs a Unix command on the paths in Unix form (quoted), and waits up to ten
// seconds for the last path's attributes to pass the test (Wine gives no handle to wait on).
template <typename Test>
bool RunUnixCommand(const wchar_t* program, std::wstring command,
                    const std::vector<std::string>& paths, Test test) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return false;
  for (const std::string& path : paths) {
    char* name = unixName(Platform::Win32::LongPath(path).c_str());
    if (name == nullptr) return false;
    command += L" \"" + Platform::Win32::Widen(name) + L"\"";
    ::HeapFree(::GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return false;
  for (const HANDLE handle : {process.hThread, process.hProcess}) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
  for (int wait = 0; wait < 1000; ++wait, ::Sleep(10)) {
    if (test(::GetFileAttributesW(Platform::Win32::LongPath(paths.back()).c_str()))) return true;
  }
  return false;
}

// Links to folders: junctions where the system can make them, else under Wine Unix links, which
// remove themselves before the folder holding them goes (the standard library's removal of a
// folder would go through a Unix link that Wine shows as a folder).
class FolderLinks {
 public:
  FolderLinks() = default;
  FolderLinks(const FolderLinks&) = delete;
  FolderLinks& operator=(const FolderLinks&) = delete;
  ~FolderLinks() {
    for (const std::string& link : links_) {
      if (!::RemoveDirectoryW(Platform::Win32::LongPath(link).c_str()))
        RunUnixCommand(L"Z:\\bin\\rm", L"rm", {link},
                       [](DWORD attributes) { return attributes == INVALID_FILE_ATTRIBUTES; });
    }
  }

  // A link at link leading to the folder target; false when none can be made.
  bool Make(const std::string& target, const std::string& link) {
    links_.push_back(link);
    return MakeJunction(target, link) ||
           RunUnixCommand(L"Z:\\bin\\ln", L"ln -s", {target, link}, [](DWORD attributes) {
             return attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
           });
  }

 private:
  std::vector<std::string> links_;
};

}  // namespace TestSupport
