#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/posix/proc_text.h"
#include "platform/program.h"

namespace Platform {
namespace {

std::string CurrentFolder() {
  std::string buffer(256, '\0');
  while (true) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.c_str();
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string LinkTarget(const char* link) {
  std::string buffer(256, '\0');
  while (true) {
    const ssize_t length = ::readlink(link, buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(length));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The folder above a folder that ends in a separator: "/usr/bin/" gives "/usr/".
std::string ParentFolder(const std::string& folder) {
  if (folder.size() <= 1) return folder;
  const std::size_t slash = folder.rfind('/', folder.size() - 2);
  return slash == std::string::npos ? folder : folder.substr(0, slash + 1);
}

bool IsFolder(const std::string& path) {
  struct stat entry {};
  return ::stat(path.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode);
}

bool IsAbsolute(const char* path) {
  return path != nullptr && path[0] == '/';
}

std::string WithoutTrailingSeparators(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

std::string ExecutableFolder() {
  // The kernel's own record of the running file, with every link already resolved.
  const std::string executable = LinkTarget("/proc/self/exe");
  const std::size_t slash = executable.rfind('/');
  if (executable.empty() || executable.front() != '/' || slash == std::string::npos) return {};
  return executable.substr(0, slash + 1);
}

std::vector<std::string> ProgramFolders() {
  return ProgramFoldersOf(ExecutableFolder());
}

std::vector<std::string> ProgramFoldersOf(const std::string& executableFolder) {
  std::vector<std::string> folders;
  if (executableFolder.empty()) return folders;
  folders.push_back(executableFolder);
  const std::string dataFolder = ParentFolder(executableFolder) + "share/kexwell/";
  if (IsFolder(dataFolder)) folders.push_back(dataFolder);
  return folders;
}

std::string ProgramFilePath(const std::vector<std::string>& folders, const std::string& name) {
  for (const std::string& folder : folders) {
    if (FileExists(folder + name)) return folder + name;
  }
  return folders.empty() ? name : folders.front() + name;
}

std::vector<std::string> SwapFiles() {
  std::ifstream in("/proc/swaps", std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ProcText::ParseSwaps(text.str());
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return {};
  std::string full = path;
  if (full.front() != '/') {
    const std::string current = CurrentFolder();
    if (current.empty()) return path;
    full = current + "/" + path;
  }

  std::string result;
  bool endsInFolder = false;
  std::size_t start = 0;
  while (start <= full.size()) {
    std::size_t end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    const std::string_view name(full.data() + start, end - start);
    start = end + 1;
    endsInFolder = name.empty() || name == ".";
    if (endsInFolder) continue;
    result += '/';
    result += name;
  }
  if (result.empty() || endsInFolder) result += '/';
  return result;
}

std::string ApplicationDataFolder() {
  const char* configuration = std::getenv("XDG_CONFIG_HOME");
  if (IsAbsolute(configuration)) return WithoutTrailingSeparators(configuration);
  const std::string home = HomeFolder();
  if (home.empty() || home.front() != '/') return {};
  return (home == "/" ? "" : home) + "/.config";
}

std::string ResolveLinks(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace Platform
