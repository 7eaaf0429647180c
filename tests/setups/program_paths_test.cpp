#include "setups/program_paths.h"

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "setups/registry.h"
#include "support/temp_folder.h"

TEST(StoredPurgeSpeed, TakesAnyPositiveSpeedAFastDriveCanReachAndNothingElse) {
  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath(folder / "registry.ini");
  Platform::DriveInfo drive;
  drive.root = "/data";
  const auto store = [&](const std::string& text) {
    Registry::RegWriteString(Registry::RootKey::CurrentUser, RegistryBasePath() + "\\/data",
                             "Speed", text);
    return StoredPurgeSpeed(drive);
  };
  EXPECT_FALSE(StoredPurgeSpeed(drive)) << "nothing stored yet";
  EXPECT_FLOAT_EQ(store("518.055603").value_or(0), 518.055603f);
  EXPECT_FLOAT_EQ(store("0.75").value_or(0), 0.75f);
  for (const char* bad : {"0", "-3", "fast", "", "nan", "1e30"}) EXPECT_FALSE(store(bad)) << bad;
  Registry::SetStorePath(saved);
}
