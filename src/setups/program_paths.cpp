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

namespace {

// The system's reason in a failed registry status: the message after its two blanks, without
// the full stop that ends it (the status itself when the system has no message).
std::string Reason(const std::string& status) {
  const std::size_t blanks = status.find("  ");
  std::string reason = blanks == std::string::npos ? std::string() : status.substr(blanks + 2);
  if (reason.empty()) reason = status.substr(0, blanks);
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  return reason;
}

}  // namespace

std::string StorePurgeSpeed(const Platform::DriveInfo& drive, float speed,
                            const std::string& basePath) {
  const std::string key = basePath + "\\" + drive.root;
  const std::string status =
      Registry::RegWriteString(Registry::RootKey::CurrentUser, key, "Speed", SpeedAsText(speed));
  if (!status.empty() && status[0] == '0') return {};
  return "The purge speed of Drive " + drive.root + " could not be stored in " +
         Registry::StoreLocation(Registry::RootKey::CurrentUser, key) + " (" + Reason(status) +
         ").";
}
