#pragma once

namespace Platform::Posix {

// A write or size change past the file size limit raises SIGXFSZ, which ends the process unless
// it is ignored; ignored, the write fails with EFBIG and the purge can report it. A handler that
// the host has set is left alone. Called before anything is opened for writing.
void IgnoreFileSizeSignal();

}  // namespace Platform::Posix
