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

// A stored speed counts when it is positive and one a fast drive can reach.
TEST(ProgramStart, TakesTheStoredSpeedOfEachDriveAsOneMeasurement) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath(folder / "registry.ini");
  // {drive, stored text (none when null), speed after start-up, count after start-up}; every
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
      {"/kx_none", nullptr, 3.0f, 2},   {"/kx_empty", "", 3.0f, 2},
      {"/kx_bad", "fast", 3.0f, 2},     {"/kx_zero", "0", 3.0f, 2},
      {"/kx_negative", "-3", 3.0f, 2},  {"/kx_nan", "nan", 3.0f, 2},
      {"/kx_huge", "1e30", 3.0f, 2},
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
    if (c.stored != nullptr)
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
