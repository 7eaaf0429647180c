#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/atomic_file.h"
#include "platform/errors.h"

namespace Platform {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

// The folder that holds path, for opening it: "." for a bare name, "/" for a name in the root.
std::string HoldingFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::error_code WriteAll(int handle, const std::string& contents) {
  std::size_t written = 0;
  while (written < contents.size()) {
    const ssize_t result = ::write(handle, contents.data() + written, contents.size() - written);
    if (result < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    written += static_cast<std::size_t>(result);
  }
  return {};
}

// Writes the folder's entries through to the disk, so that a rename in it survives a crash.
// File systems that cannot do that for folders say EINVAL; there is nothing more to be done then.
std::error_code SyncFolder(const std::string& folder) {
  const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return LastError();
  std::error_code error;
  if (::fsync(handle) != 0 && errno != EINVAL && errno != ENOTSUP) error = LastError();
  ::close(handle);
  return error;
}

// One folder of a path that is being created: made for the owner only when missing.
std::error_code MakeFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0700) == 0) return {};
  const std::error_code error = LastError();
  // An existing folder (or a link to one, such as a ~/.config kept elsewhere) is what we want;
  // read-only or unwritable parents can say so with another number than EEXIST.
  struct stat entry {};
  if (::stat(folder.c_str(), &entry) == 0)
    return S_ISDIR(entry.st_mode) ? std::error_code() : std::make_error_code(std::errc::not_a_directory);
  return error;
}

}  // namespace

std::error_code ReplaceFileAtomically(const std::string& path, const std::string& contents) {
  if (path.empty() || path.back() == '/') return std::make_error_code(std::errc::invalid_argument);
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) == 0) {
    if (!S_ISREG(entry.st_mode)) return PlatformErrc::NotARegularFile;
  } else if (errno != ENOENT) {
    return LastError();
  }

  // mkostemp creates the file exclusively (O_EXCL) with mode 0600.
  std::string temporary = path + ".XXXXXX";
  const int handle = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (handle < 0) return LastError();

  std::error_code error = WriteAll(handle, contents);
  if (!error && ::fsync(handle) != 0) error = LastError();
  if (::close(handle) != 0 && !error) error = LastError();
  // rename() replaces the entry at path itself, never a file that a link there would point to.
  if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = LastError();
  if (error) {
    ::unlink(temporary.c_str());
    return error;
  }
  return SyncFolder(HoldingFolder(path));
}

std::error_code ReadWholeFile(const std::string& path, std::string& contents,
                              std::size_t maxBytes) {
  // The entry is looked at first, so that a device or a pipe is never opened at all.
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) return LastError();
  if (!S_ISREG(entry.st_mode)) return PlatformErrc::NotARegularFile;
  if (static_cast<std::size_t>(entry.st_size) > maxBytes)
    return std::make_error_code(std::errc::file_too_large);

  const int handle =
      ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (handle < 0) {
    // O_NOFOLLOW says ELOOP when the entry was swapped for a link in between.
    if (errno == ELOOP) return PlatformErrc::NotARegularFile;
    return LastError();
  }
  std::error_code error;
  std::string read;
  if (::fstat(handle, &entry) != 0) {
    error = LastError();
  } else if (!S_ISREG(entry.st_mode)) {
    error = PlatformErrc::NotARegularFile;
  } else {
    // Reads at most one byte more than allowed, so that a file that grew meanwhile is caught.
    char buffer[8192];
    while (true) {
      const ssize_t result = ::read(handle, buffer, sizeof buffer);
      if (result < 0) {
        if (errno == EINTR) continue;
        error = LastError();
        break;
      }
      if (result == 0) break;
      read.append(buffer, static_cast<std::size_t>(result));
      if (read.size() > maxBytes) {
        error = std::make_error_code(std::errc::file_too_large);
        break;
      }
    }
  }
  ::close(handle);
  if (!error) contents = std::move(read);
  return error;
}

std::error_code CreateFolders(const std::string& path) {
  if (path.empty()) return std::make_error_code(std::errc::invalid_argument);
  // Every folder on the way, from the top: "/a/b" makes "/a", then "/a/b".
  std::size_t slash = path.find('/', 1);
  while (true) {
    const std::string folder = path.substr(0, slash);
    if (!folder.empty() && folder.back() != '/') {
      if (const std::error_code error = MakeFolder(folder)) return error;
    }
    if (slash == std::string::npos) return {};
    slash = path.find('/', slash + 1);
  }
}

}  // namespace Platform
