#include "operation/estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/scoped_locale_format.h"
#include "text/locale_format.h"

namespace {

using StrProc::LocaleFormat;
using TestSupport::ScopedLocaleFormat;

constexpr double kMB = 1048576.0;
const char* const kTypeOfPurge = "Random bytes plus zeros, 6 times (= 12 overwrites)";

Platform::DriveInfo Drive(const std::string& root, bool floppy = false) {
  Platform::DriveInfo drive;
  drive.root = root;
  drive.floppy = floppy;
  return drive;
}

// The estimate with the program's size model.
ListingEstimate Estimate(float speed, const Platform::DriveInfo& drive, double megabytes,
                         std::int32_t files, short overwrites) {
  return EstimateAfterListing(speed, drive, megabytes * kMB, files, overwrites, kTypeOfPurge, 0.917,
                              0.2);
}

// The estimate with a fixed factor (a size-model exponent of 0), at 1 MB/sec. for one overwrite.
ListingEstimate EstimateWithFactor(double megabytes, double factor) {
  return EstimateAfterListing(1.0f, Drive("/data"), megabytes * kMB, 1, 1, kTypeOfPurge, factor,
                              0.0);
}

// The duration in the table's row for n overwrites, or "(none)" when it has no row.
std::string Row(const std::string& table, int n) {
  const std::string start = "\n" + std::to_string(n) + " overwrites: ";
  const auto at = table.find(start);
  if (at == std::string::npos) return "(none)";
  const auto from = at + start.size();
  return table.substr(from, table.find("\r\n", from) - from);
}

}  // namespace

TEST(EstimateAfterListing, AMeasuredSpeedGivesTheAdjustedTimeAndTheTableWithoutShortRows) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  // 3 files of 10 MB: the factor is 0.917 / 10 ^ 0.2 = 0.5786; 180 s x 0.5786 = 104 s.
  const ListingEstimate estimate = Estimate(2.0f, Drive("/home"), 30, 3, 12);
  EXPECT_EQ(estimate.reportText,
            "Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)\r\n"
            "Estimated purge time: 1 minute and 44 seconds.\r\n"
            "\r\n"
            "Estimated purge times for various numbers of overwrites\r\n"
            "using a purge speed (as measured) of 2.00 MB/sec.\r\n"
            "and an adjustment factor of 0.58:\r\n"
            "4 overwrites: 35 seconds\r\n"
            "6 overwrites: 52 seconds\r\n"
            "8 overwrites: 1 minute and 9 seconds\r\n"
            "10 overwrites: 1 minute and 27 seconds\r\n"
            "12 overwrites: 1 minute and 44 seconds\r\n"
            "14 overwrites: 2 minutes and 2 seconds\r\n"
            "16 overwrites: 2 minutes and 19 seconds\r\n"
            "18 overwrites: 2 minutes and 36 seconds\r\n"
            "20 overwrites: 2 minutes and 54 seconds\r\n"
            "22 overwrites: 3 minutes and 11 seconds\r\n"
            "24 overwrites: 3 minutes and 28 seconds\r\n");
  EXPECT_EQ(estimate.estimateLabel, "1 minute and 44 seconds");
}

TEST(EstimateAfterListing, UnderAMinuteIsSaidInLowerCaseAndGetsNoTable) {
  const ListingEstimate estimate = Estimate(2.0f, Drive("/home"), 59, 1, 2);
  EXPECT_EQ(estimate.reportText,
            "Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)\r\n"
            "Estimated purge time: less than a minute.\r\n");
  EXPECT_EQ(estimate.estimateLabel, "Less than a minute.");
}

TEST(EstimateAfterListing, ATableWithNoRowSaysAllAreShort) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  // 60 s before the factor of 0.1, so the longest row, 120 s x 0.1, is under 20 seconds.
  const ListingEstimate estimate =
      EstimateAfterListing(1.0f, Drive("/data"), 5 * kMB, 4, 12, kTypeOfPurge, 0.1, 0.0);
  EXPECT_EQ(estimate.reportText,
            "Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)\r\n"
            "Estimated purge time: 6 seconds.\r\n"
            "\r\n"
            "Estimated purge times for various numbers of overwrites\r\n"
            "using a purge speed (as measured) of 1.00 MB/sec.\r\n"
            "and an adjustment factor of 0.10:\r\n"
            "All less than 20 seconds\r\n");
  EXPECT_EQ(estimate.estimateLabel, "6 seconds");
}

TEST(EstimateAfterListing, AFloppyGetsTheSingleEstimateButNoTable) {
  // 1 MB in one file at 0.25 MB/sec. x 18 overwrites: 72 s x 0.917 = 66 s.
  const ListingEstimate estimate = Estimate(0.25f, Drive("/media/floppy", true), 1, 1, 18);
  EXPECT_EQ(estimate.reportText,
            "Purge type: Random bytes plus zeros, 6 times (= 12 overwrites)\r\n"
            "Estimated purge time: 1 minute and 6 seconds.\r\n"
            "\r\n");
  EXPECT_EQ(estimate.estimateLabel, "1 minute and 6 seconds");
}

TEST(EstimateAfterListing, AnUnmeasuredSpeedAsksForASpeedTestOfTheMountPoint) {
  const std::string request =
      "For an estimate of the purge time test the purge speed for Drive /home then relist.";
  for (const float speed : {0.0f, -1.0f, std::nanf("")}) {
    const ListingEstimate estimate = Estimate(speed, Drive("/home"), 500, 10, 12);
    EXPECT_EQ(estimate.reportText, request) << speed;
    EXPECT_EQ(estimate.estimateLabel, "") << speed;
  }
}

TEST(EstimateAfterListing, WholeSecondsAreRoundedHalvesToEven) {
  // Before the factor: 58.5 s is 58, under a minute; 59.5 s is 60; 60.5 s is 60.
  EXPECT_EQ(EstimateWithFactor(58.5, 1.0).estimateLabel, "Less than a minute.");
  EXPECT_EQ(EstimateWithFactor(59.5, 1.0).estimateLabel, "1 minute");
  EXPECT_EQ(EstimateWithFactor(60.5, 1.0).estimateLabel, "1 minute");
  // After it: 61 s x 0.5 = 30.5 s is 30; 63 s x 0.5 = 31.5 s is 32.
  EXPECT_EQ(EstimateWithFactor(61, 0.5).estimateLabel, "30 seconds");
  EXPECT_EQ(EstimateWithFactor(63, 0.5).estimateLabel, "32 seconds");
}

TEST(EstimateAfterListing, FaultyCountsAndTotalsAreCaught) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  // Without a count of files there is no average size, so the time is not adjusted.
  for (const std::int32_t files : {0, -1}) {
    const ListingEstimate estimate = Estimate(1.0f, Drive("/"), 120, files, 1);
    EXPECT_EQ(estimate.estimateLabel, "2 minutes") << files;
    EXPECT_NE(estimate.reportText.find("and an adjustment factor of 1.00:"), std::string::npos);
  }
  // Nothing listed: no estimate.
  for (const double total : {0.0, -5.0, std::nan("")}) {
    const ListingEstimate estimate =
        EstimateAfterListing(1.0f, Drive("/"), total, 1, 12, kTypeOfPurge, 0.917, 0.2);
    EXPECT_EQ(estimate.reportText, "") << total;
    EXPECT_EQ(estimate.estimateLabel, "") << total;
  }
  // A time beyond what a duration can show is shown as the longest it can.
  const ListingEstimate endless = Estimate(0.001f, Drive("/"), 1e9, 1, 24);
  EXPECT_EQ(endless.estimateLabel, "24855 days and 3 hours");
}

TEST(EstimatedTimes, RowsAreExactUnder300SecondsThenInMinutes) {
  const ScopedLocaleFormat english(LocaleFormat::English());
  // 149.5 MB at 1 MB/sec.: 299 s for 2 overwrites, 598 s for 4.
  const std::string table = EstimatedTimes(1.0f, 149.5 * kMB, 1.0, "/data");
  EXPECT_EQ(Row(table, 2), "4 minutes and 59 seconds");
  EXPECT_EQ(Row(table, 4), "10 minutes");
  EXPECT_EQ(Row(table, 24), "1 hour");  // 3588 s
}

TEST(EstimatedTimes, FromADayOnRowsAreInWholeHoursRoundedHalvesToEven) {
  // 44,100 MB at 1 MB/sec.: 24.5, 49, 73.5 and 122.5 hours.
  const std::string table = EstimatedTimes(1.0f, 44100 * kMB, 1.0, "/data");
  EXPECT_EQ(Row(table, 2), "1 day");
  EXPECT_EQ(Row(table, 4), "2 days and 1 hour");
  EXPECT_EQ(Row(table, 6), "3 days and 2 hours");
  EXPECT_EQ(Row(table, 10), "5 days and 2 hours");
}

TEST(EstimatedTimes, RowsAreRoundedHalvesToEvenBeforeAndAfterTheFactor) {
  // 9.75 MB: 19.5 s for 2 overwrites is 20, just enough for a row; 10.25 MB: 20.5 s is 20.
  EXPECT_EQ(Row(EstimatedTimes(1.0f, 9.75 * kMB, 1.0, "/data"), 2), "20 seconds");
  EXPECT_EQ(Row(EstimatedTimes(1.0f, 10.25 * kMB, 1.0, "/data"), 2), "20 seconds");
  // 20.5 MB: 41 s x 0.5 = 20.5 s is 20; 19.5 MB: 39 s x 0.5 = 19.5 s is 20.
  EXPECT_EQ(Row(EstimatedTimes(1.0f, 20.5 * kMB, 0.5, "/data"), 2), "20 seconds");
  EXPECT_EQ(Row(EstimatedTimes(1.0f, 19.5 * kMB, 0.5, "/data"), 2), "20 seconds");
  // 9.25 MB: 18.5 s is 18, no row.
  EXPECT_EQ(Row(EstimatedTimes(1.0f, 9.25 * kMB, 1.0, "/data"), 2), "(none)");
}

TEST(EstimatedTimes, AnUnmeasuredSpeedGivesNoTable) {
  EXPECT_EQ(EstimatedTimes(0.0f, 100 * kMB, 1.0, "/data"), "");
  EXPECT_EQ(EstimatedTimes(std::nanf(""), 100 * kMB, 1.0, "/data"), "");
}
