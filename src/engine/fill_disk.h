#pragma once

// The dummy files of the purge speed test: made in a folder of their own on the drive under
// test, purged there, and always removed with their folder afterwards.

#include <cstdint>
#include <string>

#include "engine/file_purge.h"

namespace FillDisk {

// The name that every dummy folder and file begins with.
inline constexpr const char* kDummyStub = "_kx_dummy";

// Where the dummy folder may go on a drive: its root when this user may write there, otherwise
// the home folder when it lies on that drive; empty when neither.
std::string DummyParentFolder(const std::string& driveRoot);

// The dummy folder: parent + the stub + the first number from 1 for which nothing of that name
// exists; empty when none could be made.
std::string MakeDummyFolder(const std::string& parent);

// Makes count dummy files of 51,200 to 131,072 bytes in the folder: each a new file named with
// the stub and a number, written full of zeros. totalBytes gets the sum of their lengths. Returns
// how many were made; a failure stops the making.
int MakeDummyFiles(const std::string& folder, int count, RandomSource& random, double& totalBytes);

// Purges every dummy file of the folder with the type and passes, deleting each; false at the
// first file that could not be purged.
bool PurgeDummyFiles(const std::string& folder, short purgeType, short passes,
                     FilePurge::PurgeEnvironment& environment);

// Deletes every dummy file of the folder (errors ignored) and then the folder.
void RemoveDummyFiles(const std::string& folder);

}  // namespace FillDisk
