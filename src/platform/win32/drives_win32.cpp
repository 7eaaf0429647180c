// Drives on Windows: the drive letters A to Z. A drive is named by its upper-case letter alone
// ("C"), and its root folder is the letter, ":" and "\" ("C:\").

#include <windows.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/win32/no_error_boxes.h"
#include "platform/win32/wide_text.h"

namespace Platform {
namespace {

using Win32::NoCriticalErrorBoxes;

char UpperLetter(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<char>(c - L'a' + 'A');
  if (c >= L'A' && c <= L'Z') return static_cast<char>(c - L'A' + 'A');
  return '\0';
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The upper-case letter of a drive named as "C", "c", "C:" or "C:\" ("C:/" too); '\0' for
// anything else.
char RootLetter(const std::string& root) {
  if (root.empty() || root.size() > 3) return '\0';
  const char letter = UpperLetter(static_cast<unsigned char>(root[0]));
  if (letter == '\0') return '\0';
  if (root.size() >= 2 && root[1] != ':') return '\0';
  if (root.size() == 3 && !IsSeparator(root[2])) return '\0';
  return letter;
}

std::wstring RootFolderOf(char letter) {
  return {static_cast<wchar_t>(letter), L':', L'\\'};
}

// The drive letter of a path as the system completes it; '\0' for a network path or any other
// path that lies on no drive letter.
char LetterOfPath(const std::string& path) {
  std::wstring full = Win32::LongPath(path);
  for (wchar_t& c : full) {
    if (c == L'/') c = L'\\';
  }
  // "\\?\C:\..." and the device form "\\.\C:\..." both name the letter's drive.
  if (full.size() >= 4 && full[0] == L'\\' && full[1] == L'\\' &&
      (full[2] == L'?' || full[2] == L'.') && full[3] == L'\\')
    full.erase(0, 4);
  if (full.size() < 2 || full[1] != L':') return '\0';
  if (full.size() > 2 && full[2] != L'\\') return '\0';
  return UpperLetter(full[0]);
}

std::int64_t Clamped(unsigned long long bytes) {
  constexpr auto kLargest =
      static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(bytes > kLargest ? kLargest : bytes);
}

// The drive of a letter; nothing when the letter has no drive (no root folder).
std::optional<DriveInfo> MakeDrive(char letter) {
  const std::wstring rootFolder = RootFolderOf(letter);
  DriveInfo drive;
  switch (::GetDriveTypeW(rootFolder.c_str())) {
    case DRIVE_NO_ROOT_DIR:
      return std::nullopt;
    case DRIVE_REMOVABLE:
      drive.type = DriveType::Removable;
      break;
    case DRIVE_FIXED:
      drive.type = DriveType::Fixed;
      break;
    case DRIVE_REMOTE:
      drive.type = DriveType::Network;
      break;
    case DRIVE_CDROM:
      drive.type = DriveType::CDRom;
      break;
    case DRIVE_RAMDISK:
      drive.type = DriveType::RamDisk;
      break;
    default:
      drive.type = DriveType::Unknown;
      break;
  }
  drive.root = std::string(1, letter);
  drive.device = Win32::Narrow(rootFolder);
  drive.floppy = letter == 'A' || letter == 'B';

  // A drive without a medium has no label and no file system: both stay empty.
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  const NoCriticalErrorBoxes quiet;
  if (::GetVolumeInformationW(rootFolder.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                              fileSystem, MAX_PATH + 1)) {
    drive.volumeName = Win32::Narrow(label);
    drive.fileSystem = Win32::Narrow(fileSystem);
  }
  return drive;
}

}  // namespace

std::string DriveRootFolder(const std::string& root) {
  const char letter = RootLetter(root);
  if (letter == '\0') return root;
  return std::string(1, letter) + ":\\";
}

std::error_code DriveOfPath(const std::string& path, DriveInfo& drive) {
  drive = {};
  if (path.empty()) return PlatformErrc::NoSuchDrive;
  // A network path "\\server\share\..." lies on no drive letter, even when a letter is mapped
  // to the same share: the share's free space and cluster size are the server's to tell.
  const char letter = LetterOfPath(path);
  if (letter == '\0') return PlatformErrc::NoSuchDrive;
  std::optional<DriveInfo> found = MakeDrive(letter);
  if (!found) return PlatformErrc::NoSuchDrive;
  drive = std::move(*found);
  return {};
}

std::vector<DriveInfo> ListDrives() {
  std::vector<DriveInfo> drives;
  const DWORD letters = ::GetLogicalDrives();
  for (int index = 0; index < 26; ++index) {
    if ((letters & (DWORD{1} << index)) == 0) continue;
    std::optional<DriveInfo> drive = MakeDrive(static_cast<char>('A' + index));
    if (drive && drive->type != DriveType::Unknown) drives.push_back(std::move(*drive));
  }
  return drives;
}

namespace {

// The space of the volume whose root folder is volume, with the free bytes as path's user sees
// them (quotas count).
std::error_code SpaceOfVolume(const wchar_t* volume, const wchar_t* path, DriveSpace& space) {
  const NoCriticalErrorBoxes quiet;
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD clusters = 0;
  if (!::GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
    return Win32::LastError();
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  ULARGE_INTEGER allFree{};
  if (!::GetDiskFreeSpaceExW(path, &available, &total, &allFree)) return Win32::LastError();
  DriveSpace answer;
  answer.clusterSize =
      static_cast<std::int64_t>(sectorsPerCluster) * static_cast<std::int64_t>(bytesPerSector);
  answer.availableBytes = Clamped(available.QuadPart);
  answer.totalBytes = Clamped(total.QuadPart);
  answer.freeBytes = Clamped(allFree.QuadPart);
  // Some network drives tell their space but no serial number: that stays 0.
  DWORD serialNumber = 0;
  if (::GetVolumeInformationW(volume, nullptr, 0, &serialNumber, nullptr, nullptr, nullptr, 0))
    answer.serialNumber = serialNumber;
  space = answer;
  return {};
}

}  // namespace

std::error_code QueryDriveSpace(const std::string& root, DriveSpace& space) {
  space = {};
  const char letter = RootLetter(root);
  if (letter == '\0') return PlatformErrc::NoSuchDrive;
  const std::wstring rootFolder = RootFolderOf(letter);
  if (::GetDriveTypeW(rootFolder.c_str()) == DRIVE_NO_ROOT_DIR) return PlatformErrc::NoSuchDrive;
  return SpaceOfVolume(rootFolder.c_str(), rootFolder.c_str(), space);
}

std::error_code QueryFolderSpace(const std::string& folder, DriveSpace& space) {
  space = {};
  std::wstring path = Win32::Widen(folder);
  if (path.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
  const NoCriticalErrorBoxes quiet;
  wchar_t volume[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1)) return Win32::LastError();
  return SpaceOfVolume(volume, path.c_str(), space);
}

bool MayFillReservedBlocks() {
  return true;
}

}  // namespace Platform
