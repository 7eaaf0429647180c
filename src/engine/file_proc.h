#pragma once

// File primitives of the purge: lengths, sizes, flushing, time stamps, deletion with retries.
// They keep the program's result conventions (0 for success, small negative numbers for failure)
// over the platform layer.

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>

#include "platform/files.h"

namespace FileProc {

// How deletion retries: four tries 500 ms apart. Tests replace the removal and the wait.
struct DeleteRetry {
  int attempts = 4;
  int delayMilliseconds = 500;
  std::function<std::error_code(const std::string&)> remove = Platform::RemoveFile;
  std::function<void(int)> sleep = Platform::SleepMilliseconds;
};

// Deletes a file, first clearing the hidden, read-only and system attributes as the flags ask
// (errors in clearing are ignored). True when the file is gone, also when someone else removed
// it between two tries; false when it still exists after the last try.
bool DeleteFile(const std::string& path, bool clearHidden, bool clearReadOnly, bool clearSystem,
                const DeleteRetry& retry = {});

// True when the path is not empty and a file of that name exists.
bool FileExists(const std::string& path);

// The path followed by the first of 1, 2, 3 ... for which no file of that name exists.
std::string UniqueName(const std::string& path);

}  // namespace FileProc
