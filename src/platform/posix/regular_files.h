#pragma once

#include <string>
#include <system_error>

namespace Platform::Posix {

// A write or size change past the file size limit raises SIGXFSZ, which ends the process unless
// it is ignored; ignored, the write fails with EFBIG and the purge can report it. A handler that
// the host has set is left alone. Called before anything is opened for writing.
void IgnoreFileSizeSignal();

// Opens the regular file `name` relative to the folder descriptor `folder` (AT_FDCWD: a path)
// with access (O_WRONLY, O_RDWR). Never follows a link in the last place and never waits on a pipe
// or a device: the entry is looked at first, so that a device is never opened at all, and the
// open object again, in case the entry was replaced in between. NotARegularFile for anything
// but a regular file; handle is -1 on failure.
std::error_code OpenRegularAt(int folder, const std::string& name, int access, int& handle);

}  // namespace Platform::Posix
