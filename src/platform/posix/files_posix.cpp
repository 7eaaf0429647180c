#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/errors.h"
#include "platform/files.h"

namespace Platform {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISLNK(mode)) return FileKind::SymbolicLink;
  return FileKind::Other;
}

// The last name of a path ("b" of "/a/b" and of "/a/b/").
std::string LastName(const std::string& path) {
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  const std::size_t slash = path.rfind('/', end - 1);
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(start, end - start);
}

FileTime ToFileTime(std::int64_t seconds, std::int64_t nanoseconds) {
  return {seconds, static_cast<std::int32_t>(nanoseconds)};
}

bool IsValid(const FileTime& time) {
  return time.nanoseconds >= 0 && time.nanoseconds <= 999'999'999;
}

timespec ToTimespec(const FileTime& time) {
  timespec value{};
  value.tv_sec = static_cast<time_t>(time.seconds);
  value.tv_nsec = time.nanoseconds;
  return value;
}

}  // namespace

std::error_code GetFileAttributes(const std::string& path, FileAttributes& attributes) {
  attributes = {};
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) return LastError();
  attributes.kind = KindOf(entry.st_mode);
  attributes.readOnly = !S_ISLNK(entry.st_mode) && (entry.st_mode & S_IWUSR) == 0;
  const std::string name = LastName(path);
  attributes.hidden = name.size() > 1 && name.front() == '.' && name != "..";
  attributes.system = false;
  return {};
}

std::error_code ClearReadOnly(const std::string& path) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) return LastError();
  if (!S_ISREG(entry.st_mode) && !S_ISDIR(entry.st_mode)) return PlatformErrc::NotARegularFile;
  if ((entry.st_mode & S_IWUSR) != 0) return {};
  const mode_t mode = (entry.st_mode & 07777) | S_IWUSR;
  // Should the entry have become a link since, this refuses it rather than change the target.
  if (::fchmodat(AT_FDCWD, path.c_str(), mode, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  return {};
}

std::error_code ClearHidden(const std::string& /*path*/) {
  return {};
}

std::error_code ClearSystem(const std::string& /*path*/) {
  return {};
}

std::error_code GetFileTimes(const std::string& path, FileTimes& times) {
  times = {};
  struct statx extended {};
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
              STATX_ATIME | STATX_MTIME | STATX_BTIME, &extended) == 0) {
    times.access = ToFileTime(extended.stx_atime.tv_sec, extended.stx_atime.tv_nsec);
    times.modification = ToFileTime(extended.stx_mtime.tv_sec, extended.stx_mtime.tv_nsec);
    if ((extended.stx_mask & STATX_BTIME) != 0) {
      times.hasCreation = true;
      times.creation = ToFileTime(extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec);
    }
    return {};
  }
  // Old kernels and some sandboxes refuse statx; lstat still gives two of the times.
  if (errno != ENOSYS && errno != EPERM) return LastError();
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) return LastError();
  times.access = ToFileTime(entry.st_atim.tv_sec, entry.st_atim.tv_nsec);
  times.modification = ToFileTime(entry.st_mtim.tv_sec, entry.st_mtim.tv_nsec);
  return {};
}

std::error_code SetFileTimes(const std::string& path, const FileTimes& times) {
  if (!IsValid(times.access) || !IsValid(times.modification))
    return std::make_error_code(std::errc::invalid_argument);
  const timespec values[2] = {ToTimespec(times.access), ToTimespec(times.modification)};
  if (::utimensat(AT_FDCWD, path.c_str(), values, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  return {};
}

std::error_code RemoveFile(const std::string& path) {
  // unlink never removes a folder and removes a link itself, not what it names.
  if (::unlink(path.c_str()) != 0) return LastError();
  return {};
}

bool FileExists(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0 && !S_ISDIR(entry.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

std::error_code CreateNewFile(const std::string& path, const std::string& contents) {
  const int handle =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (handle < 0) return LastError();
  std::size_t written = 0;
  std::error_code error;
  while (written < contents.size()) {
    const ssize_t n = ::write(handle, contents.data() + written, contents.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? LastError() : std::make_error_code(std::errc::io_error);
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(handle) != 0 && !error) error = LastError();
  if (error) ::unlink(path.c_str());
  return error;
}

void SleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec remaining{};
  remaining.tv_sec = milliseconds / 1000;
  remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1'000'000L;
  while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

}  // namespace Platform
