#pragma once

// The first steps of the desktop program: its texts, without which it cannot start, and the
// purge speeds that earlier speed tests stored.

#include <vector>

class DrivePurgeSpeed;
class UserDialogs;
namespace Platform {
struct DriveInfo;
}

// Loads the program-text file beside the program; on failure tells the user the loader's
// message and answers false.
bool LoadProgramTextsOrTell(UserDialogs& dialogs);

// Removes the dummy folders that purges of free space cut short left behind (see
// RemoveLeftoverFillFolders), and tells the user of each that was removed or could not be.
void RemoveFillFoldersLeftBehind(UserDialogs& dialogs);

// Takes the speed stored for each of the drives by an earlier speed test as the drive's purge
// speed (one measurement), so that estimates use it without a new test. A drive without a
// usable stored speed keeps what it has. Reads the store that LoadProgramTextsOrTell chose.
void LoadStoredPurgeSpeeds(DrivePurgeSpeed& speeds, const std::vector<Platform::DriveInfo>& drives);
