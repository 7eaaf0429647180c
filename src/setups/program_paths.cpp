#include "setups/program_paths.h"

#include "engine/speed_test.h"
#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/registry.h"
#include "text/program_text.h"

std::string RegistryBasePath() {
  return Language2::GetText(273) + "\\" + Language2::GetText(310) + "\\" + Language2::GetText(2);
}

std::string RegistryStorePath() {
  const std::string folder = Platform::ApplicationDataFolder();
  if (folder.empty()) return {};
  return JoinPath(JoinPath(folder, Language2::GetText(310)), "registry.ini");
}

void UseProgramRegistryStore() {
  const std::string store = RegistryStorePath();
  if (!store.empty()) Registry::SetStorePath(store);
}

std::optional<float> StoredPurgeSpeed(const Platform::DriveInfo& drive,
                                      const std::string& basePath) {
  std::string text;
  const std::string status = Registry::RegReadString(Registry::RootKey::CurrentUser,
                                                     basePath + "\\" + drive.root, "Speed", text);
  if (status.empty() || status[0] != '0') return std::nullopt;
  return StoredSpeedFromText(text);
}

void StorePurgeSpeed(const Platform::DriveInfo& drive, float speed, const std::string& basePath) {
  (void)Registry::RegWriteString(Registry::RootKey::CurrentUser, basePath + "\\" + drive.root,
                                 "Speed", SpeedAsText(speed));
}
