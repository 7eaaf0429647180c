#pragma once

// Where a file's bytes lie: the parts of the file that hold data (a sparse file has holes that
// hold none), and where the file system placed each part on its device. The purge asks both
// through the file's open handle, before it overwrites and after, to tell whether the new bytes
// fell on the old ones.

#include <cstdint>
#include <vector>

namespace Platform {

// A run of bytes of a file.
struct ByteRange {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// One run of a file's data as the file system placed it.
struct DataExtent {
  std::int64_t logical = 0;    // where the run begins in the file
  std::uint64_t physical = 0;  // where it begins on the device (in the file system's own terms)
  std::int64_t length = 0;
  bool shared = false;    // other files or snapshots own the same blocks
  bool inlined = false;   // kept inside the file system's own records, not in blocks of its own
  bool unplaced = false;  // the location is not a plain device offset (not yet placed, encoded)
  friend bool operator==(const DataExtent&, const DataExtent&) = default;
};

struct FileLayout {
  // False when the file system does not tell where a file's data lies (tmpfs, network and FUSE
  // file systems); extents is empty then.
  bool located = false;
  std::vector<DataExtent> extents;  // in the order of the file
  // The file system writes this file's data to its journal before it writes it in place (ext3
  // and ext4 mounted data=journal, or the file's own journal attribute).
  bool dataJournaled = false;
};

}  // namespace Platform
