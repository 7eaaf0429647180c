#pragma once

// The estimate of how long a purge of the listed files would take, written at the end of a
// listing, and the table of estimated times for 2, 4, ..., 24 overwrites that goes with it.
// Line breaks are CR LF.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drives.h"

// The table of estimated purge times for 2, 4, ..., 24 overwrites of dblTotalBytes2 bytes at
// sngPurgeSpeed MB per second for one overwrite, each time multiplied by dblAdjustmentFactor.
// Times under 20 seconds get no row; when no row is left the table says so. Times under 300
// seconds are exact, times up to a day are rounded to minutes, longer ones to hours.
// A speed that was never measured (0 or less, or not a number) gives no table: "".
std::string EstimatedTimes(float sngPurgeSpeed, double dblTotalBytes2, double dblAdjustmentFactor,
                           const std::string& strDrive);

struct ListingEstimate {
  // What the report gets.
  std::string reportText;
  // What the main window's estimated-time label shows; "" when there is no estimate.
  std::string estimateLabel;
};

// The estimate for a listing of filesListed files of totalBytes bytes in all on the drive, to
// be purged with numOverwrites overwrites of the type described by purgeTypeDescription.
// speed is the drive's measured purge speed; 0 or less (or not a number) means not measured,
// and the report then asks for a speed test. The time is scaled by dblAF_A / (average file
// size in MB) ^ dblAF_B, because many small files purge more slowly than a few large ones;
// when the count of files is not known (less than 1) the time is not scaled. Floppy drives
// get the single estimate, all others the table of EstimatedTimes as well.
// Nothing was listed when totalBytes is not above 0 (or not a number): no estimate at all.
ListingEstimate EstimateAfterListing(float speed, const Platform::DriveInfo& drive,
                                     double totalBytes, std::int32_t filesListed,
                                     short numOverwrites, const std::string& purgeTypeDescription,
                                     double dblAF_A, double dblAF_B);

// The estimate's report text followed by the warnings about the drive, after a blank line, each
// on a line of its own; the text as it is when there are none.
std::string WithVolumeWarnings(const std::string& estimateText,
                               const std::vector<std::string>& warnings);
