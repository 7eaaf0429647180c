#pragma once

// Links to folders for Windows tests.

#include "platform/win32/wide_text.h"

#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

inline bool RunningUnderWine() {
  return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Runs a command on the paths, quoted (under Wine in Unix form, for a Unix program), and waits
// up to ten seconds until the last path is a link (made) or is gone: Wine gives no handle to wait
// on.
inline bool RunLinkCommand(std::wstring command, const std::vector<std::string>& paths, bool made) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  for (const std::string& path : paths) {
    char* name = unixName != nullptr ? unixName(Platform::Win32::LongPath(path).c_str()) : nullptr;
    command += L" \"" + Platform::Win32::Widen(name != nullptr ? name : path.c_str()) + L"\"";
    if (name != nullptr) ::HeapFree(::GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
    return false;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  for (int wait = 0; wait < 1000; ++wait, ::Sleep(10)) {
    const DWORD attributes = ::GetFileAttributesW(Platform::Win32::LongPath(paths.back()).c_str());
    if ((attributes != INVALID_FILE_ATTRIBUTES) == made &&
        (!made || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0))
      return true;
  }
  return false;
}

// Links to folders: junctions on Windows, Unix links under Wine (which cannot make reparse
// points). The links remove themselves before the folder holding them goes: the standard
// library's removal of a folder would go through a Unix link that Wine shows as a folder.
struct FolderLinks {
  std::vector<std::string> links;

  ~FolderLinks() {
    for (const std::string& link : links)
      if (!::RemoveDirectoryW(Platform::Win32::LongPath(link).c_str()))
        RunLinkCommand(L"Z:\\bin\\rm", {link}, false);
  }

  // A link at link leading to the folder target; false when none can be made.
  bool Make(const std::string& target, const std::string& link) {
    links.push_back(link);
    return RunningUnderWine() ? RunLinkCommand(L"Z:\\bin\\ln -s", {target, link}, true)
                              : RunLinkCommand(L"cmd /c mklink /J", {link, target}, true);
  }
};

}  // namespace TestSupport
