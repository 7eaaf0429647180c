#pragma once

// The dummy folders of purges of free space, noted in a small file of the program's own while
// they exist, so that one that a crash left behind (or a program ended before its cleanup) is
// found and removed at the next start.

#include <string>
#include <system_error>
#include <vector>

#include "engine/free_space_purge.h"

// <application data>/<UI text 310>/fill-folders.txt, beside the store of the registry values;
// empty when there is no application-data folder or the program texts are not loaded.
std::string FillFolderListPath();

// Adds a folder to the list (made), or takes it off (removed). The list only helps to find what
// was left behind, so a list that cannot be written is no failure of the purge.
void NoteFillFolder(const std::string& folder, bool made,
                    const std::string& listPath = FillFolderListPath());

struct LeftoverFillFolder {
  std::string folder;
  FreeSpacePurge::Leftover what = FreeSpacePurge::Leftover::Missing;
  std::error_code error;
};

// Removes the dummy folders of the list that no purge holds any more, each as
// FreeSpacePurge::RemoveLeftoverFolder does; the list then keeps those in use and those that
// could not be removed. What became of each listed folder, in the list's order.
std::vector<LeftoverFillFolder> RemoveLeftoverFillFolders(
    const std::string& listPath = FillFolderListPath());
