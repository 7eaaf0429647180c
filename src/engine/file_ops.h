#pragma once

// The protection rules checked before a file is purged: the program's own files, the paging and
// swap files, and files whose extension marks them as programs, drivers or system settings.

#include <string>
#include <utility>
#include <vector>

#include "platform/handles.h"
#include "platform/program.h"

namespace FileOps {

// What CheckFile says about a file.
enum : short {
  kMayPurge = 0,            // purge it
  kProgramFolder = 1,       // it lies in one of this program's folders: never purged
  kPagingFile = 2,          // it is the paging file or a swap file: never purged
  kSensitiveExtension = 7,  // its extension is sensitive and not yet allowed in this run
  kSensitiveRefused = 8,    // its extension is sensitive and was refused earlier in this run
};

// What the user said about the files with one sensitive extension in the current run.
enum : short {
  kNotAsked = 0,
  kAllowed = 1,
  kRefused = -1,
};

class ProtectedFiles {
 public:
  // Protects this program's folders and the swap files this system uses now.
  ProtectedFiles() : ProtectedFiles(Platform::ProgramFolders(), Platform::SwapFiles()) {}
  // Protects the given folders (a missing final "/" is added) and swap files (absolute paths),
  // by their paths and by the identities of the folders and files they name now. The permissions
  // start as not asked.
  ProtectedFiles(std::vector<std::string> programFolders, std::vector<std::string> swapFiles);

  // Fills the table of sensitive extensions and gives each of them the permission `permission`.
  // A purge run calls it with kNotAsked at its start, so an answer lasts for one run only.
  void Reset(short permission);

  // Gives the sensitive extension (lower case, without the dot) the permission `value`; an
  // extension that is not in the table is ignored.
  void SetPermission(const std::string& extension, short value);

  // The check result for the file with the full path `path`.
  short CheckFile(const std::string& path) const;
  // The same for a file whose folder and whose own identity are known: a program folder or a swap
  // file is recognised whatever spelling of a path ("..", a linked folder) reached it.
  short CheckFile(const std::string& path, const Platform::FileIdentity& folder,
                  const Platform::FileIdentity& file) const;

  // The lower-cased text after the last "." of the file name (the part after the last "/");
  // "" when the name has no dot.
  static std::string ExtensionOf(const std::string& path);

 private:
  struct SensitiveExtension {
    std::string extension;
    short permission = kNotAsked;
  };

  std::vector<std::string> programFoldersLower_;
  std::vector<std::string> swapFiles_;
  std::vector<Platform::FileIdentity> programFolderIdentities_;
  std::vector<Platform::FileIdentity> swapFileIdentities_;
  std::vector<SensitiveExtension> extensions_;
};

}  // namespace FileOps
