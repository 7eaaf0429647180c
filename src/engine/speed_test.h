#pragma once

// The purge speed test: dummy files are written to a drive, purged with the current type of
// purge and timed; the speed (MB per second for one overwrite) is averaged per drive, stored
// under the drive's key and used for the estimates of purge times.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/file_purge.h"
#include "platform/drives.h"

class DriveClusterSize;
class DrivePurgeSpeed;
class PurgeTypeChoice;
class RandomSource;
class UserDialogs;

// What the main window does for the test.
class SpeedTestHost {
 public:
  virtual ~SpeedTestHost() = default;
  // lblPurgeSpeed: its caption, in bold or not ("" clears it).
  virtual void ShowSpeedLabel(const std::string& /*caption*/, bool /*bold*/) {}
  // lblEstimatedTime is cleared: an estimate made with the old speed no longer holds.
  virtual void ClearEstimate() {}
  // The main window is refreshed after the test.
  virtual void Refresh() {}
  // Lets the window attend to its events while the dummy files are made and purged.
  virtual void Yield() {}
  // The pause before a measurement, so that the disk has settled.
  virtual void Wait(int milliseconds);
  // The time of day in seconds since local midnight, with its fraction.
  virtual double TimeOfDaySeconds();
};

class SpeedTest {
 public:
  SpeedTest(PurgeTypeChoice& purgeType, DriveClusterSize& clusterSizes,
            DrivePurgeSpeed& purgeSpeeds, RandomSource& random, UserDialogs& dialogs,
            SpeedTestHost& host);

  // The caption of the test button, which titles the test's messages.
  std::string caption = "Test purge speed";
  // Where a drive's measured speed is kept between runs of the program (the front ends keep it
  // in the registry): the stored speed or nothing, and keeping a new one, which answers "" when it
  // is kept and otherwise the message that tells the user why not. Unset: none is kept.
  std::function<std::optional<float>(const Platform::DriveInfo& drive)> loadStoredSpeed;
  std::function<std::string(const Platform::DriveInfo& drive, float speed)> storeSpeed;
  // True from the start of the first measurement to the end of the last.
  bool blnPerformingSpeedTest = false;
  // The drive tested last (its root), preselected the next time.
  std::string lastTestedDrive;
  // Where a drive's dummy folder goes, and how its free and total bytes are read.
  std::function<std::string(const std::string& driveRoot)> dummyParent;
  std::function<short(const std::string& path, double& availableBytes, double& totalBytes)>
      freeSpace;

  // Chooses the drive when there are several: gets the drives and the one to preselect, and
  // answers the chosen drive's root, or nothing for Cancel.
  using DriveChooser = std::function<std::optional<std::string>(
      const std::vector<Platform::DriveInfo>& drives, const std::string& preselected)>;

  struct Choices {
    // The user has already said to go on (the question about writing test files is skipped).
    bool proceed = false;
    // A stored speed is not offered: the drive is measured again.
    bool measureAgain = false;
  };

  // The whole test from the test button: the drives, the questions, up to three measurements,
  // the stored value (a speed that cannot be stored is told with an exclamation mark). drives is
  // the list to offer (normally every drive); a single drive is tested without choosing.
  void Run(const std::vector<Platform::DriveInfo>& drives, const DriveChooser& chooseDrive,
           Choices choices);

  // One measurement of the drive: 0, or -1 (drive not readable), -2 (too little free space),
  // -3 (dummy files not made) or -4 (dummy files not purged).
  short OneMeasurement(const Platform::DriveInfo& drive, bool lastRun);

  // The caption of lblPurgeSpeed for a drive ("" when it has not been measured).
  std::string ShowSpeedText(const Platform::DriveInfo& drive) const;

 private:
  bool AcceptStoredSpeed(const Platform::DriveInfo& drive, bool& stop);
  void Fail(const Platform::DriveInfo& drive);

  PurgeTypeChoice& purgeType_;
  DriveClusterSize& clusterSizes_;
  DrivePurgeSpeed& purgeSpeeds_;
  RandomSource& random_;
  UserDialogs& dialogs_;
  SpeedTestHost& host_;
};

// True for a stored speed that can be used: a number above 0 and below a million MB per second.
// (Today's drives purge well above 100 MB per second, so the bound is far beyond any disk.)
bool UsablePurgeSpeed(float speed);

// A speed as the store keeps it: a plain decimal number that reads back as the very same value.
std::string SpeedAsText(float speed);

// A speed as it was stored (a plain decimal number), when it is usable.
std::optional<float> StoredSpeedFromText(const std::string& text);

// How many dummy files a drive gets: 1 on a floppy; 5 below 5 GiB, 10 from 5 GiB, 20 from 50 GiB.
int NumberOfDummyFiles(bool floppy, double totalBytes);

// The time between two times of day, in seconds: midnight passed adds a day; at least 0.001.
double ElapsedSeconds(double start, double end);

// The message after the last measurement: the speed and what it means for purges of the
// current type.
std::string SpeedTestResultText(float speed, bool floppy, short passes, short overwrites);
