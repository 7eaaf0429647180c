#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/setup_file.h"
#include "targets/matching.h"

std::string NextRunSetupPath(const std::string& uiText2, const std::string& uiText310) {
  const std::string appData = Platform::ApplicationDataFolder();
  // Without a home there is no place of the user's own: nothing is made elsewhere, and the setup
  // then neither loads nor saves.
  if (appData.empty()) return {};
  const std::string folder = JoinPath(appData, uiText310);
  // A folder that cannot be made shows itself later: the setup then neither loads nor saves.
  Platform::CreateFolders(folder);
  return JoinPath(folder, LowerCaseForMatching(uiText2) + ".usr");
}

std::string WithOperationFileExtension(const std::string& typed) {
  const std::string extension = kOperationFileExtension;
  const std::string name = Platform::NamePart(typed);
  if (name.size() >= extension.size() &&
      LowerCaseForMatching(name.substr(name.size() - extension.size())) == extension) {
    return typed;
  }
  // A point the name ends with is the extension's own.
  if (!name.empty() && name.back() == '.') return typed + extension.substr(1);
  return typed + extension;
}

bool LoadNextRunSetup(const std::string& path, ProgramSettings& settings) {
  return LoadSetupFromFile(path, settings);
}
