#include "support/file_inspection.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#endif

#include <stdexcept>

#include "support/temp_folder.h"

namespace TestSupport {

#ifdef _WIN32

namespace {

// FILETIME counts 100 ns ticks since 1601-01-01.
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSecondsBefore1970 = 11'644'473'600;

DiskTime FromFiletime(const FILETIME& time) {
  const auto ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
  return {ticks / kTicksPerSecond - kSecondsBefore1970,
          static_cast<std::int32_t>(ticks % kTicksPerSecond * 100)};
}

FILETIME ToFiletime(const DiskTime& time) {
  const auto ticks = static_cast<std::uint64_t>(
      (time.seconds + kSecondsBefore1970) * kTicksPerSecond + time.nanoseconds / 100);
  FILETIME out;
  out.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  out.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return out;
}

}  // namespace

std::wstring WideLongPath(const std::string& path) {
  std::wstring wide = FileSystemPath(path).wstring();
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  if (wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') return L"\\\\?\\" + wide;
  if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;
}

std::string ReadLongFile(const std::string& path) {
  const HANDLE handle =
      ::CreateFileW(WideLongPath(path).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return "<cannot be read>";
  std::string bytes;
  char buffer[65536];
  DWORD done = 0;
  while (::ReadFile(handle, buffer, sizeof buffer, &done, nullptr) && done > 0)
    bytes.append(buffer, done);
  ::CloseHandle(handle);
  return bytes;
}

std::string LetterWithoutDrive() {
  const DWORD letters = ::GetLogicalDrives();
  for (int index = 25; index >= 2; --index) {
    if ((letters & (DWORD{1} << index)) == 0) return std::string(1, static_cast<char>('A' + index));
  }
  return {};
}

unsigned long AttributesOnDisk(const std::string& path) {
  return ::GetFileAttributesW(WideLongPath(path).c_str());
}

void AddAttributes(const std::string& path, unsigned long attributes) {
  const DWORD former = ::GetFileAttributesW(WideLongPath(path).c_str());
  if (former == INVALID_FILE_ATTRIBUTES ||
      !::SetFileAttributesW(WideLongPath(path).c_str(), former | attributes))
    throw std::runtime_error("cannot set the attributes of " + path);
}

DiskTimes TimesOnDisk(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(WideLongPath(path).c_str(), GetFileExInfoStandard, &data))
    throw std::runtime_error("cannot read the times of " + path);
  DiskTimes times;
  times.access = FromFiletime(data.ftLastAccessTime);
  times.modification = FromFiletime(data.ftLastWriteTime);
  times.hasCreation = true;
  times.creation = FromFiletime(data.ftCreationTime);
  return times;
}

void SetTimesOnDisk(const std::string& path, const DiskTimes& times) {
  const HANDLE handle =
      ::CreateFileW(WideLongPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  const FILETIME creation = ToFiletime(times.creation);
  const FILETIME access = ToFiletime(times.access);
  const FILETIME modification = ToFiletime(times.modification);
  const bool set =
      ::SetFileTime(handle, times.hasCreation ? &creation : nullptr, &access, &modification);
  ::CloseHandle(handle);
  if (!set) throw std::runtime_error("cannot set the times of " + path);
}

bool ReadOnlyOnDisk(const std::string& path) {
  const DWORD attributes = AttributesOnDisk(path);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    throw std::runtime_error("cannot read the attributes of " + path);
  return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

#else

namespace {

struct stat EntryStatus(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) throw std::runtime_error("cannot read " + path);
  return info;
}

}  // namespace

DiskTimes TimesOnDisk(const std::string& path) {
  const struct stat info = EntryStatus(path);
  DiskTimes times;
  times.access = {info.st_atim.tv_sec, static_cast<std::int32_t>(info.st_atim.tv_nsec)};
  times.modification = {info.st_mtim.tv_sec, static_cast<std::int32_t>(info.st_mtim.tv_nsec)};
  return times;
}

void SetTimesOnDisk(const std::string& path, const DiskTimes& times) {
  const timespec both[2] = {{times.access.seconds, times.access.nanoseconds},
                            {times.modification.seconds, times.modification.nanoseconds}};
  if (::utimensat(AT_FDCWD, path.c_str(), both, AT_SYMLINK_NOFOLLOW) != 0)
    throw std::runtime_error("cannot set the times of " + path);
}

bool ReadOnlyOnDisk(const std::string& path) {
  return (EntryStatus(path).st_mode & S_IWUSR) == 0;
}

#endif

}  // namespace TestSupport
