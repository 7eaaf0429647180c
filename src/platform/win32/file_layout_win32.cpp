// Where a file's data lies on Windows, asked through its open handle: the allocated ranges of a
// sparse file by FSCTL_QUERY_ALLOCATED_RANGES, and the clusters of the volume that hold the file
// by FSCTL_GET_RETRIEVAL_POINTERS after a flush.

// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/handles.h"
#include "platform/win32/file_handle.h"

#include <winioctl.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/win32/retrieval_runs.h"

namespace Platform {
namespace {

using Win32::AsHandle;
using Win32::ErrorFromCode;
using Win32::Handle;
using Win32::LastError;
using Win32::NotOpen;

// How many ranges, and how many runs, one call asks for.
constexpr std::size_t kRangesPerCall = 256;
constexpr std::size_t kRunsPerCall = 256;

// The volume's characteristic of a file system reached over the network (FILE_REMOTE_DEVICE of
// the driver headers).
constexpr ULONG kRemoteDevice = 0x10;

// The answers of a file system that keeps no map of a file's data or takes no such question.
bool NotTold(DWORD code) {
  return code == ERROR_INVALID_FUNCTION || code == ERROR_NOT_SUPPORTED;
}

std::error_code ErrorFromStatus(NTSTATUS status) {
  return ErrorFromCode(::RtlNtStatusToDosError(status));
}

std::error_code LengthOf(HANDLE file, std::int64_t& length, DWORD& attributes) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) return LastError();
  length = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) |
                                     info.nFileSizeLow);
  attributes = info.dwFileAttributes;
  return {};
}

// True when the open file's volume lies on another computer, whose clusters are numbered on a
// disk this one does not see.
bool OnNetwork(HANDLE file) {
  IO_STATUS_BLOCK io{};
  FILE_FS_DEVICE_INFORMATION device{};
  if (!NT_SUCCESS(::NtQueryVolumeInformationFile(file, &io, &device, sizeof device,
                                                 FileFsDeviceInformation)))
    return false;
  return device.DeviceType == FILE_DEVICE_NETWORK_FILE_SYSTEM ||
         (device.Characteristics & kRemoteDevice) != 0;
}

std::error_code ClusterSizeOf(HANDLE file, std::int64_t& clusterSize) {
  IO_STATUS_BLOCK io{};
  FILE_FS_SIZE_INFORMATION size{};
  const NTSTATUS status =
      ::NtQueryVolumeInformationFile(file, &io, &size, sizeof size, FileFsSizeInformation);
  if (!NT_SUCCESS(status)) return ErrorFromStatus(status);
  clusterSize = static_cast<std::int64_t>(size.SectorsPerAllocationUnit) *
                static_cast<std::int64_t>(size.BytesPerSector);
  return {};
}

// The runs of one FSCTL_GET_RETRIEVAL_POINTERS answer of `returned` bytes; false when the
// answer holds fewer runs than it counts.
bool ReadRuns(const std::vector<LONGLONG>& answer, DWORD returned, std::int64_t& startingVcn,
              std::vector<Win32::ClusterRun>& runs) {
  runs.clear();
  constexpr std::size_t kHeader = offsetof(RETRIEVAL_POINTERS_BUFFER, Extents);
  constexpr std::size_t kRun = sizeof(RETRIEVAL_POINTERS_BUFFER::Extents[0]);
  if (returned < kHeader) return false;
  const auto* buffer = reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(answer.data());
  if (buffer->ExtentCount > (returned - kHeader) / kRun) return false;
  startingVcn = buffer->StartingVcn.QuadPart;
  for (DWORD i = 0; i < buffer->ExtentCount; ++i)
    runs.push_back({buffer->Extents[i].NextVcn.QuadPart, buffer->Extents[i].Lcn.QuadPart});
  return true;
}

// Data that NTFS keeps inside the file's own record has no clusters of its own.
std::error_code Resident(std::int64_t size, FileLayout& layout) {
  DataExtent extent;
  extent.length = size;
  extent.inlined = true;
  layout.extents = {extent};
  layout.located = true;
  return {};
}

}  // namespace

std::error_code FileHandle::DataRanges(std::vector<ByteRange>& ranges) const {
  ranges.clear();
  if (handle_ == kNoHandle) return NotOpen();
  const HANDLE file = AsHandle(handle_);
  std::int64_t size = 0;
  DWORD attributes = 0;
  if (const auto error = LengthOf(file, size, attributes)) return error;
  if (size == 0) return {};
  const ByteRange whole{0, size};
  // Only a file marked sparse can have holes.
  if ((attributes & FILE_ATTRIBUTE_SPARSE_FILE) == 0) {
    ranges.push_back(whole);
    return {};
  }

  // The question needs read access, which a handle opened for overwriting lacks: the same open
  // file (not its name) is opened again to read.
  Handle reader(::ReOpenFile(file, FILE_READ_DATA, Win32::kShareAll, 0));
  if (!reader.IsOpen()) return LastError();
  std::vector<FILE_ALLOCATED_RANGE_BUFFER> found(kRangesPerCall);
  for (std::int64_t at = 0; at < size;) {
    FILE_ALLOCATED_RANGE_BUFFER question{};
    question.FileOffset.QuadPart = at;
    question.Length.QuadPart = size - at;
    DWORD returned = 0;
    const bool complete = ::DeviceIoControl(
        reader.Get(), FSCTL_QUERY_ALLOCATED_RANGES, &question, sizeof question, found.data(),
        static_cast<DWORD>(found.size() * sizeof found[0]), &returned, nullptr);
    const DWORD code = complete ? ERROR_SUCCESS : ::GetLastError();
    if (!complete && code != ERROR_MORE_DATA) {
      if (at == 0 && (NotTold(code) || code == ERROR_INVALID_PARAMETER)) {
        // A file system without the question: all of the file is data.
        ranges.push_back(whole);
        return {};
      }
      ranges.clear();
      return ErrorFromCode(code);
    }
    std::int64_t end = at;
    for (std::size_t i = 0; i < returned / sizeof found[0]; ++i) {
      const std::int64_t offset = found[i].FileOffset.QuadPart;
      const std::int64_t length = found[i].Length.QuadPart;
      if (offset < 0 || offset >= size || length <= 0) continue;
      const std::int64_t begin = std::max(offset, end);
      const std::int64_t stop = offset + std::min(length, size - offset);
      if (stop <= begin) continue;
      if (!ranges.empty() && ranges.back().offset + ranges.back().length == begin)
        ranges.back().length += stop - begin;
      else
        ranges.push_back({begin, stop - begin});
      end = stop;
    }
    if (complete) break;
    // More to come but nothing new in this part: asking again would give the same.
    if (end == at) {
      ranges.clear();
      return ErrorFromCode(code);
    }
    at = end;
  }
  return {};
}

std::error_code FileHandle::Layout(FileLayout& layout) const {
  layout = {};
  if (handle_ == kNoHandle) return NotOpen();
  const HANDLE file = AsHandle(handle_);
  // Data still in the system's cache may not have its clusters yet.
  if (!::FlushFileBuffers(file)) return LastError();
  std::int64_t size = 0;
  DWORD attributes = 0;
  if (const auto error = LengthOf(file, size, attributes)) return error;
  if (size == 0) {
    layout.located = true;
    return {};
  }
  if (OnNetwork(file)) return {};
  std::int64_t clusterSize = 0;
  if (const auto error = ClusterSizeOf(file, clusterSize)) return error;

  // Whole LONGLONGs, so that the answer's numbers lie where they are read.
  std::vector<LONGLONG> answer((offsetof(RETRIEVAL_POINTERS_BUFFER, Extents) +
                                kRunsPerCall * sizeof(RETRIEVAL_POINTERS_BUFFER::Extents[0])) /
                               sizeof(LONGLONG));
  std::vector<Win32::ClusterRun> runs;
  std::vector<DataExtent> extents;
  std::int64_t vcn = 0;
  for (;;) {
    STARTING_VCN_INPUT_BUFFER question{};
    question.StartingVcn.QuadPart = vcn;
    DWORD returned = 0;
    const bool complete = ::DeviceIoControl(
        file, FSCTL_GET_RETRIEVAL_POINTERS, &question, sizeof question, answer.data(),
        static_cast<DWORD>(answer.size() * sizeof(LONGLONG)), &returned, nullptr);
    const DWORD code = complete ? ERROR_SUCCESS : ::GetLastError();
    if (!complete && code != ERROR_MORE_DATA) {
      if (code == ERROR_HANDLE_EOF) {
        // No clusters from vcn on; none at all for a file kept in its record.
        if (vcn == 0) return Resident(size, layout);
        break;
      }
      if (NotTold(code) && vcn == 0) return {};
      return ErrorFromCode(code);
    }
    std::int64_t startingVcn = 0;
    // An answer that is no map of the file (Wine's is one) tells nothing of where the data lies.
    if (!ReadRuns(answer, returned, startingVcn, runs)) return {};
    if (runs.empty()) {
      if (vcn == 0) return Resident(size, layout);
      break;
    }
    if (!Win32::AddClusterRuns(startingVcn, runs, clusterSize, vcn, extents)) return {};
    if (complete) break;
  }
  // Runs that end before the file does leave part of its data unaccounted for.
  if (vcn * clusterSize < size) return {};
  layout.located = true;
  layout.extents = std::move(extents);
  return {};
}

}  // namespace Platform
