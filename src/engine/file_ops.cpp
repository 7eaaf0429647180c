#include "engine/file_ops.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/paths.h"

namespace FileOps {

using Platform::FolderPart;
using Platform::NamePart;

namespace {

constexpr std::array<const char*, 12> kSensitiveExtensions = {
    "bat", "bin", "com", "dll", "drv", "exe", "ini", "ovl", "pif", "sys", "ocx", "kbd"};

// Only ASCII letters change; the bytes of other characters are kept as they are.
std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

// Whether two paths name the same file: exactly on POSIX, whose names are case-sensitive, and
// in any letter case on Windows, whose names are not.
bool SameFile(const std::string& a, const std::string& b) {
#ifdef _WIN32
  return LowerCase(a) == LowerCase(b);
#else
  return a == b;
#endif
}

}  // namespace

ProtectedFiles::ProtectedFiles(std::vector<std::string> programFolders,
                               std::vector<std::string> swapFiles)
    : swapFiles_(std::move(swapFiles)) {
  Platform::FileIdentity identity;
  for (const std::string& swapFile : swapFiles_)
    if (!Platform::IdentityOfPath(swapFile, identity)) swapFileIdentities_.push_back(identity);
  for (std::string& folder : programFolders) {
    if (folder.empty()) {
      continue;
    }
    if (!Platform::IdentityOfPath(folder, identity)) programFolderIdentities_.push_back(identity);
    if (folder.back() != Platform::kPathSeparator) {
      folder += Platform::kPathSeparator;
    }
    programFoldersLower_.push_back(LowerCase(std::move(folder)));
  }
  Reset(kNotAsked);
}

void ProtectedFiles::Reset(short permission) {
  extensions_.clear();
  for (const char* extension : kSensitiveExtensions) {
    extensions_.push_back({extension, permission});
  }
}

void ProtectedFiles::SetPermission(const std::string& extension, short value) {
  for (SensitiveExtension& entry : extensions_) {
    if (entry.extension == extension) {
      entry.permission = value;
      return;
    }
  }
}

short ProtectedFiles::CheckFile(const std::string& path) const {
  const std::string lowerPath = LowerCase(path);

  const std::string folder = FolderPart(lowerPath);
  if (std::find(programFoldersLower_.begin(), programFoldersLower_.end(), folder) !=
      programFoldersLower_.end()) {
    return kProgramFolder;
  }

  // A swap file in use is protected whatever its name: /swapfile has no extension at all.
  if (std::any_of(swapFiles_.begin(), swapFiles_.end(),
                  [&path](const std::string& swapFile) { return SameFile(swapFile, path); })) {
    return kPagingFile;
  }

  const std::string extension = ExtensionOf(lowerPath);
  if (extension.empty()) {
    return kMayPurge;
  }

  if (NamePart(lowerPath) == "pagefile.sys" || extension == "swp") {
    return kPagingFile;
  }

  for (const SensitiveExtension& entry : extensions_) {
    if (entry.extension == extension) {
      if (entry.permission == kAllowed) {
        return kMayPurge;
      }
      // Only a Yes lets a sensitive file through; anything but No means "ask".
      return entry.permission == kRefused ? kSensitiveRefused : kSensitiveExtension;
    }
  }
  return kMayPurge;
}

short ProtectedFiles::CheckFile(const std::string& path, const Platform::FileIdentity& folder,
                                const Platform::FileIdentity& file) const {
  const auto holds = [](const std::vector<Platform::FileIdentity>& identities,
                        const Platform::FileIdentity& identity) {
    return identity.known &&
           std::find(identities.begin(), identities.end(), identity) != identities.end();
  };
  if (holds(programFolderIdentities_, folder)) return kProgramFolder;
  if (holds(swapFileIdentities_, file)) return kPagingFile;
  return CheckFile(path);
}

std::string ProtectedFiles::ExtensionOf(const std::string& path) {
  const std::string name = NamePart(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : LowerCase(name.substr(dot + 1));
}

}  // namespace FileOps
