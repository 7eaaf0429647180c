// Where a file's data lies, asked of the file system through the open descriptor: the data and
// holes by SEEK_DATA and SEEK_HOLE, the placement on the device by the FIEMAP ioctl.

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <utility>

#include "platform/handles.h"
#include "platform/posix/mount_lookup.h"
#include "platform/posix/mount_table.h"

namespace Platform {
namespace {

std::error_code LastError() {
  return {errno, std::system_category()};
}

// How many extents one FIEMAP call asks for.
constexpr unsigned kExtentsPerCall = 256;
constexpr unsigned long kExtMagic = 0xEF53UL;  // ext2, ext3 and ext4

// The answers of a file system that cannot tell where a file's data lies.
bool NotTold(int error) {
  return error == EOPNOTSUPP || error == ENOTTY || error == ENOSYS;
}

// True when the ext3 or ext4 file system of the mount journals all file data (data=journal).
// Looked up once per mount: a mount's data mode cannot change while it is mounted.
bool MountJournalsData(int descriptor) {
  struct statx info {};
  if (::statx(descriptor, "", AT_EMPTY_PATH, STATX_MNT_ID, &info) != 0 ||
      (info.stx_mask & STATX_MNT_ID) == 0)
    return false;
  const std::pair<std::uint64_t, std::uint64_t> key{
      info.stx_mnt_id, makedev(info.stx_dev_major, info.stx_dev_minor)};
  static std::mutex lock;
  static std::map<std::pair<std::uint64_t, std::uint64_t>, bool> known;
  const std::lock_guard<std::mutex> guard(lock);
  if (const auto found = known.find(key); found != known.end()) return found->second;
  bool journals = false;
  for (const MountTable::MountEntry& mount :
       MountLookup::ReadMountTable().value_or(std::vector<MountTable::MountEntry>{}))
    if (mount.mountId == info.stx_mnt_id)
      journals = MountTable::HasOption(mount.superOptions, "data=journal");
  known.emplace(key, journals);
  return journals;
}

bool DataJournaled(int descriptor) {
  struct statfs system {};
  if (::fstatfs(descriptor, &system) != 0 || static_cast<unsigned long>(system.f_type) != kExtMagic)
    return false;
  int flags = 0;
  if (::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_JOURNAL_DATA_FL) != 0)
    return true;
  return MountJournalsData(descriptor);
}

DataExtent ExtentOf(const fiemap_extent& found) {
  DataExtent extent;
  extent.logical = static_cast<std::int64_t>(found.fe_logical);
  extent.physical = found.fe_physical;
  extent.length = static_cast<std::int64_t>(found.fe_length);
  extent.shared = (found.fe_flags & FIEMAP_EXTENT_SHARED) != 0;
  extent.inlined = (found.fe_flags & (FIEMAP_EXTENT_DATA_INLINE | FIEMAP_EXTENT_DATA_TAIL)) != 0;
  extent.unplaced = (found.fe_flags & (FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_DELALLOC)) != 0;
  return extent;
}

}  // namespace

std::error_code FileHandle::DataRanges(std::vector<ByteRange>& ranges) const {
  ranges.clear();
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  const int descriptor = static_cast<int>(handle_);
  struct stat object {};
  if (::fstat(descriptor, &object) != 0) return LastError();
  const std::int64_t size = object.st_size;
  for (std::int64_t at = 0; at < size;) {
    const off_t data = ::lseek(descriptor, static_cast<off_t>(at), SEEK_DATA);
    if (data < 0) {
      if (errno == ENXIO) break;  // nothing but a hole from here to the end
      if (errno == EINVAL && ranges.empty()) {
        // A file system without the query: all of the file is data.
        ranges.push_back({0, size});
        break;
      }
      return LastError();
    }
    const off_t hole = ::lseek(descriptor, data, SEEK_HOLE);
    if (hole < 0) return LastError();
    const std::int64_t end = std::min<std::int64_t>(hole, size);
    if (end > data) ranges.push_back({data, end - data});
    at = end > data ? end : data + 1;
  }
  return {};
}

std::error_code FileHandle::Layout(FileLayout& layout) const {
  layout = {};
  if (!IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  const int descriptor = static_cast<int>(handle_);
  layout.dataJournaled = DataJournaled(descriptor);

  std::vector<unsigned char> buffer(sizeof(fiemap) + kExtentsPerCall * sizeof(fiemap_extent));
  auto* map = reinterpret_cast<fiemap*>(buffer.data());
  std::uint64_t start = 0;
  std::uint32_t flags = FIEMAP_FLAG_SYNC;
  for (;;) {
    std::fill(buffer.begin(), buffer.end(), 0);
    map->fm_start = start;
    map->fm_length = FIEMAP_MAX_OFFSET - start;
    map->fm_flags = flags;
    map->fm_extent_count = kExtentsPerCall;
    if (::ioctl(descriptor, FS_IOC_FIEMAP, map) != 0) {
      const int error = errno;
      if (NotTold(error) && layout.extents.empty()) {
        layout = {false, {}, layout.dataJournaled};
        return {};
      }
      if (error == EBADR && flags != 0) {
        // The file system takes no flags: flush the file by hand and ask again.
        if (::fsync(descriptor) != 0) return LastError();
        flags = 0;
        continue;
      }
      layout.extents.clear();
      return {error, std::system_category()};
    }
    flags = 0;  // the file was flushed by the first call
    if (map->fm_mapped_extents == 0) break;
    bool last = false;
    for (std::uint32_t i = 0; i < map->fm_mapped_extents; ++i) {
      layout.extents.push_back(ExtentOf(map->fm_extents[i]));
      last = last || (map->fm_extents[i].fe_flags & FIEMAP_EXTENT_LAST) != 0;
    }
    const fiemap_extent& end = map->fm_extents[map->fm_mapped_extents - 1];
    if (last || map->fm_mapped_extents < kExtentsPerCall) break;
    start = end.fe_logical + end.fe_length;
  }
  layout.located = true;
  return {};
}

}  // namespace Platform
