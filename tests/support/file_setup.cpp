#include "support/file_setup.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace TestSupport {

namespace {

constexpr auto kWritePermissions = std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write;

}  // namespace

void MakeReadOnly(const std::string& path) {
  std::error_code error;
  std::filesystem::permissions(FileSystemPath(path), kWritePermissions,
                               std::filesystem::perm_options::remove, error);
  if (error) throw std::runtime_error("cannot make " + path + " read-only");
}

void SetModificationTime(const std::string& path, std::int64_t seconds) {
  Platform::FileTimes times;
  if (Platform::GetFileTimes(path, times))
    throw std::runtime_error("cannot read the times of " + path);
  times.access = {seconds, 0};
  times.modification = {seconds, 0};
  if (Platform::SetFileTimes(path, times))
    throw std::runtime_error("cannot set the times of " + path);
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  std::error_code error;
  std::filesystem::create_symlink(FileSystemPath(target), FileSystemPath(link), error);
  return !error;
}

void MakeFolder(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::create_directory(FileSystemPath(path), error))
    throw std::runtime_error("cannot make the folder " + path);
}

}  // namespace TestSupport
