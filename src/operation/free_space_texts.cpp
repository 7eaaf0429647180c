#include "operation/free_space_texts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/overwrite_buffers.h"
#include "operation/result_texts.h"
#include "operation/volume_warnings.h"
#include "text/locale_format.h"
#include "text/str_proc.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr double kMegabyte = 1048576.0;

std::string Size(double bytes) {
  return StrProc::SizeToTextGB(bytes, 2);
}

// A size with its exact number of bytes: "1.20 GB (1,288,490,189 bytes)".
std::string SizeAndBytes(double bytes) {
  const std::string size = Size(bytes);
  if (size.find("bytes") != std::string::npos) return size;
  return size + " (" + StrProc::GroupedNumberText(bytes, 0) + " bytes)";
}

std::string Duration(double seconds, bool roundToMinutes) {
  const double bounded = std::min<double>(std::max(std::nearbyint(seconds), 0.0),
                                          std::numeric_limits<std::int32_t>::max());
  return StrProc::SecondsToText(static_cast<std::int32_t>(bounded), true, roundToMinutes);
}

std::string Reason(const std::error_code& error) {
  return error ? ": " + ReasonText(error) : std::string();
}

// Why the space left free when the fill ended was not reached.
std::string NotReachedReason(const FreeSpacePurge::Outcome& outcome, bool mayFillReserved) {
  using FreeSpacePurge::Ending;
  switch (outcome.ending) {
    case Ending::QuotaReached:
      return "the quota of this user on the drive was reached; the free space beyond it is out "
             "of this user's reach.";
    case Ending::Full:
      if (!mayFillReserved && outcome.full.freeBytes > outcome.full.availableBytes)
        return "blocks that the file system reserves for the administrator and for its own "
               "records; run the purge as the administrator (root) to reach those of the "
               "administrator.";
      return "blocks that the file system keeps for its own records, which no program can "
             "fill.";
    case Ending::NotFilling:
      return "the drive took far more than its free space without becoming full: it compresses "
             "or shares the fill files' data, so their bytes do not reach every free block.";
    default:
      return "the purge ended before the drive was full.";
  }
}

// How the purge ended, when it did not end with the drive full.
std::string EndingText(const FreeSpacePurge::Outcome& outcome) {
  using FreeSpacePurge::Ending;
  switch (outcome.ending) {
    case Ending::Full:
    case Ending::QuotaReached:
    case Ending::NotFilling:
      return {};
    case Ending::Stopped:
      return "Purge of free space was stopped.";
    case Ending::InvalidType:
      return "Invalid purge type.";
    case Ending::SpaceUnknown:
      return "The free space of the drive could not be read" + Reason(outcome.error) + ".";
    case Ending::FolderNotMade:
      return "The folder for the fill files could not be made" + Reason(outcome.error) + ".";
    case Ending::WriteFailed:
      return "Error when writing to a fill file" + Reason(outcome.error) + ".";
    case Ending::FlushFailed:
      return "Error when flushing a fill file" + Reason(outcome.error) + ".";
  }
  return {};
}

}  // namespace

std::string FreeSpaceDriveName(const std::string& root, const std::string& fileSystem) {
  return "Drive " + root + (fileSystem.empty() ? std::string() : " (" + fileSystem + ")");
}

std::string FreeSpaceQuestion(const std::string& driveName, double availableBytes,
                              const std::string& typeDescription, short overwrites,
                              std::optional<float> speed,
                              const std::vector<std::string>& warnings) {
  std::string text = "This fills the free space of " + driveName +
                     " with files written with the type of purge specified, then deletes them, "
                     "so that the old data of deleted files that lies there is destroyed." +
                     kLineBreak + kLineBreak + "Free space: " + SizeAndBytes(availableBytes) +
                     kLineBreak + "Type of purge: " + typeDescription + kLineBreak +
                     "Estimated time: ";
  if (speed && *speed > 0) {
    const double seconds = availableBytes / kMegabyte * overwrites / static_cast<double>(*speed);
    text += "about " + Duration(seconds, seconds >= 60) + " (at " +
            StrProc::GroupedNumberText(*speed, 2) + " MB/sec. for one overwrite)";
  } else {
    text += "not known: the purge speed of this drive has not been tested";
  }
  text += std::string(kLineBreak) + kLineBreak +
          "While the purge runs, the drive has no free space left for other programs.";
  for (const std::string& warning : warnings)
    text += std::string(kLineBreak) + kLineBreak + warning;
  return text;
}

std::string PatternName(short pattern) {
  switch (pattern) {
    case FilePurge::kPatternZeros:
      return "bit pattern 00000000";
    case FilePurge::kPattern0A:
      return "bit pattern 00001010";
    case FilePurge::kPattern55:
      return "bit pattern 01010101";
    case FilePurge::kPatternAA:
      return "bit pattern 10101010";
    case FilePurge::kPatternF5:
      return "bit pattern 11110101";
    default:
      return "random bytes";
  }
}

std::string FreeSpaceHeading(const std::string& dateAndTime, const std::string& driveName,
                             const std::string& folder, const std::string& typeNumPasses) {
  return dateAndTime + kLineBreak + "Purging the free space of " + driveName + kLineBreak +
         "from the folder " + folder + kLineBreak + "using " + typeNumPasses + "." + kLineBreak;
}

std::string FreeSpaceBeforeLine(double availableBytes) {
  return "Free space before: " + SizeAndBytes(availableBytes) + kLineBreak + kLineBreak;
}

std::string OverwriteLineStart(short number, short overwrites, short pattern) {
  return "Overwrite " + std::to_string(number) + " of " + std::to_string(overwrites) + " (" +
         PatternName(pattern) + "): ";
}

std::string OverwriteGauge(std::int64_t bytesDone, std::int64_t bytesToDo) {
  const std::int64_t percent =
      bytesToDo <= 0 ? 0 : std::min<std::int64_t>(99, bytesDone * 100 / bytesToDo);
  return std::to_string(percent) + "%";
}

std::string OverwriteLineEnd(std::int64_t bytes, int files, bool first) {
  std::string text = Size(static_cast<double>(bytes));
  if (first) text += " in " + std::to_string(files) + " fill file" + (files == 1 ? "" : "s");
  return text + kLineBreak;
}

std::string FreeSpaceSummary(const FreeSpacePurge::Outcome& outcome, bool mayFillReserved,
                             const std::vector<std::string>& warnings) {
  using FreeSpacePurge::Ending;
  std::string text;
  const bool ran = outcome.overwrites > 0 && outcome.ending != Ending::SpaceUnknown &&
                   outcome.ending != Ending::FolderNotMade;
  if (ran) {
    text += "Free space overwritten: " + SizeAndBytes(static_cast<double>(outcome.filledBytes)) +
            ", " + std::to_string(outcome.overwritesDone) + " of " +
            std::to_string(outcome.overwrites) + " overwrite" +
            (outcome.overwrites == 1 ? "" : "s") + kLineBreak;
    text +=
        "Bytes written: " + SizeAndBytes(static_cast<double>(outcome.bytesWritten)) + kLineBreak;
  }
  text += "Time taken: " + Duration(outcome.seconds, false) + kLineBreak;
  if (outcome.fullKnown) {
    const auto notReached = static_cast<double>(outcome.full.freeBytes);
    text += "Free space not reached: " + SizeAndBytes(notReached);
    if (notReached > 0) text += ": " + NotReachedReason(outcome, mayFillReserved);
    text += kLineBreak;
  }
  if (outcome.afterKnown)
    text += "Free space afterwards: " +
            SizeAndBytes(static_cast<double>(outcome.after.availableBytes)) + kLineBreak;
  if (!outcome.dummyFolder.empty()) {
    if (outcome.removed)
      text += std::string("The fill files and their folder were deleted.") + kLineBreak;
    else
      text += "The fill files or their folder " + outcome.dummyFolder +
              " could not all be deleted" + Reason(outcome.removalError) +
              "; the program removes them at its next start." + kLineBreak;
  }
  if (const std::string ending = EndingText(outcome); !ending.empty()) text += ending + kLineBreak;
  if (!warnings.empty()) {
    text += kLineBreak;
    for (const std::string& warning : warnings) text += warning + kLineBreak;
  }
  return text;
}

std::vector<std::string> FreeSpaceWarnings(const Platform::StorageFacts& facts) {
  const std::string drive = DriveName(facts);
  std::vector<std::string> warnings;
  if (facts.copyOnWrite)
    warnings.push_back(drive +
                       " is a copy-on-write file system: the space that its snapshots hold is "
                       "not free space, so the old data kept in snapshots is not overwritten.");
  if (facts.dataJournaled)
    warnings.push_back(drive +
                       " writes file data to its journal before it writes it in place: the "
                       "journal is not free space, and copies of old data may remain in it.");
  if (facts.compressed)
    warnings.push_back(drive +
                       " compresses the data it writes: fill files of bit patterns take less "
                       "room than they hold, so some of the free space may not be reached.");
  if (facts.fileSystem == "NTFS")
    warnings.push_back(drive +
                       " keeps small files inside its file table (the MFT), not in free space: "
                       "the old data of such files is out of reach of a purge of free space.");
  // The device, the network and memory keep their copies as they do for any purge.
  Platform::StorageFacts device;
  device.fileSystem = facts.fileSystem;
  device.mountPoint = facts.mountPoint;
  device.solidState = facts.solidState;
  device.removableFlash = facts.removableFlash;
  device.network = facts.network;
  device.userSpace = facts.userSpace;
  device.memory = facts.memory;
  for (std::string& warning : VolumeWarnings(device)) warnings.push_back(std::move(warning));
  return warnings;
}

std::vector<std::string> FreeSpaceWarningsForPath(const std::string& folder) {
  Platform::StorageFacts facts;
  if (const std::error_code error = Platform::QueryStorage(folder, facts))
    return {"The drive of " + folder + " could not be examined (" + ReasonText(error) +
            "), so whether it keeps copies of old data outside its free space is not known."};
  return FreeSpaceWarnings(facts);
}

std::string LeftoverFolderText(const std::string& folder, FreeSpacePurge::Leftover what,
                               const std::error_code& error) {
  using FreeSpacePurge::Leftover;
  switch (what) {
    case Leftover::Removed:
      return "The fill files that an interrupted purge of free space left in " + folder +
             " were deleted.";
    case Leftover::OthersKept:
      return "The fill files that an interrupted purge of free space left in " + folder +
             " were deleted; the folder holds other files, so it was kept.";
    case Leftover::NotRemoved:
      return "The fill files that an interrupted purge of free space left in " + folder +
             " could not be deleted" + Reason(error) + ".";
    case Leftover::NotOurs:
    case Leftover::InUse:
    case Leftover::Missing:
      return {};
  }
  return {};
}
