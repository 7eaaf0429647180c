#include "setups/program_paths.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/drives.h"
#include "setups/registry.h"
#include "support/temp_folder.h"
#include "text/program_text.h"

TEST(StoredPurgeSpeed, TakesAnyPositiveSpeedAFastDriveCanReachAndNothingElse) {
  // The key is named by the program texts, as in the program.
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath(folder / "registry.ini");
  Platform::DriveInfo drive;
  drive.root = "/data";
  const std::string key = RegistryBasePath() + "\\/data";
#ifdef _WIN32
  // The values lie in the system's registry, which outlives the test: the key of this made-up
  // drive starts and ends absent.
  const auto removeKey = [&] { ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()); };
  removeKey();
#endif
  const auto store = [&](const std::string& text) {
    Registry::RegWriteString(Registry::RootKey::CurrentUser, key, "Speed", text);
    return StoredPurgeSpeed(drive);
  };
  EXPECT_FALSE(StoredPurgeSpeed(drive)) << "nothing stored yet";
  EXPECT_FLOAT_EQ(store("518.055603").value_or(0), 518.055603f);
  EXPECT_FLOAT_EQ(store("0.75").value_or(0), 0.75f);
  for (const char* bad : {"0", "-3", "fast", "", "nan", "1e30"}) EXPECT_FALSE(store(bad)) << bad;
  Registry::SetStorePath(saved);
#ifdef _WIN32
  removeKey();
#endif
}
