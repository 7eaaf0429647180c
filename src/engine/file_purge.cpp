#include "engine/file_purge.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/cluster_size.h"
#include "engine/overwrite_buffers.h"
#include "engine/placement.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "text/random_source.h"

namespace FilePurge {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t kMinimumClusterSize = 512;
constexpr std::int32_t kMaximumClusterSize = 65536;

bool ValidClusterSize(std::int32_t size) {
  return size >= kMinimumClusterSize && size <= kMaximumClusterSize &&
         size % kMinimumClusterSize == 0;
}

// Writes the passes of one file through its open handle. It keeps the cluster buffers of the
// current pass and a run buffer that repeats one cluster buffer, so that one write call carries
// many clusters.
class PassWriter {
 public:
  PassWriter(PurgeEnvironment& environment, Platform::FileHandle& file, PurgeOutcome& outcome)
      : environment_(environment), file_(file), outcome_(outcome) {}

  // The passes of the request over the runs, each but the last followed by afterPass, and
  // firstPassDone once the first pass reached the disk; the code of the first failure,
  // kStopped when afterPass stopped the purge before its last pass, or kStoppedInPass when
  // abortNow stopped it at a write.
  short PassLoop(const PurgeRequest& request, std::int32_t clusterSize,
                 const std::vector<Platform::ByteRange>& runs, const AfterPass& afterPass,
                 const std::function<void()>& firstPassDone) {
    const auto sequence = OverwriteSequence(request.purgeType);
    environment_.random.Seed();
    for (short pass = 1; pass <= request.numPasses; ++pass) {
      Yield();
      buffers_.Build(static_cast<std::size_t>(clusterSize), environment_.random);
      runPattern_ = -1;
      for (const short pattern : sequence)
        if (const short code = Overwrite(pattern, runs); code != kPurged) return code;
      outcome_.passesDone = pass;
      if (pass == 1) firstPassDone();
      if (pass < request.numPasses && afterPass && !afterPass(pass)) return kStopped;
    }
    return kPurged;
  }

 private:
  short Fail(short code, std::error_code error) {
    outcome_.error = error;
    return code;
  }

  // One overwrite of every run, each from its first byte in whole clusters, then flushed to
  // the disk.
  short Overwrite(short pattern, const std::vector<Platform::ByteRange>& runs) {
    const auto clusterSize = static_cast<std::int64_t>(buffers_.ClusterSize());
    const std::int64_t clustersPerWrite = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(environment_.writeRunBytes) / clusterSize);
    for (const Platform::ByteRange& run : runs) {
      if (const std::error_code error = file_.Seek(run.offset)) return Fail(kWriteFailed, error);
      const std::int64_t clusters = run.length / clusterSize;
      const std::int64_t perWrite = std::min(clusters, clustersPerWrite);
      const unsigned char* data = PrepareRun(pattern, perWrite);
      for (std::int64_t remaining = clusters; remaining > 0;) {
        const std::int64_t count = std::min(remaining, perWrite);
        YieldWhenDue();
        if (environment_.abortNow != nullptr && environment_.abortNow->load())
          return kStoppedInPass;
        if (const std::error_code error =
                file_.WriteAll(data, static_cast<std::size_t>(count * clusterSize)))
          return Fail(kWriteFailed, error);
        outcome_.written = true;
        remaining -= count;
      }
    }
    if (const std::error_code error = file_.Sync()) return Fail(kFlushFailed, error);
    return kPurged;
  }

  // The bytes of clustersPerWrite clusters of the pattern's buffer in a row.
  const unsigned char* PrepareRun(short pattern, std::int64_t clustersPerWrite) {
    const std::vector<unsigned char>& cluster = buffers_.ForPattern(pattern);
    if (clustersPerWrite <= 1) return cluster.data();
    const auto count = static_cast<std::size_t>(clustersPerWrite);
    if (runPattern_ != pattern || runClusters_ < count) {
      run_.resize(count * cluster.size());
      for (std::size_t i = 0; i < count; ++i)
        std::copy(cluster.begin(), cluster.end(),
                  run_.begin() + static_cast<std::ptrdiff_t>(i * cluster.size()));
      runPattern_ = pattern;
      runClusters_ = count;
    }
    return run_.data();
  }

  void Yield() {
    lastYield_ = Clock::now();
    if (environment_.host != nullptr) environment_.host->Yield();
  }

  void YieldWhenDue() {
    if (environment_.host != nullptr && Clock::now() - lastYield_ >= environment_.yieldInterval)
      Yield();
  }

  PurgeEnvironment& environment_;
  Platform::FileHandle& file_;
  PurgeOutcome& outcome_;
  ClusterBuffers buffers_;
  std::vector<unsigned char> run_;
  short runPattern_ = -1;
  std::size_t runClusters_ = 0;
  Clock::time_point lastYield_ = Clock::now();
};

// The code that says whether the first pass destroyed the old data: kPurged when it did, or when
// the file system does not tell (outcome.verified is then false).
short ProofCode(const std::error_code& placementError, const Platform::FileLayout& before,
                const Platform::FileLayout& after, PurgeOutcome& outcome) {
  if (placementError) {
    outcome.error = placementError;
    return kPlacementUnknown;
  }
  switch (Placement::Judge(before, after)) {
    case Placement::Verdict::InPlace:
      return kPurged;
    case Placement::Verdict::NotTold:
      outcome.verified = false;
      return kPurged;
    case Placement::Verdict::Moved:
      return kMoved;
    case Placement::Verdict::Shared:
      return kShared;
    case Placement::Verdict::Inline:
      return kInline;
    case Placement::Verdict::Journaled:
      return kJournaled;
  }
  return kPlacementUnknown;
}

// The passes over the parts of the file that hold data, with where the data lies asked before
// the first overwrite and after the first pass; the code of the first failure, or of what the
// placement shows.
short OverwriteAndJudge(Platform::FileHandle& file, const PurgeRequest& request,
                        std::int32_t clusterSize, std::int64_t length,
                        PurgeEnvironment& environment, PurgeOutcome& outcome,
                        const AfterPass& afterPass) {
  // Holes hold nothing of the user's: only the parts with data are overwritten. Where the
  // system cannot tell them, all of the file is.
  std::vector<Platform::ByteRange> data;
  if (file.DataRanges(data)) data = {{0, length}};
  const std::vector<Platform::ByteRange> runs = Placement::ClusterRuns(data, length, clusterSize);
  Platform::FileLayout before;
  Platform::FileLayout after;
  std::error_code placementError = file.Layout(before);
  const auto firstPassDone = [&] {
    if (!placementError) placementError = file.Layout(after);
  };
  const short code = PassWriter(environment, file, outcome)
                         .PassLoop(request, clusterSize, runs, afterPass, firstPassDone);
  if (outcome.passesDone < 1 || (code != kPurged && code != kStopped)) return code;
  // Another program may have written past what the overwrites cover.
  const std::int64_t covered =
      runs.empty() ? length : std::max(length, runs.back().offset + runs.back().length);
  Platform::EntryStatus now;
  if (code == kPurged && !file.Status(now) && now.length > covered) return kGrew;
  const short proof = ProofCode(placementError, before, after, outcome);
  return code == kPurged ? proof : code;
}

// Removes the file's name, trying again as the environment says. A name that another program
// removed meanwhile counts as removed when the file has no name left.
std::error_code RemoveName(Platform::FileHandle& file, const Platform::FolderHandle& folder,
                           const std::string& name, const DeleteRetry& retry) {
  for (int attempt = 1;; ++attempt) {
    const std::error_code error = retry.remove(file, folder, name);
    if (!error) return {};
    Platform::EntryStatus status;
    if (error == std::errc::no_such_file_or_directory && !file.Status(status) && status.links == 0)
      return {};
    if (error == Platform::PlatformErrc::NameReplaced || attempt >= retry.attempts) return error;
    retry.sleep(retry.delayMilliseconds);
  }
}

// The refusals that come before anything is changed, from what the entry is.
short Refusal(const Platform::EntryStatus& entry, const PurgeRequest& request) {
  if (entry.kind != Platform::FileKind::Regular) return kNotARegularFile;
  if (entry.pseudoFileSystem) return kNotOnDisk;
  if (entry.readOnly && !request.okToPurgeReadOnly) return kReadOnly;
  if (entry.system && !request.okToPurgeSystem) return kSystemFile;
  if (entry.links > 1 && !request.okToPurgeHardLinked) return kHardLinked;
  return kPurged;
}

}  // namespace

bool OldDataMayRemain(short code) {
  return code == kMoved || code == kShared || code == kInline || code == kJournaled ||
         code == kPlacementUnknown || code == kGrew;
}

PurgeOutcome PurgeFileIn(const Platform::FolderHandle& folder, const std::string& name,
                         const PurgeRequest& request, PurgeEnvironment& environment,
                         const AfterPass& afterPass) {
  PurgeOutcome outcome;
  if (name.empty()) {
    outcome.code = kEmptyName;
    return outcome;
  }

  // Nothing but a regular file on a disk is ever touched, and both attribute refusals come
  // before anything is changed, so that a refused file keeps its attributes.
  Platform::EntryStatus entry;
  if (const std::error_code error = folder.Status(name, entry)) {
    outcome.code = kCannotOpenForWriting;
    outcome.error = error;
    return outcome;
  }
  outcome.otherNames = entry.links > 1 ? entry.links - 1 : 0;
  if ((outcome.code = Refusal(entry, request)) != kPurged) return outcome;
  if (entry.readOnly) (void)folder.ClearReadOnly(name);

  Platform::FileHandle file;
  Platform::EntryStatus opened;
  std::error_code error = file.OpenForWriting(folder, name);
  if (!error) error = file.Status(opened);
  if (error) {
    outcome.code =
        error == Platform::PlatformErrc::NotARegularFile ? kNotARegularFile : kCannotOpenForWriting;
    outcome.error = error;
    return outcome;
  }
  // The name may have been given to another file since it was looked at.
  opened.readOnly = false;
  opened.system = entry.system;
  outcome.otherNames = opened.links > 1 ? opened.links - 1 : 0;
  if (!(opened.identity == entry.identity)) {
    outcome.code = kReplaced;
    return outcome;
  }
  if ((outcome.code = Refusal(opened, request)) != kPurged) return outcome;

  const std::int64_t lengthToRestore = opened.length;
  std::string path = folder.Path();
  path += name;
  const std::int32_t clusterSize = environment.clusterSizes.ForPath(path);
  short code = kPurged;
  if (OverwriteSequence(request.purgeType).empty() || request.numPasses < 1)
    code = kInvalidPurgeType;
  else if (!ValidClusterSize(clusterSize))
    code = kInvalidClusterSize;
  else
    code = OverwriteAndJudge(file, request, clusterSize, lengthToRestore, environment, outcome,
                             afterPass);
  bool deleted = false;
  if ((code == kPurged || OldDataMayRemain(code)) && request.deleteFile) {
    // The other names keep the file: they get its length back before this name goes.
    if (outcome.otherNames > 0) (void)file.Truncate(lengthToRestore);
    if (const std::error_code removal = RemoveName(file, folder, name, environment.deleteRetry)) {
      code = kNotDeleted;
      outcome.error = removal;
    } else {
      deleted = true;
    }
  }
  if (environment.host != nullptr) environment.host->FileDone();

  if (!environment.performingSpeedTest && !deleted) {
    if (const std::error_code resize = file.Truncate(lengthToRestore); resize && code == kPurged) {
      code = kSizeNotRestored;
      outcome.error = resize;
    }
    if (!request.deleteFile || code == kStopped || code == kStoppedInPass)
      (void)file.SetTimes(entry.times);
  }
  const std::error_code closing = file.Close();
  if (closing && code == kPurged) {
    code = kFlushFailed;
    outcome.error = closing;
  }
  outcome.code = code;
  return outcome;
}

bool PurgeFile(const std::string& path, short purgeType, short numPasses, bool deleteFile,
               bool okToPurgeReadOnly, bool okToPurgeSystem, short& resultCode,
               PurgeEnvironment& environment) {
  if (path.empty()) {
    resultCode = kEmptyName;
    return false;
  }
  // A link, folder, device or pipe named by its path is refused before anything is opened.
  Platform::FileAttributes attributes;
  const bool found = !Platform::GetFileAttributes(path, attributes);
  if (found && attributes.kind != Platform::FileKind::Regular) {
    resultCode = kNotARegularFile;
    return false;
  }
  // The last name of the path in its folder; a path ending in a separator names a folder.
  const std::string folderPath = Platform::FolderPart(path);
  const std::string name = Platform::NamePart(path);
  if (name.empty()) {
    resultCode = found ? kNotARegularFile : kCannotOpenForWriting;
    return false;
  }
  Platform::FolderHandle folder;
  if (folder.Open(folderPath.empty() ? std::string(".") : folderPath)) {
    resultCode = kCannotOpenForWriting;
    return false;
  }
  const PurgeOutcome outcome = PurgeFileIn(
      folder, name, {purgeType, numPasses, deleteFile, okToPurgeReadOnly, okToPurgeSystem, false},
      environment);
  if (outcome.code == kPurged && deleteFile) (void)folder.Sync();
  resultCode = outcome.code;
  return resultCode >= 0;
}

}  // namespace FilePurge
