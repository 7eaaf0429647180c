#include "platform/win32/wide_text.h"

#include <windows.h>

namespace Platform::Win32 {

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), needed);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr,
                                           nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<std::size_t>(needed), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Makes a path absolute the way the system does, without touching the disk. Long paths are
// handled because the buffer is sized from the first answer.
std::wstring FullPath(const std::wstring& path) {
  DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return path;
  full.resize(written);
  return full;
}

}  // namespace

std::wstring LongPath(const std::string& path) {
  if (path.empty()) return {};
  std::wstring wide = Widen(path);
  // Already in the long form: taken as it is.
  if (wide.rfind(LR"(\\?\)", 0) == 0) return wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  const bool driveAbsolute = wide.size() >= 3 && wide[1] == L':' && IsSeparator(wide[2]);
  const bool unc = wide.size() >= 2 && IsSeparator(wide[0]) && IsSeparator(wide[1]);
  if (!driveAbsolute && !unc) {
    // A relative path, or one like "\x" or "C:x": the system completes it. This also folds
    // "." and ".." parts, as every Windows program sees them.
    wide = FullPath(wide);
  } else {
    // "." and ".." are not folded under "\\?\", so fold them first; names keep their trailing
    // dots and blanks because only whole "." and ".." parts are touched.
    std::wstring folded;
    std::size_t rootLength = driveAbsolute ? 3 : 2;
    if (unc) {
      // "\\server\share\" is the root of a network path.
      std::size_t parts = 0;
      std::size_t i = 2;
      while (i < wide.size() && parts < 2) {
        if (IsSeparator(wide[i])) ++parts;
        ++i;
      }
      rootLength = i;
    }
    folded = wide.substr(0, rootLength);
    std::size_t start = rootLength;
    while (start <= wide.size()) {
      std::size_t end = wide.find(L'\\', start);
      if (end == std::wstring::npos) end = wide.size();
      const std::wstring part = wide.substr(start, end - start);
      if (part == L"..") {
        if (folded.size() > rootLength) {
          folded.pop_back();
          folded.erase(folded.rfind(L'\\') + 1);
        }
      } else if (!part.empty() && part != L".") {
        folded += part;
        if (end < wide.size()) folded += L'\\';
      }
      start = end + 1;
    }
    wide = folded;
  }
  if (wide.size() >= 2 && IsSeparator(wide[0]) && IsSeparator(wide[1])) {
    if (wide.size() >= 4 && (wide[2] == L'?' || wide[2] == L'.') && IsSeparator(wide[3]))
      return wide;
    return LR"(\\?\UNC\)" + wide.substr(2);
  }
  return LR"(\\?\)" + wide;
}

std::error_code ErrorFromCode(unsigned long code) {
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
      code == ERROR_INVALID_DRIVE || code == ERROR_BAD_NETPATH || code == ERROR_BAD_NET_NAME)
    return std::make_error_code(std::errc::no_such_file_or_directory);
  return {static_cast<int>(code), std::system_category()};
}

std::error_code LastError() { return ErrorFromCode(::GetLastError()); }

}  // namespace Platform::Win32
