#include "platform/win32/folder_listing.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Platform::Win32 {

std::error_code ListThroughHandle(HANDLE folder,
                                  const std::function<bool(const FolderEntry&)>& visit) {
  // The records hold 64-bit fields, so the buffer is kept aligned for them.
  std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
  const auto bufferBytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
  FolderEntry entry;
  // The first read starts over: a handle kept open goes on from where its last reading stopped.
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
  for (;;) {
    if (!::GetFileInformationByHandleEx(folder, kind, buffer.data(), bufferBytes)) {
      const DWORD code = ::GetLastError();
      return code == ERROR_NO_MORE_FILES ? std::error_code() : ErrorFromCode(code);
    }
    kind = FileIdBothDirectoryInfo;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
    for (std::size_t offset = 0;;) {
      const auto* item = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
      const std::wstring name(item->FileName, item->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..") {
        entry.name = Narrow(name);
        entry.isFolder = IsRealFolder(item->FileAttributes);
        if (!visit(entry)) return {};
      }
      if (item->NextEntryOffset == 0) break;
      offset += item->NextEntryOffset;
    }
  }
}

}  // namespace Platform::Win32
