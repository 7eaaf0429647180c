#pragma once

// Purging one file: overwriting its clusters with the patterns of a purge type, flushing after
// every overwrite, then deleting it or giving it back its length and time stamps.

#include <chrono>
#include <cstddef>
#include <string>

#include "engine/file_proc.h"

class DriveClusterSize;
class RandomSource;

namespace FilePurge {

// Result codes of the per-file purge (0 is success).
inline constexpr short kPurged = 0;
inline constexpr short kEmptyName = -1;
inline constexpr short kCannotOpenForWriting = -2;
inline constexpr short kWriteFailed = -3;
inline constexpr short kNotDeleted = -4;
inline constexpr short kFlushFailed = -7;
inline constexpr short kInvalidPurgeType = -8;
inline constexpr short kInvalidClusterSize = -9;
inline constexpr short kSizeNotRestored = -11;
inline constexpr short kNotARegularFile = -13;
inline constexpr short kReadOnly = -53;
inline constexpr short kSystemFile = -54;

// What the purge tells the program around it.
class PurgeHost {
 public:
  virtual ~PurgeHost() = default;
  // The purge lets the program attend to its window: before each pass and, at most every few
  // milliseconds, between writes.
  virtual void Yield() {}
  // A file that got past the write probe is finished (the main window clears its progress line).
  virtual void FileDone() {}
};

struct PurgeEnvironment {
  PurgeEnvironment(DriveClusterSize& sizes, RandomSource& source)
      : clusterSizes(sizes), random(source) {}

  DriveClusterSize& clusterSizes;
  RandomSource& random;
  PurgeHost* host = nullptr;
  // While the speed test runs, lengths and time stamps are not restored.
  bool performingSpeedTest = false;
  FileProc::DeleteRetry deleteRetry;
  // How many bytes one write call carries: whole clusters of the same buffer, at least one.
  std::size_t writeRunBytes = 1 << 20;
  // Shortest time between two yields while writing.
  std::chrono::milliseconds yieldInterval{40};
};

// Purges one file: numPasses passes of the purge type's overwrites, then deletes it when
// deleteFile is set. Read-only and system files are purged only when allowed. resultCode receives
// the result code; the return value is true when it is 0 or greater.
bool PurgeFile(const std::string& path, short purgeType, short numPasses, bool deleteFile,
               bool okToPurgeReadOnly, bool okToPurgeSystem, short& resultCode,
               PurgeEnvironment& environment);

}  // namespace FilePurge
