#include "operation/estimates.h"

#include <cmath>
#include <limits>

#include "text/locale_format.h"
#include "text/str_proc.h"

namespace {

constexpr double kBytesPerMB = 1048576.0;
constexpr int kThresholdSeconds = 20;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerDay = 86400.0;

bool SpeedMeasured(float speed) {
  return std::isfinite(speed) && speed > 0;
}

// The nearest whole number; a value exactly halfway goes to the even neighbour, so that
// 0.5 gives 0, 1.5 and 2.5 give 2.
double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// Whole seconds as the duration texts take them: a time beyond their range is shown as the
// longest they can show, and one that is not a number as none.
std::int32_t ToSeconds(double seconds) {
  constexpr double maxSeconds = std::numeric_limits<std::int32_t>::max();
  if (!(seconds > 0)) return 0;
  if (seconds >= maxSeconds) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(seconds);
}

// A row's duration: exact below 300 seconds, in minutes up to a day, in hours from a day on.
std::string TableDuration(double seconds) {
  if (seconds < 300) return StrProc::SecondsToText(ToSeconds(seconds), true, false);
  if (seconds < kSecondsPerDay) return StrProc::SecondsToText(ToSeconds(seconds), true, true);
  const double hours = RoundHalfEven(seconds / kSecondsPerHour);
  return StrProc::SecondsToText(ToSeconds(hours * kSecondsPerHour), true, false);
}

}  // namespace

std::string EstimatedTimes(float sngPurgeSpeed, double dblTotalBytes2, double dblAdjustmentFactor,
                           const std::string& /*strDrive*/) {
  if (!SpeedMeasured(sngPurgeSpeed)) return "";
  const double megabytes = dblTotalBytes2 / 1024 / 1024;
  std::string text = "Estimated purge times for various numbers of overwrites\r\n";
  text += "using a purge speed (as measured) of " +
          StrProc::GroupedNumberText(static_cast<double>(sngPurgeSpeed), 2) + " MB/sec.\r\n";
  text +=
      "and an adjustment factor of " + StrProc::GroupedNumberText(dblAdjustmentFactor, 2) + ":\r\n";
  bool anyRow = false;
  for (int overwrites = 2; overwrites <= 24; overwrites += 2) {
    const double unadjusted = RoundHalfEven(megabytes / sngPurgeSpeed * overwrites);
    const double seconds = RoundHalfEven(unadjusted * dblAdjustmentFactor);
    if (seconds >= kThresholdSeconds) {
      text += std::to_string(overwrites) + " overwrites: " + TableDuration(seconds) + "\r\n";
      anyRow = true;
    }
  }
  if (!anyRow) text += "All less than 20 seconds\r\n";
  return text;
}

ListingEstimate EstimateAfterListing(float speed, const Platform::DriveInfo& drive,
                                     double totalBytes, std::int32_t filesListed,
                                     short numOverwrites, const std::string& purgeTypeDescription,
                                     double dblAF_A, double dblAF_B) {
  ListingEstimate estimate;
  if (!(totalBytes > 0)) return estimate;

  if (!SpeedMeasured(speed)) {
    estimate.reportText = "For an estimate of the purge time test the purge speed for Drive " +
                          drive.root + " then relist.";
    return estimate;
  }

  estimate.reportText = "Purge type: " + purgeTypeDescription + "\r\n";
  const double baseSeconds = RoundHalfEven(totalBytes / 1024 / 1024 / speed * numOverwrites);
  if (baseSeconds < 60) {
    estimate.reportText += "Estimated purge time: less than a minute.\r\n";
    estimate.estimateLabel = "Less than a minute.";
    return estimate;
  }

  double adjustmentFactor = 1.0;
  if (filesListed >= 1) {
    const double averageMB = totalBytes / filesListed / kBytesPerMB;
    adjustmentFactor = dblAF_A / std::pow(averageMB, dblAF_B);
  }
  const std::int32_t seconds = ToSeconds(RoundHalfEven(baseSeconds * adjustmentFactor));
  const std::string duration = StrProc::SecondsToText(seconds, true, false);
  estimate.reportText += "Estimated purge time: " + duration + ".\r\n\r\n";
  estimate.estimateLabel = duration;
  if (!drive.floppy) {
    estimate.reportText += EstimatedTimes(speed, totalBytes, adjustmentFactor, drive.root);
  }
  return estimate;
}

std::string WithVolumeWarnings(const std::string& estimateText,
                               const std::vector<std::string>& warnings) {
  if (warnings.empty()) return estimateText;
  std::string text = estimateText;
  if (!text.empty() && !text.ends_with("\r\n")) text += "\r\n";
  text += "\r\n";
  for (const std::string& warning : warnings) text += warning + "\r\n";
  return text;
}
