#include "platform/win32/relative_open.h"

#include <winioctl.h>
#include <winternl.h>

#include <cstring>
#include <vector>

namespace Platform::Win32 {
namespace {

// NtQueryDirectoryFile is in no header of mingw-w64, so it is looked up in ntdll once.
using QueryDirectoryFile = NTSTATUS(NTAPI*)(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK, PVOID,
                                            ULONG, FILE_INFORMATION_CLASS, BOOLEAN, PUNICODE_STRING,
                                            BOOLEAN);

QueryDirectoryFile QueryDirectory() {
  static const auto function = reinterpret_cast<QueryDirectoryFile>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryDirectoryFile")));
  return function;
}

// The status of a native call as the Win32 error the same failure gives elsewhere.
std::error_code ErrorFromStatus(NTSTATUS status) {
  return ErrorFromCode(::RtlNtStatusToDosError(status));
}

// The name as a counted string; the caller has checked that its length fits.
UNICODE_STRING Counted(const std::wstring& name) {
  UNICODE_STRING counted{};
  counted.Buffer = const_cast<wchar_t*>(name.c_str());
  counted.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  counted.MaximumLength = counted.Length;
  return counted;
}

// Opens name (empty: the folder itself once more) relative to folder. Names are matched without
// regard to case, as every Win32 call matches them.
NTSTATUS OpenBelow(HANDLE folder, const std::wstring& name, DWORD access, ULONG options,
                   HANDLE& opened, ULONG disposition = FILE_OPEN) {
  UNICODE_STRING counted = Counted(name);
  OBJECT_ATTRIBUTES attributes{};
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  opened = INVALID_HANDLE_VALUE;
  HANDLE raw = nullptr;
  const NTSTATUS status = ::NtCreateFile(
      &raw, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, kShareAll,
      disposition, options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
  if (NT_SUCCESS(status)) opened = raw;
  return status;
}

bool IsWildcardOrReserved(wchar_t c) {
  return c == L'\\' || c == L'/' || c == L':' || c == L'\0' || c == L'*' || c == L'?' ||
         c == L'<' || c == L'>' || c == L'"';
}

}  // namespace

std::error_code ToEntryName(const std::string& name, std::wstring& wide) {
  wide = Widen(name);
  // A counted string holds up to 32767 characters; no file system has longer names anyway.
  if (wide.empty() || wide == L"." || wide == L".." || wide.size() > 0x7FFF)
    return std::make_error_code(std::errc::invalid_argument);
  for (const wchar_t c : wide) {
    if (IsWildcardOrReserved(c)) return std::make_error_code(std::errc::invalid_argument);
  }
  return {};
}

std::error_code LookUpEntry(HANDLE folder, const std::wstring& name, FolderItem& item) {
  item = {};
  const QueryDirectoryFile query = QueryDirectory();
  if (query == nullptr) return ErrorFromCode(ERROR_PROC_NOT_FOUND);
  // The folder is read through a handle of its own: the first reading of a handle fixes which
  // names it gives, so the held handle is never read with a name.
  HANDLE raw = INVALID_HANDLE_VALUE;
  const NTSTATUS opened = OpenBelow(folder, std::wstring(), FILE_LIST_DIRECTORY,
                                    FILE_DIRECTORY_FILE | FILE_OPEN_FOR_BACKUP_INTENT, raw);
  if (!NT_SUCCESS(opened)) return ErrorFromStatus(opened);
  const Handle again(raw);

  // One record with a name of up to 32767 characters; 64-bit fields keep the buffer aligned.
  std::vector<std::uint64_t> buffer((sizeof(FILE_ID_BOTH_DIR_INFO) + 0x10000) /
                                    sizeof(std::uint64_t));
  UNICODE_STRING mask = Counted(name);
  IO_STATUS_BLOCK io{};
  const NTSTATUS status = query(again.Get(), nullptr, nullptr, nullptr, &io, buffer.data(),
                                static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                FileIdBothDirectoryInformation, TRUE, &mask, TRUE);
  if (!NT_SUCCESS(status)) {
    // No entry of that name: the same missing-file error as everywhere else.
    const DWORD code = ::RtlNtStatusToDosError(status);
    if (code == ERROR_NO_MORE_FILES) return ErrorFromCode(ERROR_FILE_NOT_FOUND);
    return ErrorFromCode(code);
  }
  const auto* record = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data());
  item.attributes = record->FileAttributes;
  // For a reparse point the field of the extended attributes' size holds its tag.
  if ((record->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    item.reparseTag = record->EaSize;
  item.creation = {record->CreationTime.LowPart, static_cast<DWORD>(record->CreationTime.HighPart)};
  item.access = {record->LastAccessTime.LowPart,
                 static_cast<DWORD>(record->LastAccessTime.HighPart)};
  item.modification = {record->LastWriteTime.LowPart,
                       static_cast<DWORD>(record->LastWriteTime.HighPart)};
  item.length = record->EndOfFile.QuadPart;
  return {};
}

std::error_code OpenRelative(HANDLE folder, const std::wstring& name, DWORD access, ULONG options,
                             Handle& handle, BY_HANDLE_FILE_INFORMATION& info) {
  info = {};
  HANDLE raw = INVALID_HANDLE_VALUE;
  const NTSTATUS status = OpenBelow(folder, name, access, options, raw);
  if (!NT_SUCCESS(status)) return ErrorFromStatus(status);
  Handle opened(raw);
  // The information first: under Wine, asking for the type of a file moves its access time.
  if (!::GetFileInformationByHandle(opened.Get(), &info)) return LastError();
  if (::GetFileType(opened.Get()) != FILE_TYPE_DISK) return PlatformErrc::NotARegularFile;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return PlatformErrc::NotARegularFile;
  handle.Reset(opened.Release());
  return {};
}

std::error_code CreateRelative(HANDLE folder, const std::wstring& name, DWORD access,
                               Handle& handle) {
  HANDLE raw = INVALID_HANDLE_VALUE;
  const NTSTATUS status =
      OpenBelow(folder, name, access, FILE_NON_DIRECTORY_FILE, raw, FILE_CREATE);
  if (!NT_SUCCESS(status)) {
    // The same error as a POSIX exclusive creation gives.
    if (::RtlNtStatusToDosError(status) == ERROR_FILE_EXISTS ||
        ::RtlNtStatusToDosError(status) == ERROR_ALREADY_EXISTS)
      return std::make_error_code(std::errc::file_exists);
    return ErrorFromStatus(status);
  }
  handle.Reset(raw);
  return {};
}

bool IsVolumeMountPoint(HANDLE reparsePoint) {
  // The reparse data: tag, data length, reserved, then the substitute name's offset and length
  // into the names that follow at byte 16.
  std::vector<std::uint64_t> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE / sizeof(std::uint64_t));
  DWORD returned = 0;
  if (!::DeviceIoControl(reparsePoint, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t)), &returned,
                         nullptr) ||
      returned < 16)
    return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
  DWORD tag = 0;
  WORD offset = 0;
  WORD length = 0;
  std::memcpy(&tag, bytes, sizeof tag);
  std::memcpy(&offset, bytes + 8, sizeof offset);
  std::memcpy(&length, bytes + 10, sizeof length);
  if (tag != IO_REPARSE_TAG_MOUNT_POINT || std::size_t{16} + offset + length > returned)
    return false;
  std::wstring substitute(length / sizeof(wchar_t), L'\0');
  std::memcpy(substitute.data(), bytes + 16 + offset, substitute.size() * sizeof(wchar_t));
  // A mounted volume is named by its volume name ("\??\Volume{...}\"), a junction by a path.
  return StartsWithNoCase(substitute, 0, L"\\??\\VOLUME{");
}

}  // namespace Platform::Win32
