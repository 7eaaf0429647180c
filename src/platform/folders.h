#pragma once

// Folders: their entries, without following links.

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

namespace Platform {

struct FolderEntry {
  std::string name;
  // A real folder. A link to a folder is not one: it is an entry like a file and is never entered.
  bool isFolder = false;
};

// Calls visit for every entry of the folder but "." and "..", in the order the system gives them,
// until visit returns false. An error when the folder cannot be opened or read; entries already
// visited stay visited.
std::error_code ListFolder(const std::string& folder,
                           const std::function<bool(const FolderEntry&)>& visit);

// The length of any entry that is not a folder (a link's own length for a link).
std::error_code GetEntryLength(const std::string& path, std::int64_t& length);

// Removes an empty folder; a link to a folder is refused, never its target.
std::error_code RemoveFolder(const std::string& path);

// Makes one new folder (mode 0700); an error when it exists already, as anything.
std::error_code CreateFolder(const std::string& path);

// True when this user may make and remove entries in the folder.
bool CanWriteFolder(const std::string& path);

// The user's home folder, without a trailing separator; empty when it cannot be found.
std::string HomeFolder();

}  // namespace Platform
