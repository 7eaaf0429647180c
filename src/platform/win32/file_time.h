#pragma once

// FILETIME, Windows' count of 100 ns ticks since 1601, and the program's FileTime.

// file_handle.h brings files.h in before windows.h and takes back the GetFileAttributes macro.
#include "platform/win32/file_handle.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Platform::Win32 {

// FILETIME counts 100 ns ticks since 1601-01-01; this many of them lie before 1970-01-01.
inline constexpr std::int64_t kTicksPerSecond = 10'000'000;
inline constexpr std::int64_t kEpochSeconds = 11'644'473'600;

inline FileTime FromFiletime(const FILETIME& time) {
  const std::uint64_t raw =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  // The system never gives more than 63 bits; anything beyond is held at the largest time.
  const auto ticks = static_cast<std::int64_t>(std::min<std::uint64_t>(
      raw, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())));
  const std::int64_t seconds = ticks / kTicksPerSecond;
  const std::int64_t rest = ticks % kTicksPerSecond;
  return {seconds - kEpochSeconds, static_cast<std::int32_t>(rest * 100)};
}

// False for a time that FILETIME cannot hold. 1601-01-01 00:00:00 itself is refused too: to
// SetFileTime a zero means "leave this time as it is", which would report success for nothing.
inline bool ToFiletime(const FileTime& time, FILETIME& out) {
  if (time.nanoseconds < 0 || time.nanoseconds > 999'999'999) return false;
  constexpr std::int64_t kLargest =
      (std::numeric_limits<std::int64_t>::max() - kTicksPerSecond) / kTicksPerSecond;
  if (time.seconds < -kEpochSeconds || time.seconds > kLargest - kEpochSeconds) return false;
  const std::int64_t ticks =
      (time.seconds + kEpochSeconds) * kTicksPerSecond + time.nanoseconds / 100;
  if (ticks <= 0) return false;
  const auto raw = static_cast<std::uint64_t>(ticks);
  out.dwLowDateTime = static_cast<DWORD>(raw & 0xFFFF'FFFFu);
  out.dwHighDateTime = static_cast<DWORD>(raw >> 32);
  return true;
}

}  // namespace Platform::Win32
