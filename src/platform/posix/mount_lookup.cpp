#include "platform/posix/mount_lookup.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/program.h"

namespace Platform::MountLookup {

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

std::string ResolvedPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                       &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string LastName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LocatePath(const std::string& path) {
  std::string absolute = AbsolutePath(path);
  while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
  if (absolute.empty() || absolute == "/") return absolute;

  const std::size_t slash = absolute.rfind('/');
  const std::string folder = slash == 0 ? "/" : absolute.substr(0, slash);
  const std::string name = absolute.substr(slash + 1);
  if (name == "..") {
    // ".." is no link: it names the folder above, wherever the links lead.
    const std::string resolved = ResolvedPath(absolute);
    return resolved.empty() ? absolute : resolved;
  }
  const std::string resolvedFolder = ResolvedPath(folder);
  if (resolvedFolder.empty()) return absolute;
  return resolvedFolder == "/" ? "/" + name : resolvedFolder + "/" + name;
}

std::optional<std::vector<MountTable::MountEntry>> ReadMountTable() {
  const auto text = ReadTextFile("/proc/self/mountinfo");
  if (!text) return std::nullopt;
  return MountTable::ParseMountInfo(*text);
}

std::optional<MountTable::MountEntry> MountHolding(const std::string& path) {
  auto mounts = ReadMountTable();
  if (!mounts) return std::nullopt;
  const auto holder = MountTable::FindHoldingMount(*mounts, LocatePath(path));
  if (!holder) return std::nullopt;
  return std::move((*mounts)[*holder]);
}

bool SourceIsBlockDevice(const std::string& source) {
  if (!source.starts_with("/dev/")) return false;
  struct stat node {};
  return ::stat(source.c_str(), &node) == 0 && S_ISBLK(node.st_mode);
}

std::string KernelName(const std::string& source) {
  return LastName(ResolvedPath(source));
}

}  // namespace Platform::MountLookup
