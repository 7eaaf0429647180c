#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/errors.h"
#include "platform/folders.h"

namespace Platform {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(const FolderEntry&)>& visit) {
  // A trailing "/" would make the system follow a link in the last place; without it,
  // O_NOFOLLOW refuses a link to a folder.
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const int handle =
      open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (handle < 0) return LastError();
  std::unique_ptr<DIR, DirCloser> dir(fdopendir(handle));
  if (!dir) {
    const std::error_code error = LastError();
    close(handle);
    return error;
  }
  FolderEntry entry;
  for (;;) {
    errno = 0;
    const dirent* item = readdir(dir.get());
    if (item == nullptr) return errno == 0 ? std::error_code() : LastError();
    const char* name = item->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    entry.name.assign(name);
    if (item->d_type == DT_UNKNOWN) {
      // Some file systems do not say; ask without following a link.
      struct stat info {};
      entry.isFolder =
          fstatat(dirfd(dir.get()), name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
    } else {
      entry.isFolder = item->d_type == DT_DIR;
    }
    if (!visit(entry)) return {};
  }
}

std::error_code GetEntryLength(const std::string& path, std::int64_t& length) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return LastError();
  if (S_ISDIR(info.st_mode)) return PlatformErrc::NotARegularFile;
  length = static_cast<std::int64_t>(info.st_size);
  return {};
}

std::error_code RemoveFolder(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) return LastError();
  if (!S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::not_a_directory);
  if (rmdir(folder.c_str()) != 0) return LastError();
  return {};
}

std::error_code CreateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0) return LastError();
  return {};
}

bool CanWriteFolder(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         access(path.c_str(), W_OK | X_OK) == 0;
}

std::string HomeFolder() {
  std::string home;
  if (const char* variable = std::getenv("HOME"); variable != nullptr && variable[0] == '/') {
    home = variable;
  } else if (const passwd* entry = getpwuid(getuid());
             entry != nullptr && entry->pw_dir != nullptr) {
    home = entry->pw_dir;
  }
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return home;
}

}  // namespace Platform
