#include "engine/free_space_purge.h"

#include <algorithm>
#include <vector>

#include "engine/cluster_size.h"
#include "engine/fill_disk.h"
#include "engine/overwrite_buffers.h"
#include "platform/atomic_file.h"
#include "platform/errors.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "text/random_source.h"

namespace FreeSpacePurge {
namespace {

using Clock = std::chrono::steady_clock;

// The fill files are at most a 200th of the free space each (when that is more than the largest
// fill file), so that there are never many of them.
constexpr std::int64_t kFillFilesForTheWholeSpace = 200;
// Once the drive is full, new fill files of single clusters take what is left, as long as each
// gets something, and this many at most.
constexpr int kMostLastFiles = 16;
// How much of a fill file is written before the disk is set to write it.
constexpr std::int64_t kWriteBackStep = std::int64_t{32} << 20;
// A drive that took twice its free space and this much more is not filling up.
constexpr std::int64_t kFillBeyondFreeSpace = std::int64_t{64} << 20;
// Folder names tried for the dummy folder: the stub and 1 to this.
constexpr int kMostDummyFolders = 9999;

struct FillFile {
  std::string name;
  std::int64_t length = 0;
  Platform::FileIdentity identity;
  Platform::FileHandle handle;
};

bool IsNameMissing(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

// Writes the fill files of one purge: the fill with the first overwrite, the later overwrites in
// place, and their deletion. It keeps a run buffer of one cluster's pattern repeated, one cluster
// longer than a write call, so that a write may start anywhere within a cluster and still put
// every byte where the pattern has it from the file's start.
class Filler {
 public:
  Filler(Environment& environment, const Platform::FolderHandle& folder, Outcome& outcome)
      : environment_(environment), folder_(folder), outcome_(outcome) {
    cluster_ = outcome.clusterSize;
    runBytes_ =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(environment.writeRunBytes) / cluster_) *
        cluster_;
    const std::int64_t share =
        outcome.before.availableBytes / kFillFilesForTheWholeSpace / cluster_ * cluster_;
    largestFile_ = std::max({environment.largestFillFile / cluster_ * cluster_, share, cluster_});
    reserveStep_ = largestFile_;
    mostFilled_ = 2 * std::max(outcome.before.freeBytes, outcome.before.availableBytes) +
                  kFillBeyondFreeSpace;
  }

  // Overwrite 1: fill files written with the pattern of cluster until the drive is full. False
  // when the purge does not go on (stopped, or a failure, with the outcome's ending set).
  bool Fill(short number, const std::vector<unsigned char>& cluster) {
    PrepareRun(cluster);
    std::int64_t chunk = runBytes_;
    int lastFiles = 0;
    bool full = false;
    for (int next = 1; next <= 1000000; ++next) {
      FillFile file;
      file.name = std::string(FillDisk::kDummyStub) + std::to_string(next);
      if (const std::error_code error = file.handle.CreateNew(folder_, file.name)) {
        if (error == std::errc::file_exists) continue;
        const Platform::WriteLimit limit = Platform::WriteLimitOf(error);
        if (limit == Platform::WriteLimit::DriveFull || limit == Platform::WriteLimit::QuotaReached)
          return Filled(number, limit);
        return Fail(Ending::WriteFailed, error);
      }
      Platform::EntryStatus status;
      if (const std::error_code error = file.handle.Status(status)) {
        (void)file.handle.RemoveName(folder_, file.name);
        return Fail(Ending::WriteFailed, error);
      }
      file.identity = status.identity;
      files_.push_back(std::move(file));
      ++outcome_.fillFiles;
      FillFile& current = files_.back();

      Platform::WriteLimit limit = Platform::WriteLimit::None;
      // Where the file system can, room for the data is reserved ahead of the writes, so that
      // they never wait for it to find blocks; near the end of the free space that waiting takes
      // most of the time.
      std::int64_t room = 0;
      std::int64_t writtenBack = 0;
      while (current.length < largestFile_) {
        if (StopRequested()) return Fail(Ending::Stopped, {});
        if (reserving_ && current.length == room) {
          const std::int64_t want = std::min(reserveStep_, largestFile_ - current.length);
          const std::error_code error = environment_.reserve(current.handle, current.length, want);
          limit = Platform::WriteLimitOf(error);
          if (!error) {
            room = current.length + want;
          } else if (limit == Platform::WriteLimit::None) {
            reserving_ = false;  // the file system reserves nothing: the writes find the room
          } else if (limit == Platform::WriteLimit::FileTooLarge) {
            if (current.length < cluster_) return Fail(Ending::WriteFailed, error);
            largestFile_ = current.length;
            break;
          } else if (reserveStep_ > cluster_) {
            reserveStep_ = std::max(cluster_, reserveStep_ / 2 / cluster_ * cluster_);
            continue;
          } else {
            full = true;
            limit_ = limit;
            break;
          }
        }
        // Each write ends at the end of a cluster, also after one that took part of its bytes.
        const std::int64_t end = std::min(current.length / cluster_ * cluster_ + chunk,
                                          reserving_ ? room : largestFile_);
        const std::error_code error = Write(current, end - current.length);
        if (!error) {
          if (outcome_.filledBytes > mostFilled_) return Fail(Ending::NotFilling, {});
          // The disk writes what is done while the next part is made, as a flush at the file's
          // end alone would keep it waiting until then.
          if (current.length - writtenBack >= kWriteBackStep) {
            current.handle.BeginWriteBack(writtenBack, current.length - writtenBack);
            writtenBack = current.length;
          }
          Progress(number, outcome_.bytesWritten);
          continue;
        }
        limit = Platform::WriteLimitOf(error);
        if (limit == Platform::WriteLimit::None) return Fail(Ending::WriteFailed, error);
        if (limit == Platform::WriteLimit::FileTooLarge) {
          // The largest file the drive takes: the next ones are made as long as this one.
          if (current.length < cluster_) return Fail(Ending::WriteFailed, error);
          largestFile_ = current.length / cluster_ * cluster_;
          break;
        }
        // Written through, a file gives back what the file system set aside for data still in
        // memory, which may leave room for smaller writes.
        if (const std::error_code flush = current.handle.Sync())
          return Fail(Ending::FlushFailed, flush);
        if (chunk > cluster_) {
          chunk = std::max(cluster_, chunk / 2 / cluster_ * cluster_);
          continue;
        }
        full = true;
        limit_ = limit;
        break;
      }
      if (const std::error_code error = current.handle.Sync())
        return Fail(Ending::FlushFailed, error);
      const bool empty = current.length == 0;
      if (empty) {
        (void)current.handle.RemoveName(folder_, current.name);
        (void)current.handle.Close();
        files_.pop_back();
        --outcome_.fillFiles;
      } else if (files_.size() > environment_.maxOpenFiles) {
        if (const std::error_code error = current.handle.Close())
          return Fail(Ending::FlushFailed, error);
      }
      if (full) {
        // The drive is full for writes of one cluster to this file: new files of single
        // clusters take what is left, while each gets something.
        if (empty || ++lastFiles > kMostLastFiles) return Filled(number, limit_);
        chunk = reserveStep_ = cluster_;
        full = false;
      }
    }
    return Filled(number, limit_);
  }

  // A later overwrite: every fill file written again in place with the pattern, and flushed.
  bool Rewrite(short number, const std::vector<unsigned char>& cluster) {
    PrepareRun(cluster);
    const std::int64_t before = outcome_.bytesWritten;
    for (std::size_t index = 0; index < files_.size(); ++index) {
      FillFile& file = files_[index];
      if (const std::error_code error = Reopen(file)) return Fail(Ending::WriteFailed, error);
      if (const std::error_code error = file.handle.Seek(0))
        return Fail(Ending::WriteFailed, error);
      for (std::int64_t at = 0; at < file.length;) {
        if (StopRequested()) return Fail(Ending::Stopped, {});
        const std::int64_t size = std::min(runBytes_, file.length - at);
        if (const std::error_code error =
                environment_.write(file.handle, run_.data(), static_cast<std::size_t>(size)))
          return Fail(Ending::WriteFailed, error);
        at += size;
        outcome_.bytesWritten += size;
        Progress(number, outcome_.bytesWritten - before);
      }
      if (const std::error_code error = file.handle.Sync()) return Fail(Ending::FlushFailed, error);
      if (index >= environment_.maxOpenFiles) {
        if (const std::error_code error = file.handle.Close())
          return Fail(Ending::FlushFailed, error);
      }
    }
    Done(number, outcome_.bytesWritten - before);
    return true;
  }

  // Deletes every fill file, each by its own handle (opened again where it was closed), so that
  // only the file that was written goes. The first failure is kept in the outcome.
  void DeleteAll() {
    for (FillFile& file : files_) {
      std::error_code error;
      if (!file.handle.IsOpen()) error = file.handle.OpenForWriting(folder_, file.name);
      for (int attempt = 1; !error; ++attempt) {
        error = file.handle.RemoveName(folder_, file.name);
        if (!error || IsNameMissing(error) || error == Platform::PlatformErrc::NameReplaced ||
            attempt >= environment_.removeAttempts)
          break;
        environment_.sleep(500);
      }
      (void)file.handle.Close();
      if (error && !IsNameMissing(error)) NoteRemovalError(error);
    }
    files_.clear();
  }

  void NoteRemovalError(const std::error_code& error) {
    if (outcome_.removed) outcome_.removalError = error;
    outcome_.removed = false;
  }

 private:
  bool Filled(short number, Platform::WriteLimit limit) {
    outcome_.ending =
        limit == Platform::WriteLimit::QuotaReached ? Ending::QuotaReached : Ending::Full;
    Done(number, outcome_.bytesWritten);
    return true;
  }

  void Done(short number, std::int64_t bytes) {
    outcome_.overwritesDone = number;
    if (environment_.host != nullptr) environment_.host->OverwriteDone(number, bytes, FileCount());
  }

  int FileCount() const { return static_cast<int>(files_.size()); }

  bool Fail(Ending ending, const std::error_code& error) {
    outcome_.ending = ending;
    outcome_.error = error;
    return false;
  }

  // Writes size bytes of the pattern at the file's end, as they lie there from the file's start. On
  // failure the file's length is read again, as a write may have taken part of its bytes.
  std::error_code Write(FillFile& file, std::int64_t size) {
    const auto start = static_cast<std::size_t>(file.length % cluster_);
    std::error_code error =
        environment_.write(file.handle, run_.data() + start, static_cast<std::size_t>(size));
    std::int64_t length = file.length + size;
    if (error) {
      // What a failed write took counts only where the file's length tells it, without room
      // reserved beyond it; the next write begins after what counts, whatever the failed one left.
      length = file.length;
      Platform::EntryStatus status;
      if (!reserving_ && !file.handle.Status(status)) length = std::max(length, status.length);
      if (const std::error_code seek = file.handle.Seek(length)) return seek;
    }
    outcome_.bytesWritten += length - file.length;
    outcome_.filledBytes += length - file.length;
    file.length = length;
    return error;
  }

  // A file that was closed is opened again, as long as its name still leads to it.
  std::error_code Reopen(FillFile& file) {
    if (file.handle.IsOpen()) return {};
    if (const std::error_code error = file.handle.OpenForWriting(folder_, file.name)) return error;
    Platform::EntryStatus status;
    if (const std::error_code error = file.handle.Status(status)) return error;
    if (!(status.identity == file.identity)) {
      (void)file.handle.Close();
      return Platform::PlatformErrc::NameReplaced;
    }
    return {};
  }

  void PrepareRun(const std::vector<unsigned char>& cluster) {
    const auto clusters = static_cast<std::size_t>(runBytes_ / cluster_) + 1;
    run_.resize(clusters * cluster.size());
    for (std::size_t i = 0; i < clusters; ++i)
      std::copy(cluster.begin(), cluster.end(),
                run_.begin() + static_cast<std::ptrdiff_t>(i * cluster.size()));
  }

  bool StopRequested() {
    if (environment_.host == nullptr) return false;
    if (Clock::now() - lastYield_ >= environment_.yieldInterval) {
      lastYield_ = Clock::now();
      environment_.host->Yield();
      progressDue_ = true;
    }
    return environment_.host->StopRequested();
  }

  void Progress(short number, std::int64_t bytes) {
    if (!progressDue_ || environment_.host == nullptr) return;
    progressDue_ = false;
    environment_.host->Progress(number, bytes);
  }

  Environment& environment_;
  const Platform::FolderHandle& folder_;
  Outcome& outcome_;
  std::int64_t cluster_ = 4096;
  std::int64_t runBytes_ = 0;
  std::int64_t largestFile_ = 0;
  std::int64_t mostFilled_ = 0;
  // Room is reserved ahead of the writes, this much at a time, until the file system says it
  // cannot reserve (then the writes alone find the room).
  bool reserving_ = true;
  std::int64_t reserveStep_ = 0;
  std::vector<unsigned char> run_;
  std::vector<FillFile> files_;
  Platform::WriteLimit limit_ = Platform::WriteLimit::DriveFull;
  Clock::time_point lastYield_ = Clock::now();
  bool progressDue_ = false;
};

// The dummy folder in parent: the stub and the first number for which nothing of that name
// exists; its name, or empty with the error that kept it from being made.
std::string MakeDummyFolder(const std::string& parent, std::error_code& error) {
  for (int number = 1; number <= kMostDummyFolders; ++number) {
    const std::string name = std::string(FillDisk::kDummyStub) + std::to_string(number);
    const std::string path = JoinPath(parent, name);
    if (Platform::FileExists(path) || Platform::FolderExists(path)) continue;
    error = Platform::CreateFolder(path);
    if (!error) return name;
    if (error != std::errc::file_exists) return {};
  }
  error = std::make_error_code(std::errc::file_exists);
  return {};
}

// Dummy folders of purges that were cut short, in the folder where a new one is to be made.
void RemoveLeftoversIn(const Platform::FolderHandle& parent, const std::string& parentPath) {
  std::vector<std::string> folders;
  (void)parent.List([&folders](const Platform::FolderEntry& entry) {
    if (entry.isFolder && IsDummyName(entry.name)) folders.push_back(entry.name);
    return true;
  });
  for (const std::string& name : folders) {
    std::error_code ignored;
    (void)RemoveLeftoverFolder(JoinPath(parentPath, name), ignored);
  }
}

// Makes the marker in the dummy folder, locked for as long as marker stays open.
std::error_code MakeMarker(const Platform::FolderHandle& folder, Platform::FileHandle& marker) {
  if (const std::error_code error = marker.CreateNew(folder, kMarkerName)) return error;
  const std::string text = kMarkerText;
  std::error_code error = marker.TryLock();
  if (!error) error = marker.WriteAll(text.data(), text.size());
  if (!error) error = marker.Sync();
  if (!error) error = folder.Sync();
  return error;
}

}  // namespace

bool IsDummyName(const std::string& name) {
  const std::string stub = FillDisk::kDummyStub;
  return name.size() > stub.size() && name.compare(0, stub.size(), stub) == 0 &&
         name.find_first_not_of("0123456789", stub.size()) == std::string::npos;
}

std::error_code Environment::QueryFolderSpace(const std::string& folder,
                                              Platform::DriveSpace& space) {
  return Platform::QueryFolderSpace(folder, space);
}

Outcome Run(const std::string& folder, short purgeType, short passes, Environment& environment) {
  Outcome outcome;
  const Clock::time_point start = environment.now();
  const auto finish = [&outcome, &environment, start] {
    outcome.seconds = std::chrono::duration<double>(environment.now() - start).count();
    return outcome;
  };
  const auto sequence = FilePurge::OverwriteSequence(purgeType);
  if (sequence.empty() || passes < 1) {
    outcome.ending = Ending::InvalidType;
    return finish();
  }
  outcome.overwrites = static_cast<short>(passes * static_cast<short>(sequence.size()));
  if (const std::error_code error = environment.querySpace(folder, outcome.before)) {
    outcome.ending = Ending::SpaceUnknown;
    outcome.error = error;
    return finish();
  }
  outcome.clusterSize = environment.clusterSizes.ForPath(JoinPath(folder, kMarkerName));
  if (environment.host != nullptr) environment.host->Began(outcome.before);

  const auto notMade = [&outcome, &finish](const std::error_code& error) {
    outcome.ending = Ending::FolderNotMade;
    outcome.error = error;
    return finish();
  };
  Platform::FolderHandle parent;
  if (const std::error_code error = parent.Open(folder)) return notMade(error);
  RemoveLeftoversIn(parent, folder);
  std::error_code error;
  const std::string name = MakeDummyFolder(folder, error);
  if (name.empty()) return notMade(error);
  outcome.dummyFolder = JoinPath(folder, name);
  Platform::FolderHandle dummy;
  if ((error = parent.OpenSubfolder(name, dummy))) {
    // Only an empty folder is removed, never a link put in its place.
    (void)Platform::RemoveFolder(outcome.dummyFolder);
    outcome.dummyFolder.clear();
    return notMade(error);
  }
  Platform::FileIdentity dummyIdentity;
  (void)dummy.Identity(dummyIdentity);
  if (environment.host != nullptr) environment.host->FolderMade(outcome.dummyFolder);

  Platform::FileHandle marker;
  error = MakeMarker(dummy, marker);
  Filler filler(environment, dummy, outcome);
  if (error) {
    outcome.ending = Ending::FolderNotMade;
    outcome.error = error;
  } else {
    environment.random.Seed();
    FilePurge::ClusterBuffers buffers;
    short number = 0;
    bool goOn = true;
    for (short pass = 1; pass <= passes && goOn; ++pass) {
      buffers.Build(static_cast<std::size_t>(outcome.clusterSize), environment.random);
      for (const short pattern : sequence) {
        ++number;
        if (environment.host != nullptr)
          environment.host->OverwriteStarted(
              number, pattern, number == 1 ? outcome.before.availableBytes : outcome.filledBytes);
        const auto& cluster = buffers.ForPattern(pattern);
        goOn = number == 1 ? filler.Fill(number, cluster) : filler.Rewrite(number, cluster);
        if (number == 1) {
          // The file system took blocks of the free space for its own records of the fill (the
          // dummy folder's entries, the fill files' extents). Written home now, they hold those
          // records rather than old data when the deletion frees them; left in the journal, they
          // would be freed without ever being written.
          if (const std::error_code flush = dummy.SyncFileSystem(); flush && goOn) {
            outcome.ending = Ending::FlushFailed;
            outcome.error = flush;
            goOn = false;
          }
          if (outcome.fillFiles > 0)
            outcome.fullKnown = !environment.querySpace(folder, outcome.full);
        }
        if (!goOn) break;
      }
    }
  }

  filler.DeleteAll();
  if (marker.IsOpen()) {
    if (const std::error_code removal = marker.RemoveName(dummy, kMarkerName))
      filler.NoteRemovalError(removal);
    (void)marker.Close();
  }
  (void)dummy.Sync();
  dummy.Close();
  if (const std::error_code removal = parent.RemoveSubfolder(name, dummyIdentity)) {
    filler.NoteRemovalError(removal);
  } else {
    if (const std::error_code flush = parent.Sync()) filler.NoteRemovalError(flush);
    if (environment.host != nullptr) environment.host->FolderRemoved(outcome.dummyFolder);
  }
  outcome.afterKnown = !environment.querySpace(folder, outcome.after);
  return finish();
}

Leftover RemoveLeftoverFolder(const std::string& folderPath, std::error_code& error) {
  error = {};
  const std::string path = WithoutTrailingSeparator(folderPath);
  const std::string name = Platform::NamePart(path);
  const std::string parentPath = Platform::FolderPart(path);
  Platform::FolderHandle parent;
  Platform::FolderHandle folder;
  if ((error = parent.Open(parentPath.empty() ? std::string(".") : parentPath)) ||
      (error = parent.OpenSubfolder(name, folder))) {
    if (IsNameMissing(error)) return Leftover::Missing;
    if (error == Platform::PlatformErrc::NotAFolder) return Leftover::NotOurs;
    return Leftover::NotRemoved;
  }
  // Only the program's own marker, with the program's own words in it, makes the folder its own.
  Platform::EntryStatus status;
  std::string text;
  if (folder.Status(kMarkerName, status) || status.kind != Platform::FileKind::Regular ||
      Platform::ReadWholeFile(JoinPath(path, kMarkerName), text, 4096) || text != kMarkerText)
    return Leftover::NotOurs;
  Platform::FileHandle marker;
  if ((error = marker.OpenForWriting(folder, kMarkerName))) return Leftover::NotRemoved;
  if ((error = marker.TryLock())) {
    if (error == std::errc::resource_unavailable_try_again) {
      error = {};
      return Leftover::InUse;
    }
    return Leftover::NotRemoved;
  }

  std::vector<std::string> fillFiles;
  bool others = false;
  if ((error = folder.List([&](const Platform::FolderEntry& entry) {
        if (entry.name == kMarkerName) return true;
        if (!entry.isFolder && IsDummyName(entry.name))
          fillFiles.push_back(entry.name);
        else
          others = true;
        return true;
      })))
    return Leftover::NotRemoved;
  for (const std::string& fillFile : fillFiles) {
    Platform::FileHandle file;
    // A link or anything else under a fill file's name is not the program's: it stays.
    std::error_code removal = file.OpenForWriting(folder, fillFile);
    if (removal == Platform::PlatformErrc::NotARegularFile) {
      others = true;
      continue;
    }
    if (!removal) removal = file.RemoveName(folder, fillFile);
    (void)file.Close();
    if (removal && !IsNameMissing(removal)) {
      error = removal;
      return Leftover::NotRemoved;
    }
  }
  if ((error = marker.RemoveName(folder, kMarkerName))) return Leftover::NotRemoved;
  (void)marker.Close();
  (void)folder.Sync();
  if (others) return Leftover::OthersKept;
  Platform::FileIdentity identity;
  if ((error = folder.Identity(identity))) return Leftover::NotRemoved;
  folder.Close();
  if ((error = parent.RemoveSubfolder(name, identity))) return Leftover::NotRemoved;
  (void)parent.Sync();
  return Leftover::Removed;
}

}  // namespace FreeSpacePurge
