#include "setups/program_start.h"

#include "engine/purge_speeds.h"
#include "operation/free_space_texts.h"
#include "platform/drives.h"
#include "setups/fill_folders.h"
#include "setups/program_paths.h"
#include "text/program_text.h"
#include "text/user_dialogs.h"

bool LoadProgramTextsOrTell(UserDialogs& dialogs) {
  const std::string path = Language2::ProgramTextPath();
  const int loaded = Language2::LoadProgramText(path);
  if (loaded <= 0) {
    dialogs.Tell("Kexwell", Language2::ProgramTextErrorMessage(loaded, path),
                 MessageIcon::Critical);
    return false;
  }
  UseProgramRegistryStore();
  return true;
}

void RemoveFillFoldersLeftBehind(UserDialogs& dialogs) {
  for (const LeftoverFillFolder& leftover : RemoveLeftoverFillFolders()) {
    const std::string text = LeftoverFolderText(leftover.folder, leftover.what, leftover.error);
    if (!text.empty())
      dialogs.Tell(kPurgeFreeSpaceCaption, text,
                   leftover.error ? MessageIcon::Exclamation : MessageIcon::Information);
  }
}

void LoadStoredPurgeSpeeds(DrivePurgeSpeed& speeds,
                           const std::vector<Platform::DriveInfo>& drives) {
  for (const Platform::DriveInfo& drive : drives) {
    if (const std::optional<float> speed = StoredPurgeSpeed(drive))
      speeds.Set(drive.root, *speed, 1);
  }
}
