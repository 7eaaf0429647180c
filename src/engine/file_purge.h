#pragma once

// Purging one file: overwriting its clusters with the patterns of a purge type, flushing after
// every overwrite, then deleting it or giving it back its length and time stamps. The file is
// opened once, relative to its open folder, and that one handle serves every pass, its length
// and times, and the check that its name still leads to it before the name is removed.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

#include "platform/files.h"
#include "platform/handles.h"

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
inline constexpr short kStopped = -14;   // stopped between two passes: overwritten, not deleted
inline constexpr short kReplaced = -15;  // the name led to another file when it was opened
// Overwritten, but the old data remains: the file system wrote the new bytes to other blocks
// (kMoved), the blocks are shared with another file or a snapshot (kShared), the data lay inside
// the file system's records (kInline), the file system journals file data (kJournaled), or it
// could not say where the data lies (kPlacementUnknown).
inline constexpr short kMoved = -16;
inline constexpr short kShared = -17;
inline constexpr short kInline = -18;
inline constexpr short kJournaled = -19;
inline constexpr short kPlacementUnknown = -20;
// Overwritten, but the file grew meanwhile: what was added was not overwritten.
inline constexpr short kGrew = -21;
// Stopped during a pass, at a write: partly overwritten, not deleted.
inline constexpr short kStoppedInPass = -22;
inline constexpr short kReadOnly = -53;
inline constexpr short kSystemFile = -54;
inline constexpr short kHardLinked = -55;  // the file has other names and they are not allowed
inline constexpr short kNotOnDisk =
    -56;  // the file lies on one of the system's pseudo file systems

// True for the codes of a file that was overwritten in full while its old data may remain
// (kMoved, kShared, kInline, kJournaled, kPlacementUnknown, kGrew). Such a file is still deleted when
// deletion was asked for.
bool OldDataMayRemain(short code);

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

// How deletion retries: four tries 500 ms apart. Tests replace the removal and the wait.
struct DeleteRetry {
  int attempts = 4;
  int delayMilliseconds = 500;
  std::function<std::error_code(Platform::FileHandle&, const Platform::FolderHandle&,
                                const std::string&)>
      remove = [](Platform::FileHandle& file, const Platform::FolderHandle& folder,
                  const std::string& name) { return file.RemoveName(folder, name); };
  std::function<void(int)> sleep = Platform::SleepMilliseconds;
};

struct PurgeEnvironment {
  PurgeEnvironment(DriveClusterSize& sizes, RandomSource& source)
      : clusterSizes(sizes), random(source) {}

  DriveClusterSize& clusterSizes;
  RandomSource& random;
  PurgeHost* host = nullptr;
  // While the speed test runs, lengths and time stamps are not restored.
  bool performingSpeedTest = false;
  DeleteRetry deleteRetry;
  // How many bytes one write call carries: whole clusters of the same buffer, at least one.
  std::size_t writeRunBytes = 1 << 20;
  // Shortest time between two yields while writing.
  std::chrono::milliseconds yieldInterval{40};
  // Looked at before every write: once set, the purge stops there (kStoppedInPass). It may be set
  // from anywhere, a signal handler included.
  const std::atomic<bool>* abortNow = nullptr;
};

// What is asked of the purge of one file.
struct PurgeRequest {
  short purgeType = 0;
  short numPasses = 1;
  bool deleteFile = true;  // delete the file after the last pass
  bool okToPurgeReadOnly = false;
  bool okToPurgeSystem = false;
  bool okToPurgeHardLinked = false;  // a file with other names, which keep its overwritten content
};

// What the purge of one file did.
struct PurgeOutcome {
  short code = kPurged;
  std::error_code error;         // the system's reason for a failure, where there is one
  short passesDone = 0;          // passes written in full
  std::uint64_t otherNames = 0;  // names of the file besides the one purged
  // False when the file system does not say where a file's data lies, so that the overwrite
  // could not be checked (tmpfs, network and FUSE file systems).
  bool verified = true;
  // Some of the purge's bytes were written to the file.
  bool written = false;
};

// Called after each pass but the last with the number of passes done; false stops the purge
// there.
using AfterPass = std::function<bool(short passesDone)>;

// Purges the file `name` of an open folder: the request's passes through one handle, then its
// deletion. Only the parts of the file that hold data are overwritten. Where the data lies is
// asked before the first overwrite and after the first pass: a file whose old data remains gets
// the code that says why, and is still deleted when deletion was asked for. A stop between two
// passes leaves the file overwritten and not deleted (kStopped); environment.abortNow stops it at
// its next write, partly overwritten and not deleted (kStoppedInPass). A stopped file, like a
// kept one, gets back its length and times.
PurgeOutcome PurgeFileIn(const Platform::FolderHandle& folder, const std::string& name,
                         const PurgeRequest& request, PurgeEnvironment& environment,
                         const AfterPass& afterPass = {});

// Purges one file named by its path: numPasses passes of the purge type's overwrites, then deletes
// it when deleteFile is set. Read-only and system files are purged only when allowed; a file with
// other names never is. resultCode receives the result code; the return value is true when it is
// 0 or greater.
bool PurgeFile(const std::string& path, short purgeType, short numPasses, bool deleteFile,
               bool okToPurgeReadOnly, bool okToPurgeSystem, short& resultCode,
               PurgeEnvironment& environment);

}  // namespace FilePurge
