#pragma once

// Whole small files (the program's own store files): read at once and replaced at once, so that a
// crash never leaves one half-written. Nothing here follows a symbolic link at the file's path.

#include <cstddef>
#include <string>
#include <system_error>

namespace Platform {

// Replaces the file at path with contents, or creates it. The contents go to a new temporary file
// in the same folder (created exclusively, readable and writable by the owner only), are written
// through to the disk and renamed over path, and the folder is written through too: a reader sees
// either the old file or the new one, never a mixture. A path that names a link or anything but a
// regular file is refused with NotARegularFile and left as it is.
std::error_code ReplaceFileAtomically(const std::string& path, const std::string& contents);

// Reads a whole regular file. A link or anything but a regular file is refused with
// NotARegularFile (a device or pipe is never opened); a file longer than maxBytes is refused with
// file_too_large. contents is set only on success.
std::error_code ReadWholeFile(const std::string& path, std::string& contents,
                              std::size_t maxBytes);

// Creates a folder and every missing folder above it (new folders for the owner only). A folder
// that exists already, or a link to one, is fine; anything else in the way gives not_a_directory.
std::error_code CreateFolders(const std::string& path);

}  // namespace Platform
