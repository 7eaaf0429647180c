#include "engine/speed_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "engine/cluster_size.h"
#include "engine/fill_disk.h"
#include "engine/purge_speeds.h"
#include "engine/purge_type_choice.h"
#include "support/scoped_locale_format.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_random.h"
#include "support/temp_folder.h"

using namespace TestSupport;

namespace {

// A speed test keeping the stored speed in memory. As its host the
// test records the speed label's captions (their weight is pinned by the window's test) and never waits.
class SpeedTestTest : public ::testing::Test, public SpeedTestHost {
 protected:
  void ShowSpeedLabel(const std::string& caption, bool) override { labels.push_back(caption); }
  void Wait(int) override {}

  SpeedTestTest() {
    test.loadStoredSpeed = [this](const Platform::DriveInfo&) { return stored; };
    test.dummyParent = [this](const std::string&) { return dummies.Path(); };
    EXPECT_FALSE(Platform::DriveOfPath(dummies.Path(), drive));
  }

  std::optional<float> stored;
  ScopedLocaleFormat locale{StrProc::LocaleFormat::English()};
  TempFolder dummies;
  PurgeTypeChoice purgeType;
  DriveClusterSize clusterSizes;
  DrivePurgeSpeed speeds;
  ScriptedRandom random;
  ScriptedDialogs dialogs;
  std::vector<std::string> labels;
  SpeedTest test{purgeType, clusterSizes, speeds, random, dialogs, *this};
  Platform::DriveInfo drive;
};

}  // namespace

TEST(SpeedArithmetic, DummyFilesFollowTheDriveSizeTimesCrossMidnightAndSpeedsAreAveraged) {
  const std::tuple<bool, double, int> dummyFiles[] = {
      {false, 2147483648.0, 5}, {false, 5368709119.0, 5}, {false, 5368709120.0, 10},
      {false, 60.0 * 1073741824.0, 20}, {true, 1.44e6, 1}};
  for (const auto& [floppy, size, files] : dummyFiles) EXPECT_EQ(NumberOfDummyFiles(floppy, size), files);
  for (const auto& [start, end, seconds] :
       {std::tuple{86399.5, 0.5, 1.0}, {10.0, 10.0, 0.001}, {10.0, 12.5, 2.5}})
    EXPECT_DOUBLE_EQ(ElapsedSeconds(start, end), seconds);
  DrivePurgeSpeed speeds;
  for (const auto& [measured, average] : {std::pair{10.f, 10.f}, {20.f, 15.f}, {30.f, 20.f}})
    EXPECT_FLOAT_EQ(speeds.RecordSpeed("/", measured), average);
  EXPECT_FLOAT_EQ(speeds.Speed("/data"), 0);
}

TEST(SpeedArithmetic, TheResultNamesTheTimesForTheCurrentTypeOfPurge) {
  ScopedLocaleFormat english{StrProc::LocaleFormat::English()};
  // Type 2 with two passes is six overwrites; at 6 MB a second a MB takes a second.
  EXPECT_EQ(SpeedTestResultText(6.0f, false, 2, 6),
            "The purge speed is approximately 6.00 MB/sec. for a single overwrite.\r\n\r\nIt thus requires, "
            "using the type of purge currently specified (2 passes = 6 overwrites), approximately 10 seconds "
            "to purge 10 MB, 1 minute and 40 seconds to purge 100 MB, 17 minutes to purge 1 GB, 2 hours and "
            "51 minutes to purge 10 GB, and 1 day and 4 hours to purge 100 GB.\r\n\r\nTo decrease the time "
            "required change the type of purge so as to decrease the number of overwrites.");
  EXPECT_EQ(SpeedTestResultText(0.5f, true, 1, 1),
            "The purge speed is approximately 0.500 MB/sec. for a single overwrite.\r\n\r\nIt thus "
            "requires, using the type of purge currently specified (1 pass = 1 overwrite), "
            "approximately 3 seconds to purge a full floppy disk.");
}

TEST_F(SpeedTestTest, AMeasurementThatCannotBeDoneIsToldAndLeavesNoDummies) {
  // Dummies that cannot be made or purged leave nothing and forget the speed.
  speeds.Set(drive.root, 7, 2);
  test.dummyParent = [](const std::string&) { return std::string(); };
  EXPECT_EQ(test.OneMeasurement(drive, false), -3);
  EXPECT_EQ(speeds.Count(drive.root), 0);
  EXPECT_EQ(dialogs.shown.back().text,
            "An error occurred when creating the dummy files in the disk in Drive " + drive.root +
                "\r\nfor the speed test.  Please repeat the test.");
  // A cluster size the purge refuses makes every dummy file fail to purge.
  speeds.Set(drive.root, 7, 2);
  test.dummyParent = [this](const std::string&) { return dummies.Path(); };
  clusterSizes.Set(drive.root, 1000);
  EXPECT_EQ(test.OneMeasurement(drive, false), -4);
  EXPECT_EQ(dialogs.shown.back().text,
            "An error occurred when purging the dummy files.\r\nPlease repeat the test.");
  EXPECT_FLOAT_EQ(speeds.Speed(drive.root), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dummies.Path())) << "no dummies are left";
  // Too little free space is told and keeps the speed.
  speeds.Set(drive.root, 7, 2);
  test.freeSpace = [](const std::string&, double& available, double&) {
    available = 102400;
    return short{0};
  };
  const Platform::DriveInfo floppy{drive.root, {}, {}, {}, {}, true};
  for (const auto& measured : {drive, floppy}) EXPECT_EQ(test.OneMeasurement(measured, false), -2);
  ASSERT_EQ(dialogs.shown.size(), 4u);
  EXPECT_EQ(dialogs.shown[2].text, "Drive " + drive.root + " has only 102,400 bytes free.\r\n"
                                       "At least 1 MB of free space is required for this test.");
  EXPECT_TRUE(dialogs.shown[3].text.ends_with("At least 128 KB of free space is required for this test."));
  EXPECT_FLOAT_EQ(speeds.Speed(drive.root), 7);
}

// Of several drives the chosen one is tested; a removable one is tested while it holds its disk.
TEST_F(SpeedTestTest, OfSeveralDrivesTheChosenOneIsTestedAndAStoredSpeedAcceptedMeasuresNothing) {
  const Platform::DriveInfo removable{drive.root, {}, {}, {}, Platform::DriveType::Removable, false};
  const Platform::DriveInfo other{"other", {}, {}, {}, {}, false};
  stored = 12.5f;
  // {drive chosen (none: the chooser is cancelled), the last message or label shown}.
  const std::vector<std::pair<std::optional<std::string>, std::string>> rows = {
      {std::nullopt, "This writes test files to a selected drive"},
      {"elsewhere", "This writes test files to a selected drive"},
      {removable.root, "12.50 MB/sec. (1 overwrite) for Drive " + removable.root + "."}};
  std::vector<std::string> preselected;
  for (const auto& [choice, last] : rows) {
    SCOPED_TRACE(choice.value_or("cancelled"));
    dialogs.Answer(MessageAnswer::Yes);  // write test files? (and: accept the stored speed?)
    if (choice == removable.root) dialogs.Answer(MessageAnswer::Yes);
    test.Run({removable, other},
             [&](const std::vector<Platform::DriveInfo>&, const std::string& offered) {
               preselected.push_back(offered);
               return choice;
             },
             {});
    const std::string shown = labels.empty() ? dialogs.shown.back().text : labels.back();
    EXPECT_TRUE(shown.starts_with(last)) << shown;
    EXPECT_TRUE(dialogs.AllAnswered());
  }
  EXPECT_EQ(dialogs.shown.back().text,
            "A previous test has found this drive to have\r\na purge speed of 12.50 MB/sec. (1 "
            "overwrite).\r\nDo you wish to accept this value?\r\nIf not, click on 'No' to perform "
            "the test again.");
  EXPECT_FLOAT_EQ(speeds.Speed(removable.root), 12.5f);
  EXPECT_EQ(preselected, (std::vector<std::string>{"other", "other", "other"}));
  EXPECT_EQ(test.lastTestedDrive, removable.root);
}

#ifndef _WIN32
// The dummy files go in the drive's root where it can be written, else in the home folder only
// when that is on the same drive.
TEST(DummyParentFolder, IsAWritableRootOrNothingForAnotherDrive) {
  TempFolder folder;
  EXPECT_EQ(FillDisk::DummyParentFolder(folder.Path()), folder.Path());
  EXPECT_EQ(FillDisk::DummyParentFolder(folder / "missing/"), "");
}
#endif
