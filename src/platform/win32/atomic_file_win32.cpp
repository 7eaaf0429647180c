// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/win32/file_handle.h"

#include <sddl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

using Win32::Handle;
using Win32::LastError;
using Win32::NativePath;
using Win32::ToNative;

// Security for a new store file: full access for this user and nobody else, nothing inherited
// (as mode 0600 on POSIX). The user's own SID is named rather than the owner, because an
// elevated run makes its files owned by the Administrators group, which the same user's normal
// run could not then open. Without it the folder's inherited security applies.
class OwnerOnlySecurity {
 public:
  OwnerOnlySecurity() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return;
    DWORD needed = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    std::vector<std::uint64_t> buffer(needed / sizeof(std::uint64_t) + 1);
    wchar_t* sid = nullptr;
    if (needed > 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), needed, &needed) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
      const std::wstring text = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
      ::LocalFree(sid);
      if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1,
                                                                  &descriptor_, nullptr))
        descriptor_ = nullptr;
    }
    ::CloseHandle(token);
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = descriptor_;
    attributes_.bInheritHandle = FALSE;
  }
  ~OwnerOnlySecurity() {
    if (descriptor_ != nullptr) ::LocalFree(descriptor_);
  }
  OwnerOnlySecurity(const OwnerOnlySecurity&) = delete;
  OwnerOnlySecurity& operator=(const OwnerOnlySecurity&) = delete;

  SECURITY_ATTRIBUTES* Attributes() { return descriptor_ != nullptr ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

std::error_code WriteAll(HANDLE handle, const std::string& contents) {
  for (std::size_t written = 0; written < contents.size();) {
    const auto chunk =
        static_cast<DWORD>(std::min<std::size_t>(contents.size() - written, std::size_t{1} << 30));
    DWORD done = 0;
    if (!::WriteFile(handle, contents.data() + written, chunk, &done, nullptr)) return LastError();
    if (done == 0) return std::make_error_code(std::errc::no_space_on_device);
    written += done;
  }
  return {};
}

// One folder of a path that is being created. An existing folder, or a junction or link to one
// (its attributes say folder), is what we want; anything else is in the way.
std::error_code MakeFolder(const std::wstring& folder) {
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return {};
  const DWORD code = ::GetLastError();
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? std::error_code()
               : std::make_error_code(std::errc::not_a_directory);
  }
  return Win32::ErrorFromCode(code);
}

}  // namespace

std::error_code ReplaceFileAtomically(const std::string& path, const std::string& contents) {
  if (path.empty() || path.back() == '\\' || path.back() == '/')
    return std::make_error_code(std::errc::invalid_argument);
  const NativePath native = ToNative(path);
  if (native.device) return PlatformErrc::NotARegularFile;
  WIN32_FILE_ATTRIBUTE_DATA entry{};
  if (const std::error_code error = Win32::QueryEntry(native, entry)) {
    if (error != std::errc::no_such_file_or_directory) return error;
  } else if ((entry.dwFileAttributes & Win32::kNotRegular) != 0) {
    return PlatformErrc::NotARegularFile;
  }

  OwnerOnlySecurity security;
  std::wstring temporary;
  Handle handle;
  for (int attempt = 0; attempt < 16 && !handle.IsOpen(); ++attempt) {
    temporary = native.wide + Win32::UniqueSuffix();
    handle.Reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE, 0, security.Attributes(),
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsOpen() && ::GetLastError() != ERROR_FILE_EXISTS) return LastError();
  }
  if (!handle.IsOpen()) return std::make_error_code(std::errc::file_exists);

  std::error_code error = WriteAll(handle.Get(), contents);
  if (!error && !::FlushFileBuffers(handle.Get())) error = LastError();
  if (error) {
    (void)Win32::MarkForDeletion(handle.Get());
    (void)handle.Close();
    return error;
  }
  if (const std::error_code closeError = handle.Close()) {
    ::DeleteFileW(temporary.c_str());
    return closeError;
  }
  // The entry at path itself is replaced, never a file that a link there leads to; write-through
  // has the rename on the disk before this returns.
  if (!::MoveFileExW(temporary.c_str(), native.wide.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastError();
    ::DeleteFileW(temporary.c_str());
    return error;
  }
  return {};
}

std::error_code ReadWholeFile(const std::string& path, std::string& contents,
                              std::size_t maxBytes) {
  const NativePath native = ToNative(path);
  WIN32_FILE_ATTRIBUTE_DATA entry{};
  if (const std::error_code error = Win32::QueryEntry(native, entry)) return error;
  if ((entry.dwFileAttributes & Win32::kNotRegular) != 0) return PlatformErrc::NotARegularFile;
  const std::uint64_t size =
      (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  if (size > maxBytes) return std::make_error_code(std::errc::file_too_large);

  Handle handle;
  if (const std::error_code error = Win32::OpenRegularFile(native, GENERIC_READ, handle))
    return error;
  // Reads at most one buffer past the limit, so that a file that grew meanwhile is caught.
  std::string read;
  char buffer[8192];
  for (;;) {
    DWORD done = 0;
    if (!::ReadFile(handle.Get(), buffer, sizeof buffer, &done, nullptr)) return LastError();
    if (done == 0) break;
    read.append(buffer, done);
    if (read.size() > maxBytes) return std::make_error_code(std::errc::file_too_large);
  }
  contents = std::move(read);
  return {};
}

std::error_code CreateFolders(const std::string& path) {
  if (path.empty()) return std::make_error_code(std::errc::invalid_argument);
  const NativePath native = ToNative(path);
  if (native.device) return std::make_error_code(std::errc::not_a_directory);
  const std::wstring& wide = native.wide;
  // The root ("C:\", "\\server\share\") is never made; every folder below it is, from the top.
  std::size_t start = Win32::RootLength(wide);
  if (start >= wide.size()) {
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? std::error_code()
               : std::make_error_code(std::errc::not_a_directory);
  }
  while (start < wide.size()) {
    std::size_t end = wide.find(L'\\', start);
    if (end == std::wstring::npos) end = wide.size();
    if (end > start) {
      if (const std::error_code error = MakeFolder(wide.substr(0, end))) return error;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace Platform
