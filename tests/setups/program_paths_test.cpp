#include "setups/program_paths.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

#include "engine/purge_speeds.h"
#include "platform/drives.h"
#include "setups/program_start.h"
#include "setups/registry.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "text/program_text.h"

constexpr Registry::RootKey kUser = Registry::RootKey::CurrentUser;

// A stored speed counts when it is positive and one a fast drive can reach.
TEST(ProgramStart, TakesTheStoredSpeedOfEachDriveAsOneMeasurement) {
  ASSERT_GT(Language2::LoadProgramText(Language2::ProgramTextPath()), 0);
  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
  Registry::SetStorePath(folder / "registry.ini");
  // {drive, stored text (none when null), speed after start-up, count after start-up}; every
  // drive has 3 MB/sec. from 2 measurements before.
  const std::tuple<const char*, const char*, float, short> cases[] = {
      {"/kx_fast", "518.055603", 518.055603f, 1}, {"/kx_slow", "0.75", 0.75f, 1}, {"/kx_empty", "", 3.0f, 2},
      {"/kx_none", nullptr, 3.0f, 2}, {"/kx_bad", "fast", 3.0f, 2}, {"/kx_zero", "0", 3.0f, 2},
      {"/kx_negative", "-3", 3.0f, 2}, {"/kx_nan", "nan", 3.0f, 2}, {"/kx_huge", "1e30", 3.0f, 2}};
  const auto key = [](const char* root) { return RegistryBasePath() + "\\" + root; };
#ifdef _WIN32
  // The values lie in the system's registry, which outlives the test.
  const auto removeKeys = [&] {
    for (const auto& c : cases) ::RegDeleteTreeA(HKEY_CURRENT_USER, key(std::get<0>(c)).c_str());
  };
  removeKeys();
#endif
  DrivePurgeSpeed speeds;
  std::vector<Platform::DriveInfo> drives;
  for (const auto& [root, stored, speed, count] : cases) {
    if (stored != nullptr) Registry::RegWriteString(kUser, key(root), "Speed", stored);
    speeds.Set(root, 3.0f, 2);
    drives.emplace_back().root = root;
  }
  LoadStoredPurgeSpeeds(speeds, drives);
  for (const auto& [root, stored, speed, count] : cases) {
    EXPECT_FLOAT_EQ(speeds.Speed(root), speed) << root;
    EXPECT_EQ(speeds.Count(root), count) << root;
  }
  Registry::SetStorePath(saved);
#ifdef _WIN32
  removeKeys();
#endif
}

TEST(ProgramStart, ABrokenProgramTextFileIsToldAndStopsTheStart) {
  const std::string path = Language2::ProgramTextPath();
  const std::string shipped = TestSupport::ReadFile(path);
  // The shipped texts come back even when the test fails.
  const std::shared_ptr<void> restore(nullptr, [&](void*) {
    TestSupport::WriteFile(path, shipped);
    Language2::LoadProgramText(path);
  });
  TestSupport::WriteFile(path, "1\tKexwell\n2\n");
  TestSupport::ScriptedDialogs told;
  EXPECT_FALSE(LoadProgramTextsOrTell(told));
  ASSERT_EQ(told.shown.size(), 1u);
  EXPECT_EQ(told.shown[0].text, "Missing string at line 2\r\n" + path);
  EXPECT_EQ(told.shown[0].icon, MessageIcon::Critical);
}
