#include "engine/file_purge.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/cluster_size.h"
#include "engine/overwrite_buffers.h"
#include "platform/errors.h"
#include "platform/files.h"
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

// Writes the passes of one file. It keeps the cluster buffers of the current pass and a run
// buffer that repeats one cluster buffer, so that one write call carries many clusters.
class PassWriter {
 public:
  explicit PassWriter(PurgeEnvironment& environment) : environment_(environment) {}

  short PassLoop(const std::string& path, short purgeType, short numPasses, bool deleteFile,
                 std::int64_t startingLength) {
    const std::int32_t clusterSize = environment_.clusterSizes.ForPath(path);
    const auto sequence = OverwriteSequence(purgeType);
    if (sequence.empty() || numPasses < 1) return kInvalidPurgeType;
    if (!ValidClusterSize(clusterSize)) return kInvalidClusterSize;

    environment_.random.Seed();
    for (short pass = 1; pass <= numPasses; ++pass) {
      Yield();
      buffers_.Build(static_cast<std::size_t>(clusterSize), environment_.random);
      runPattern_ = -1;
      for (const short pattern : sequence)
        if (const short code = Overwrite(path, pattern, startingLength); code != kPurged)
          return code;
    }
    if (deleteFile && !FileProc::DeleteFile(path, true, true, true, environment_.deleteRetry))
      return kNotDeleted;
    return kPurged;
  }

 private:
  // One overwrite of the whole file, from its first byte, in whole clusters (an empty file
  // counts as one byte), then flushed to the disk.
  short Overwrite(const std::string& path, short pattern, std::int64_t startingLength) {
    const auto clusterSize = static_cast<std::int64_t>(buffers_.ClusterSize());
    const std::int64_t length = std::max<std::int64_t>(startingLength, 1);
    const std::int64_t clusters = (length + clusterSize - 1) / clusterSize;

    Platform::WritableFile file;
    if (const std::error_code error = file.Open(path)) {
      return error == Platform::PlatformErrc::NotARegularFile ? kNotARegularFile
                                                              : kCannotOpenForWriting;
    }

    const std::int64_t clustersPerWrite = std::min<std::int64_t>(
        clusters, std::max<std::int64_t>(
                      1, static_cast<std::int64_t>(environment_.writeRunBytes) / clusterSize));
    const unsigned char* data = PrepareRun(pattern, clustersPerWrite);

    for (std::int64_t remaining = clusters; remaining > 0;) {
      const std::int64_t count = std::min(remaining, clustersPerWrite);
      YieldWhenDue();
      if (file.WriteAll(data, static_cast<std::size_t>(count * clusterSize))) {
        (void)file.Close();
        return kWriteFailed;
      }
      remaining -= count;
    }
    if (file.Sync()) {
      (void)file.Close();
      return kFlushFailed;
    }
    return file.Close() ? kFlushFailed : kPurged;
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
  ClusterBuffers buffers_;
  std::vector<unsigned char> run_;
  short runPattern_ = -1;
  std::size_t runClusters_ = 0;
  Clock::time_point lastYield_ = Clock::now();
};

bool IsSpecialFile(Platform::FileKind kind) {
  return kind == Platform::FileKind::SymbolicLink || kind == Platform::FileKind::Directory ||
         kind == Platform::FileKind::Other;
}

}  // namespace

bool PurgeFile(const std::string& path, short purgeType, short numPasses, bool deleteFile,
               bool okToPurgeReadOnly, bool okToPurgeSystem, short& resultCode,
               PurgeEnvironment& environment) {
  resultCode = kPurged;
  if (path.empty()) {
    resultCode = kEmptyName;
    return false;
  }

  // Nothing but a regular file is ever touched: a link, folder, device, pipe or socket is
  // refused before its times or attributes are even read.
  Platform::FileAttributes attributes;
  const bool haveAttributes = !Platform::GetFileAttributes(path, attributes);
  if (haveAttributes && IsSpecialFile(attributes.kind)) {
    resultCode = kNotARegularFile;
    return false;
  }

  Platform::FileTimes times;
  const bool timesRead = FileProc::GetFileTimes(path, times) == 0;

  // Both refusals come before anything is changed, so that a refused file keeps its attributes.
  if (haveAttributes && attributes.readOnly && !okToPurgeReadOnly) {
    resultCode = kReadOnly;
    return false;
  }
  if (haveAttributes && attributes.system && !okToPurgeSystem) {
    resultCode = kSystemFile;
    return false;
  }
  if (haveAttributes && attributes.readOnly) (void)Platform::ClearReadOnly(path);

  if (const short probe = FileProc::ChangeSize(path, -1); probe != 0) {
    resultCode = probe == kNotARegularFile ? kNotARegularFile : kCannotOpenForWriting;
    return false;
  }

  const std::int64_t lengthToRestore = FileProc::FileLength(path);
  short code = lengthToRestore < 0
                   ? kCannotOpenForWriting
                   : PassWriter(environment)
                         .PassLoop(path, purgeType, numPasses, deleteFile, lengthToRestore);
  if (environment.host != nullptr) environment.host->FileDone();

  if (!environment.performingSpeedTest) {
    const bool deleted = deleteFile && code == kPurged;
    if (!deleted && lengthToRestore >= 0 && code != kNotARegularFile) {
      if (FileProc::ChangeSize(path, lengthToRestore) != 0 && code == kPurged)
        code = kSizeNotRestored;
    }
    if (!deleteFile && timesRead) (void)FileProc::SetFileTimes(path, times);
  }

  resultCode = code;
  return code >= 0;
}

}  // namespace FilePurge
