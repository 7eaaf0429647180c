#pragma once

// Facts about the running program and the system it runs on.

#include <string>
#include <vector>

namespace Platform {

// Path separator of the system's paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder of the running executable, ending in one separator.
std::string ExecutableFolder();

// The folders that hold the program and its data files, each ending in one separator: the
// executable's folder and, when it exists, the installed data folder (../share/kexwell/ beside it).
std::vector<std::string> ProgramFolders();
// The same for an executable that lies in executableFolder (ending in one separator): for
// /usr/bin/ they are /usr/bin/ and /usr/share/kexwell/. None when the folder is empty.
std::vector<std::string> ProgramFoldersOf(const std::string& executableFolder);

// Where the program's data file of this name is found: in the first of the folders that holds it
// (beside the program when it runs from its build folder, else the installed data folder); when
// none does, beside the program, so that a message about the missing file names that place. The
// name itself when there are no folders.
std::string ProgramFilePath(const std::vector<std::string>& folders, const std::string& name);

// The swap files in use (the entries of type "file" in /proc/swaps), as absolute paths. Windows:
// the paging files that the system's settings name on a drive letter, and those it has made.
std::vector<std::string> SwapFiles();

// The absolute form of a path, made without resolving links: a relative path is taken from the
// current folder, and "." parts and repeated separators are folded away. ".." parts are kept,
// because folding them could name another file when a folder on the way is a link. Windows folds
// ".." too, as every Windows program sees the path, and turns "/" into "\".
std::string AbsolutePath(const std::string& path);

// The user's application-data folder, where the program keeps its own files: $XDG_CONFIG_HOME when
// it is set to an absolute path, else $HOME/.config, else .config in the home folder of the user's
// account. Without a trailing separator (the root stays "/"); empty when no home folder is known.
// Windows: the user's roaming application-data folder, else the root of the first fixed drive.
std::string ApplicationDataFolder();

// Where a path leads once the links on its way are followed (the existing part resolved, the rest
// kept as written); the path itself when that cannot be told.
std::string ResolveLinks(const std::string& path);

}  // namespace Platform
