#pragma once

// Purging the free space of a drive, where the old data of deleted files and of files that were
// saved anew under their old names remains in blocks that no file owns any more. Fill files are
// written in a dummy folder of their own, with the overwrites of the chosen type of purge, until
// the file system is full; every further overwrite rewrites them in place through their open
// handles, flushed to the disk after each; then they are deleted with their folder. The folder
// holds a marker file of the program's own, locked while the purge runs, so that a folder that a
// crash left behind is known as the program's and removed at the next start.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

#include "platform/drives.h"
#include "platform/handles.h"

class DriveClusterSize;
class RandomSource;

namespace FreeSpacePurge {

// The marker file of a dummy folder that a purge of free space made, and the text it holds.
inline constexpr const char* kMarkerName = "_kx_dummy.kexwell";
inline constexpr const char* kMarkerText =
    "Kexwell fills the free space of this drive with the files of this folder.\r\n"
    "Kexwell removes the folder when the purge ends, or at its next start.\r\n";

// True for the name of a fill file or a dummy folder: the dummy stub followed by digits only.
bool IsDummyName(const std::string& name);

// How the fill and the overwrites ended.
enum class Ending {
  Full,           // the file system said it was full: every overwrite covered all that was filled
  QuotaReached,   // the user's quota on the drive ended the fill
  NotFilling,     // the drive took twice its free space without becoming full: it compresses or
                  // shares what is written, so the fill files do not reach every free block
  Stopped,        // the user stopped the purge
  InvalidType,    // the type of purge or the number of passes is not one the program offers
  SpaceUnknown,   // the drive's free space could not be read
  FolderNotMade,  // the dummy folder or its marker could not be made
  WriteFailed,    // a write failed, other than for a full drive or quota
  FlushFailed,    // the data could not be written through to the disk
};

// What a purge of free space did.
struct Outcome {
  Ending ending = Ending::Full;
  std::error_code error;  // the system's reason for a failure, where there is one
  std::string dummyFolder;
  Platform::DriveSpace before;  // when the purge began
  Platform::DriveSpace full;    // when the fill ended (fullKnown), before the deletion
  Platform::DriveSpace after;   // once the fill files were deleted (afterKnown)
  bool fullKnown = false;
  bool afterKnown = false;
  std::int64_t clusterSize = 0;
  int fillFiles = 0;
  std::int64_t filledBytes = 0;   // the space the fill files took: the sum of their lengths
  std::int64_t bytesWritten = 0;  // all overwrites together
  short overwrites = 0;           // asked for: passes x overwrites per pass
  short overwritesDone = 0;       // written in full over every fill file
  double seconds = 0;
  // Every fill file, the marker and the folder were deleted; otherwise why not.
  bool removed = true;
  std::error_code removalError;
};

// What a purge of free space tells the program around it.
class FillHost {
 public:
  virtual ~FillHost() = default;
  // A poll point between two writes, at most every few milliseconds: the program attends to its
  // window here, and waits here while the purge is paused.
  virtual void Yield() {}
  // True once the user asked to stop; looked at between two writes.
  virtual bool StopRequested() { return false; }
  // The drive's space has been read as the purge begins.
  virtual void Began(const Platform::DriveSpace& /*before*/) {}
  // Overwrite `number` (from 1) with pattern code `pattern` begins; it is to write about
  // bytesToDo bytes (the free space for the first, which fills it; the fill files' for the
  // others).
  virtual void OverwriteStarted(short /*number*/, short /*pattern*/, std::int64_t /*bytesToDo*/) {}
  // Bytes written of the overwrite under way so far, at each poll point.
  virtual void Progress(short /*number*/, std::int64_t /*bytesDone*/) {}
  // Overwrite `number` reached the disk in full: bytes it wrote over how many fill files.
  virtual void OverwriteDone(short /*number*/, std::int64_t /*bytes*/, int /*files*/) {}
  // The dummy folder was made, and removed: the program notes it, so that a folder left by a
  // crash is found at the next start.
  virtual void FolderMade(const std::string& /*path*/) {}
  virtual void FolderRemoved(const std::string& /*path*/) {}
};

struct Environment {
  Environment(DriveClusterSize& sizes, RandomSource& source)
      : clusterSizes(sizes), random(source) {}

  DriveClusterSize& clusterSizes;
  RandomSource& random;
  FillHost* host = nullptr;
  // The fill files are this long at most, or a 200th of the free space when that is longer, so
  // that their number stays small whatever the drive.
  std::int64_t largestFillFile = std::int64_t{1} << 30;
  // The fill files beyond this many are closed once written, and opened again for each further
  // overwrite and for their deletion.
  std::size_t maxOpenFiles = 256;
  // How many bytes one write call carries: whole clusters of one pattern.
  std::size_t writeRunBytes = 1 << 20;
  std::chrono::milliseconds yieldInterval{40};
  // How a write is made, how room is reserved ahead of the writes, and how the drive's space is
  // read. Tests put a smaller drive here.
  std::function<std::error_code(Platform::FileHandle& file, const void* data, std::size_t size)>
      write = [](Platform::FileHandle& file, const void* data, std::size_t size) {
        return file.WriteAll(data, size);
      };
  std::function<std::error_code(Platform::FileHandle& file, std::int64_t offset,
                                std::int64_t length)>
      reserve = [](Platform::FileHandle& file, std::int64_t offset, std::int64_t length) {
        return file.Reserve(offset, length);
      };
  std::function<std::error_code(const std::string& folder, Platform::DriveSpace& space)>
      querySpace = QueryFolderSpace;
  // Removing a name again after a failure: four tries 500 ms apart.
  int removeAttempts = 4;
  std::function<void(int)> sleep = Platform::SleepMilliseconds;
  // The clock that times the purge.
  std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;

  // The space of the drive that holds folder.
  static std::error_code QueryFolderSpace(const std::string& folder, Platform::DriveSpace& space);
};

// Purges the free space of the drive that holds folder, from a dummy folder made in it, with
// passes passes of the purge type's overwrites. Whatever ends it (a stop, an error), the fill
// files, the marker and the dummy folder are deleted before it returns.
Outcome Run(const std::string& folder, short purgeType, short passes, Environment& environment);

// What became of a dummy folder that an earlier run may have left behind.
enum class Leftover {
  Removed,     // its fill files, its marker and the folder itself were deleted
  OthersKept,  // its fill files and marker were deleted; other entries in it were left with it
  NotOurs,     // it holds no marker of the program's: left alone
  InUse,       // a purge of free space is filling it now: left alone
  Missing,     // it is gone
  NotRemoved,  // it could not be removed (error says why)
};

// Removes the dummy folder of a purge of free space that was cut short (the program ended
// without its cleanup): its fill files and its marker, then the folder when nothing else is in
// it. Only a folder that holds the program's marker is touched, and only while no purge holds it.
Leftover RemoveLeftoverFolder(const std::string& folder, std::error_code& error);

}  // namespace FreeSpacePurge
