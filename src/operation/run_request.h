#pragma once

// What one purge, listing or count is told at its start, and keeps to its end.

#include <cstdint>
#include <string>

// What a walk does with the matching files: purges them, lists them, or only counts them; or,
// with no walk at all, what a purge of the free space of the target folder's drive does.
enum class RunKind { Purge, List, Count, FreeSpace };

struct RunRequest {
  RunKind kind = RunKind::Count;
  std::string targetFolder;  // with its trailing separator
  std::string fileSpec;
  std::int16_t stopAt = 1001;  // a count stops when this many files were found
  bool displayFolderNames = true;
  bool displayFileNames = true;
  // fileSpec is the exact name of one file, "*" and "?" included.
  bool fileSpecIsName = false;
};
