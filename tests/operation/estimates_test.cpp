#include "operation/estimates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/scoped_locale_format.h"
#include "text/locale_format.h"

namespace {

constexpr double kMB = 1048576.0;
const std::string kType = "Random bytes plus zeros, 6 times (= 12 overwrites)";
const std::string kTypeLine = "Purge type: " + kType + "\r\nEstimated purge time: ";

// The estimate for a drive, with the program's size model unless a factor and exponent are given.
ListingEstimate Estimate(float speed, double megabytes, std::int32_t files, short overwrites,
                         double factor = 0.917, double exponent = 0.2, bool floppy = false) {
  const Platform::DriveInfo drive{"/home", "", "", "", Platform::DriveType::Unknown, floppy};
  return EstimateAfterListing(speed, drive, megabytes * kMB, files, overwrites, kType, factor, exponent);
}

class EstimateTest : public ::testing::Test {
  TestSupport::ScopedLocaleFormat english{StrProc::LocaleFormat::English()};
};

}  // namespace

TEST_F(EstimateTest, AMeasuredSpeedGivesTheAdjustedTimeRoundedHalvesToEvenAndTheTableWithoutShortRows) {
  // 60 s before the factor of 0.2: the rows up to 18 overwrites are under 20 seconds.
  EXPECT_EQ(Estimate(1.0f, 5, 4, 12, 0.2, 0.0).reportText,
            kTypeLine + "12 seconds.\r\n\r\nEstimated purge times for various numbers of overwrites\r\n"
                "using a purge speed (as measured) of 1.00 MB/sec.\r\nand an adjustment factor of 0.20:\r\n"
                "20 overwrites: 20 seconds\r\n22 overwrites: 22 seconds\r\n24 overwrites: 24 seconds\r\n");
  // 3 files of 10 MB: the factor is 0.917 / 10 ^ 0.2 = 0.5786; 180 s x 0.5786 = 104 s.
  const ListingEstimate estimate = Estimate(2.0f, 30, 3, 12);
  EXPECT_EQ(estimate.estimateLabel, "1 minute and 44 seconds");
  EXPECT_NE(estimate.reportText.find("factor of 0.58:\r\n4 overwrites: 35 seconds\r\n6 "), std::string::npos);
  // 60 s before the factor of 0.1, so the longest row, 120 s x 0.1, is under 20 seconds.
  EXPECT_TRUE(Estimate(1, 5, 4, 12, 0.1, 0).reportText.ends_with("0.10:\r\nAll less than 20 seconds\r\n"));
  // A floppy: the single estimate (72 s x 0.917 = 66 s) but no table. (Under a minute: the
  // command-line tests.)
  EXPECT_EQ(Estimate(0.25f, 1, 1, 18, 0.917, 0.2, true).reportText,
            kTypeLine + "1 minute and 6 seconds.\r\n\r\n");

  // Megabytes at 1 MB/sec., files, factor, exponent: the label, rounded halves to even before and
  // after the factor; with no count of files, no factor. Without a speed or a size, no estimate.
  const struct { double megabytes; std::int32_t files; double factor, exp; const char* label; } cases[] = {
      {58.5, 1, 1.0, 0.0, "Less than a minute."}, {59.5, 1, 1.0, 0.0, "1 minute"},
      {61, 1, 0.5, 0.0, "30 seconds"},            {63, 1, 0.5, 0.0, "32 seconds"},
      {120, 0, 0.917, 0.2, "2 minutes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Estimate(1.0f, c.megabytes, c.files, 1, c.factor, c.exp).estimateLabel, c.label) << c.megabytes;
  EXPECT_EQ(Estimate(0.001f, 1e9, 1, 24).estimateLabel, "24855 days and 3 hours");  // the longest
  // A speed of 0 gives the same text in the command-line tests.
  EXPECT_EQ(Estimate(std::nanf(""), 500, 10, 12).reportText,
            "For an estimate of the purge time test the purge speed for Drive /home then relist.");
  for (const double total : {0.0, std::nan("")})
    EXPECT_EQ(Estimate(1.0f, total, 1, 12).reportText + Estimate(1.0f, total, 1, 12).estimateLabel, "");
  EXPECT_EQ(EstimatedTimes(0.0f, 100 * kMB, 1.0, "/data"), "");
}

// Rows are exact under 300 seconds, then in minutes, then in hours rounded halves to even (44100 MB
// twice is 24.5 hours); a row needs 20 seconds after rounding ("": no row).
TEST_F(EstimateTest, RowsAreExactThenInMinutesThenInHoursRoundedHalvesToEven) {
  const struct { double megabytes, factor; int overwrites; std::string row; } cases[] = {
      {149.5, 1.0, 2, "4 minutes and 59 seconds"}, {149.5, 1.0, 4, "10 minutes"}, {149.5, 1.0, 24, "1 hour"},
      {44100, 1.0, 2, "1 day"}, {44100, 1.0, 6, "3 days and 2 hours"}, {44100, 1.0, 10, "5 days and 2 hours"},
      {9.75, 1.0, 2, "20 seconds"}, {20.5, 0.5, 2, "20 seconds"}, {9.25, 1.0, 2, ""},
  };
  for (const auto& c : cases) {
    const std::string row = "\n" + std::to_string(c.overwrites) + " overwrites: " + c.row;
    const std::string table = EstimatedTimes(1.0f, c.megabytes * kMB, c.factor, "/data");
    EXPECT_EQ(table.find(c.row.empty() ? row : row + "\r\n") != std::string::npos, !c.row.empty()) << row;
  }
}
