// The storage facts of a path on Windows: the file system of its drive letter, the attributes of
// the path itself, and what the drive's device tells of its seek penalty.

// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/storage.h"
#include "platform/win32/file_handle.h"

#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <optional>

#include "platform/drives.h"
#include "platform/win32/no_error_boxes.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

bool EqualsNoCase(const std::string& text, const char* other) {
  std::size_t i = 0;
  for (; i < text.size() && other[i] != '\0'; ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(text[i]) != lower(other[i])) return false;
  }
  return i == text.size() && other[i] == '\0';
}

// Whether the device that holds the drive `letter` pays for seeking (a rotating disk); nothing
// when it does not tell (older drivers, virtual disks, card readers).
std::optional<bool> IncursSeekPenalty(char letter) {
  const std::wstring volume = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':'};
  // No access rights asked: a device's properties are for anyone to read, no administrator is
  // needed, and the volume is never opened for reading or writing.
  Win32::Handle device(::CreateFileW(volume.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!device.IsOpen()) return std::nullopt;
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  query.QueryType = PropertyStandardQuery;
  DEVICE_SEEK_PENALTY_DESCRIPTOR answer{};
  DWORD returned = 0;
  if (!::DeviceIoControl(device.Get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &answer,
                         sizeof answer, &returned, nullptr) ||
      returned < offsetof(DEVICE_SEEK_PENALTY_DESCRIPTOR, IncursSeekPenalty) +
                     sizeof answer.IncursSeekPenalty)
    return std::nullopt;
  return answer.IncursSeekPenalty != FALSE;
}

}  // namespace

std::error_code QueryStorage(const std::string& path, StorageFacts& facts) {
  facts = {};
  // A share named by its network path ("\\server\share\...") has no drive letter; what it keeps
  // is the server's to decide.
  const std::wstring wide = Win32::Widen(path);
  if (wide.size() > 2 && (wide[0] == L'\\' || wide[0] == L'/') &&
      (wide[1] == L'\\' || wide[1] == L'/') && wide[2] != L'?' && wide[2] != L'.') {
    const std::size_t server = wide.find_first_of(L"\\/", 2);
    const std::size_t share =
        server == std::wstring::npos ? server : wide.find_first_of(L"\\/", server + 1);
    if (server != std::wstring::npos && server > 2 && share != server + 1) {
      std::string root = Win32::Narrow(wide.substr(0, share)) + "\\";
      std::replace(root.begin(), root.end(), '/', '\\');
      facts.mountPoint = std::move(root);
      facts.network = true;
      return {};
    }
  }
  DriveInfo drive;
  if (const auto error = DriveOfPath(path, drive)) return error;
  StorageFacts answer;
  answer.fileSystem = drive.fileSystem;
  answer.mountPoint = DriveRootFolder(drive.root);
  answer.copyOnWrite = EqualsNoCase(drive.fileSystem, "ReFS");
  answer.network = drive.type == DriveType::Network;
  answer.memory = drive.type == DriveType::RamDisk;

  // A drive without a medium, or a path this user may not see, leaves these facts false.
  const Win32::NoCriticalErrorBoxes quiet;
  // New files in a folder marked compressed or encrypted are so too.
  const DWORD attributes = ::GetFileAttributesW(Win32::LongPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    answer.compressed = (attributes & FILE_ATTRIBUTE_COMPRESSED) != 0;
    answer.encrypted = (attributes & FILE_ATTRIBUTE_ENCRYPTED) != 0;
    answer.sparse = (attributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0;
  }
  if (!answer.network) {
    const std::optional<bool> seekPenalty = IncursSeekPenalty(drive.root[0]);
    answer.solidState = seekPenalty.has_value() && !*seekPenalty;
    // A removable drive is taken for flash unless it says it is a rotating disk.
    answer.removableFlash =
        drive.type == DriveType::Removable && !(seekPenalty.has_value() && *seekPenalty);
  }
  facts = std::move(answer);
  return {};
}

}  // namespace Platform
