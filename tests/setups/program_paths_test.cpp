#include "setups/program_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

#include "engine/purge_speeds.h"
#include "platform/drives.h"
#include "setups/program_start.h"
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

TEST(ProgramStart, TakesTheStoredSpeedOfEachDriveAsOneMeasurement) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath(folder / "registry.ini");
  // {drive, stored text (none when empty), speed after start-up, count after start-up}; every
  // drive has 3 MB/sec. from 2 measurements before.
  struct Case {
    const char* root;
    const char* stored;
    float speed;
    short count;
  };
  const std::vector<Case> cases = {
      {"/kx_fast", "518.055603", 518.055603f, 1},
      {"/kx_slow", "0.75", 0.75f, 1},
      {"/kx_none", "", 3.0f, 2},
      {"/kx_bad", "fast", 3.0f, 2},
      {"/kx_zero", "0", 3.0f, 2},
  };
  const auto key = [](const Case& c) { return RegistryBasePath() + "\\" + c.root; };
#ifdef _WIN32
  // The values lie in the system's registry, which outlives the test.
  const auto removeKeys = [&] {
    for (const Case& c : cases) ::RegDeleteTreeA(HKEY_CURRENT_USER, key(c).c_str());
  };
  removeKeys();
#endif
  DrivePurgeSpeed speeds;
  std::vector<Platform::DriveInfo> drives;
  for (const Case& c : cases) {
    if (c.stored[0] != '\0')
      Registry::RegWriteString(Registry::RootKey::CurrentUser, key(c), "Speed", c.stored);
    speeds.Set(c.root, 3.0f, 2);
    drives.emplace_back().root = c.root;
  }

  LoadStoredPurgeSpeeds(speeds, drives);
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(speeds.Speed(c.root), c.speed) << c.root;
    EXPECT_EQ(speeds.Count(c.root), c.count) << c.root;
  }
  Registry::SetStorePath(saved);
#ifdef _WIN32
  removeKeys();
#endif
}
