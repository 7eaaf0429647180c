#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/handles.h"

namespace Platform {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

}  // namespace

std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(const FolderEntry&)>& visit) {
  FolderHandle handle;
  if (const std::error_code error = handle.Open(folder)) return error;
  return handle.List(visit);
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
