#include "engine/speed_test.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <iomanip>
#include <limits>
#include <sstream>
#include <thread>

#include "engine/cluster_size.h"
#include "engine/disk_proc.h"
#include "engine/fill_disk.h"
#include "engine/purge_speeds.h"
#include "engine/purge_type_choice.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "text/locale_format.h"
#include "text/str_proc.h"
#include "text/user_dialogs.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr double kMegabyte = 1048576.0;
constexpr double kFiveGigabytes = 5368709120.0;
constexpr double kFiftyGigabytes = 53687091200.0;
constexpr int kMeasurements = 3;

std::string Decimals(double value, bool floppy) {
  return StrProc::GroupedNumberText(value, floppy ? 3 : 2);
}

// A duration in the long form, rounded to whole seconds first.
std::string Duration(double seconds, bool roundToMinutes) {
  const double whole = std::nearbyint(seconds);
  const double bounded =
      std::min<double>(std::max(whole, 0.0), std::numeric_limits<std::int32_t>::max());
  return StrProc::SecondsToText(static_cast<std::int32_t>(bounded), true, roundToMinutes);
}

}  // namespace

void SpeedTestHost::Wait(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

double SpeedTestHost::TimeOfDaySeconds() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  Platform::LocalTime(seconds, local);
  const double fraction =
      std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds)).count();
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

bool UsablePurgeSpeed(float speed) {
  return speed > 0 && speed < 1e6f;
}

std::string SpeedAsText(float speed) {
  std::ostringstream text;
  text.imbue(std::locale::classic());
  // Enough digits that the value read back is the very same.
  text << std::setprecision(std::numeric_limits<float>::max_digits10) << speed;
  return text.str();
}

std::optional<float> StoredSpeedFromText(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  float value = 0;
  if (!(in >> value)) return std::nullopt;
  in >> std::ws;
  if (!in.eof() || !UsablePurgeSpeed(value)) return std::nullopt;
  return value;
}

int NumberOfDummyFiles(bool floppy, double totalBytes) {
  if (floppy) return 1;
  if (totalBytes >= kFiftyGigabytes) return 20;
  if (totalBytes >= kFiveGigabytes) return 10;
  return 5;
}

double ElapsedSeconds(double start, double end) {
  double elapsed = end - start;
  if (elapsed < 0) elapsed += 86400.0;
  return elapsed <= 0.001 ? 0.001 : elapsed;
}

std::string SpeedTestResultText(float speed, bool floppy, short passes, short overwrites) {
  std::string text = "The purge speed is approximately " + Decimals(speed, floppy) +
                     " MB/sec. for a single overwrite." + kLineBreak + kLineBreak +
                     "It thus requires, using the type of purge currently specified (";
  text += passes == 1 ? std::string("1 pass = ") : std::to_string(passes) + " passes = ";
  text += overwrites == 1 ? std::string("1 overwrite") : std::to_string(overwrites) + " overwrites";
  text += "), approximately ";
  if (floppy) {
    text += Duration(overwrites * 1.44 / speed, false) + " to purge a full floppy disk.";
  } else {
    const double perMegabyte = overwrites / static_cast<double>(speed);
    text += Duration(10 * perMegabyte, false) + " to purge 10 MB, " +
            Duration(100 * perMegabyte, false) + " to purge 100 MB, " +
            Duration(1024 * perMegabyte, true) + " to purge 1 GB, " +
            Duration(10240 * perMegabyte, true) + " to purge 10 GB, " + "and " +
            Duration(102400 * perMegabyte, true) + " to purge 100 GB.";
  }
  if (overwrites > 1) {
    text += std::string(kLineBreak) + kLineBreak +
            "To decrease the time required change the type of purge so as to decrease" +
            " the number of overwrites.";
  }
  return text;
}

SpeedTest::SpeedTest(PurgeTypeChoice& purgeType, DriveClusterSize& clusterSizes,
                     DrivePurgeSpeed& purgeSpeeds, RandomSource& random, UserDialogs& dialogs,
                     SpeedTestHost& host)
    : purgeType_(purgeType),
      clusterSizes_(clusterSizes),
      purgeSpeeds_(purgeSpeeds),
      random_(random),
      dialogs_(dialogs),
      host_(host) {
  dummyParent = FillDisk::DummyParentFolder;
  freeSpace = DiskProc::FreeSpace;
}

std::string SpeedTest::ShowSpeedText(const Platform::DriveInfo& drive) const {
  const float speed = purgeSpeeds_.Speed(drive.root);
  if (speed <= 0) return {};
  return Decimals(speed, drive.floppy) + " MB/sec. (1 overwrite) for Drive " + drive.root + ".";
}

void SpeedTest::Run(const std::vector<Platform::DriveInfo>& drives, const DriveChooser& chooseDrive,
                    Choices choices) {
  if (drives.empty()) {
    dialogs_.Tell(caption, "Cannot find any disk drive.", MessageIcon::Exclamation);
    return;
  }
  if (!choices.proceed) {
    const std::string where = drives.size() == 1
                                  ? "This writes test files to Drive " + drives.front().root
                                  : std::string("This writes test files to a selected drive");
    const MessageAnswer answer = dialogs_.ShowMessage(
        {caption,
         where + " and then purges them to test the purge speed " +
             "so as to get an approximate estimate of purge time required for other files." +
             kLineBreak + kLineBreak + "Do you wish to proceed with this test?",
         MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer != MessageAnswer::Yes) return;
  }

  Platform::DriveInfo drive = drives.front();
  if (drives.size() > 1) {
    const std::string preselected = lastTestedDrive.empty() ? drives.back().root : lastTestedDrive;
    const std::optional<std::string> chosen =
        chooseDrive ? chooseDrive(drives, preselected) : std::optional<std::string>();
    if (!chosen) return;
    bool found = false;
    for (const Platform::DriveInfo& candidate : drives)
      if (candidate.root == *chosen) {
        drive = candidate;
        found = true;
      }
    if (!found) return;
  }
  lastTestedDrive = drive.root;

  if ((drive.type == Platform::DriveType::Removable || drive.type == Platform::DriveType::CDRom) &&
      !DiskProc::DriveReady(drive.root)) {
    dialogs_.Tell(caption,
                  std::string("There is no ") +
                      (drive.type == Platform::DriveType::CDRom ? "CD-ROM" : "disk") +
                      " in Drive " + drive.root + ".",
                  MessageIcon::Exclamation);
    return;
  }

  if (!choices.measureAgain) {
    bool stop = false;
    if (AcceptStoredSpeed(drive, stop) || stop) return;
  }

  blnPerformingSpeedTest = true;
  bool allMeasured = true;
  for (int run = 1; run <= kMeasurements; ++run) {
    host_.ShowSpeedLabel("Testing Drive " + drive.root + " ..." + std::to_string(run), true);
    if (OneMeasurement(drive, run == kMeasurements) < 0) {
      allMeasured = false;
      break;
    }
  }
  blnPerformingSpeedTest = false;
  host_.Refresh();
  if (!allMeasured || !storeSpeed) return;
  // The measured speed still serves this run of the program; the user is told that it was not
  // kept for the next ones.
  const std::string problem = storeSpeed(drive, purgeSpeeds_.Speed(drive.root));
  if (!problem.empty()) dialogs_.Tell(caption, problem, MessageIcon::Exclamation);
}

bool SpeedTest::AcceptStoredSpeed(const Platform::DriveInfo& drive, bool& stop) {
  const std::optional<float> speed = loadStoredSpeed ? loadStoredSpeed(drive) : std::nullopt;
  if (!speed) return false;
  const MessageAnswer answer = dialogs_.ShowMessage(
      {caption,
       std::string("A previous test has found this drive to have") + kLineBreak +
           "a purge speed of " + Decimals(*speed, drive.floppy) + " MB/sec. (1 overwrite)." +
           kLineBreak + "Do you wish to accept this value?" + kLineBreak +
           "If not, click on 'No' to perform the test again.",
       MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::Yes});
  if (answer == MessageAnswer::Cancel) {
    stop = true;
    return false;
  }
  if (answer != MessageAnswer::Yes) return false;
  purgeSpeeds_.Set(drive.root, *speed, 1);
  host_.ShowSpeedLabel(ShowSpeedText(drive), false);
  return true;
}

void SpeedTest::Fail(const Platform::DriveInfo& drive) {
  host_.ShowSpeedLabel("", false);
  purgeSpeeds_.Set(drive.root, 0, 0);
}

short SpeedTest::OneMeasurement(const Platform::DriveInfo& drive, bool lastRun) {
  double available = 0;
  double total = 0;
  if (freeSpace(Platform::DriveRootFolder(drive.root), available, total) != 0) {
    dialogs_.Tell(caption,
                  std::string("An error occurred when attempting to ascertain") + kLineBreak +
                      "information about the disk in Drive " + drive.root + ".  ",
                  MessageIcon::Exclamation);
    return -1;
  }
  const double minimum = drive.floppy ? 131072.0 : 1048576.0;
  if (available < minimum) {
    std::string text = available <= 0
                           ? "There is no free space on the disk in Drive " + drive.root + "."
                           : "Drive " + drive.root + " has only " +
                                 StrProc::GroupedNumberText(available, 0) + " bytes free.";
    text += kLineBreak;
    text += drive.floppy ? "At least 128 KB of free space is required for this test."
                         : "At least 1 MB of free space is required for this test.";
    dialogs_.Tell(caption, text, MessageIcon::Exclamation);
    return -2;
  }

  const std::string parent = dummyParent(drive.root);
  const std::string folder = parent.empty() ? std::string() : FillDisk::MakeDummyFolder(parent);
  const int wanted = NumberOfDummyFiles(drive.floppy, total);
  double totalBytes = 0;
  int made = 0;
  if (!folder.empty()) {
    made = FillDisk::MakeDummyFiles(folder, wanted, random_, totalBytes);
  }
  if (folder.empty() || (made < wanted && made < 6)) {
    if (!folder.empty()) FillDisk::RemoveDummyFiles(folder);
    dialogs_.Tell(caption,
                  "An error occurred when creating the dummy files in the disk in Drive " +
                      drive.root + kLineBreak + "for the speed test.  Please repeat the test.",
                  MessageIcon::Exclamation);
    Fail(drive);
    return -3;
  }

  host_.ClearEstimate();
  host_.Wait(1000);

  const short type = purgeType_.GetPurgeType();
  const short passes = purgeType_.GetNumberOfPasses();
  const short overwrites = purgeType_.GetNumOverwrites();
  FilePurge::PurgeEnvironment environment(clusterSizes_, random_);
  environment.performingSpeedTest = true;
  const double start = host_.TimeOfDaySeconds();
  const bool purged = FillDisk::PurgeDummyFiles(folder, type, passes, environment);
  const double elapsed = ElapsedSeconds(start, host_.TimeOfDaySeconds());
  if (!purged) {
    Fail(drive);
    dialogs_.Tell(caption,
                  std::string("An error occurred when purging the dummy files.") + kLineBreak +
                      "Please repeat the test.",
                  MessageIcon::Exclamation);
    return -4;
  }

  const float measured = static_cast<float>(totalBytes / kMegabyte * overwrites / elapsed);
  const float speed = purgeSpeeds_.RecordSpeed(drive.root, measured);
  host_.ShowSpeedLabel("", false);
  if (lastRun) {
    dialogs_.Tell(caption, SpeedTestResultText(speed, drive.floppy, passes, overwrites),
                  MessageIcon::Information);
    host_.ShowSpeedLabel(ShowSpeedText(drive), false);
  }
  return 0;
}
