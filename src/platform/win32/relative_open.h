#pragma once

// Entries of an open folder reached through the folder's handle: looked up in its listing and
// opened relative to it (NtCreateFile with the folder as root), so that a name is never resolved
// again from a path and a reparse point is never followed.

#include "platform/win32/file_handle.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace Platform::Win32 {

// An entry as its folder's listing gives it: the entry itself, never what a reparse point leads
// to, even where the system would follow one on opening (Wine opens a Unix link's target).
struct FolderItem {
  DWORD attributes = 0;
  DWORD reparseTag = 0;  // for a reparse point
  FILETIME creation{};
  FILETIME access{};
  FILETIME modification{};
  std::int64_t length = 0;
};

// The name as the wide calls take it when it names one entry of a folder; invalid_argument for an
// empty name, "." and "..", and a name holding a separator, a NUL, a stream's ":" or a wildcard.
std::error_code ToEntryName(const std::string& name, std::wstring& wide);

// Reads the entry `name` of the open folder from the folder's listing.
std::error_code LookUpEntry(HANDLE folder, const std::wstring& name, FolderItem& item);

// Opens the entry `name` relative to the open folder with the given access and NtCreateFile
// options, never following a reparse point, and reads what was opened. Anything but a file or
// folder on a disk is refused (NotARegularFile) and closed again.
std::error_code OpenRelative(HANDLE folder, const std::wstring& name, DWORD access, ULONG options,
                             Handle& handle, BY_HANDLE_FILE_INFORMATION& info);

// Makes the new file `name` in the open folder (FILE_CREATE: an error when anything of that name
// is there) and opens it with the given access, shared as every other handle of the program.
std::error_code CreateRelative(HANDLE folder, const std::wstring& name, DWORD access,
                               Handle& handle);

// False when the listing shows a reparse point but the opened object is none: the handle is
// then what the reparse point leads to, not the entry itself.
inline bool OpenedItself(const FolderItem& item, DWORD openedAttributes) {
  return (item.attributes & ~openedAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// True when the open reparse point is a folder where another volume is mounted, rather than a
// junction to a folder of some volume or a link.
bool IsVolumeMountPoint(HANDLE reparsePoint);

}  // namespace Platform::Win32
