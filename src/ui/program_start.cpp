#include "ui/program_start.h"

#include "setups/program_paths.h"
#include "ui/program_text.h"
#include "ui/user_dialogs.h"

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
