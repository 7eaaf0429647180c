#pragma once

// Reading a folder's entries through a handle to the folder itself.

// folders.h comes before windows.h, as file_handle.h keeps it.
#include "platform/folders.h"
#include "platform/win32/file_handle.h"

#include <functional>
#include <system_error>

namespace Platform::Win32 {

// Calls visit for every entry of the open folder but "." and "..", from its first entry however
// often the handle was read before, until visit returns false. A reparse point is an entry like a
// file, never a folder, whatever it leads to.
std::error_code ListThroughHandle(HANDLE folder,
                                  const std::function<bool(const FolderEntry&)>& visit);

}  // namespace Platform::Win32
