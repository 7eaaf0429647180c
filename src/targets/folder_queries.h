#pragma once

// Counting the files of a folder, or of a whole tree, that a file specification names. Links are
// never followed: a link counts as a file of the folder that holds it, and a link to a folder is
// never entered.

#include <cstdint>
#include <string>

#include "platform/paths.h"

// Files directly in the folder whose names match the file specification (not case-sensitive; the
// exact name of one file when filespecIsName). When totalSize is exactly -1 on entry, it receives
// the sum of their sizes; otherwise it is set to 0, except for the pattern "*.*" without sizes,
// which is answered with the folder's file count and leaves totalSize as it was. stopAtFirst stops
// at the first match. -1 when the folder cannot be read.
std::int32_t CountMatchingFiles(const std::string& folder, const std::string& filespec,
                                bool stopAtFirst, double& totalSize, bool filespecIsName = false);

// The number of direct subfolders, or -1 when the folder cannot be read.
std::int32_t CountSubfolders(const std::string& folder);

// Counts the matching files of the folder and all its subfolders (never a link to a folder nor a
// folder of another mounted file system) into count (and their sizes into
// totalSize when wantSizes). With reset, count, totalSize and stopFlag start from 0. With a limit
// above 0, the walk stops as soon as count reaches it and limit becomes -2. A stopFlag of 1 or
// more, set by someone else, ends the walk after the current subfolder. A subfolder that cannot be
// read is passed over; false when the folder itself cannot be read.
bool CountMatchingFilesInTree(bool reset, const std::string& folder, const std::string& filespec,
                              std::int32_t& count, std::int16_t& limit, bool wantSizes,
                              double& totalSize, std::int32_t& stopFlag);

// True when at least one file anywhere in the tree matches.
bool AnyMatchingFileInTree(const std::string& folder, const std::string& filespec);
