#pragma once

#include <cstdint>
#include <string>

// Whether a file is one that the target names: its name (the part after the last separator)
// satisfies the file specification and, when a restriction is in force (anything but
// NoDateRestriction), it is dated before lngOnlyBeforeThisJDN. A file whose date cannot be read
// never satisfies a restriction.
bool SatisfiesFilespecAndDateRestriction(const std::string& strFilepath,
                                         const std::string& strFilespec, bool blnCaseSensitive,
                                         std::int32_t lngOnlyBeforeThisJDN);

namespace Platform {
class FolderHandle;
}

// The same for the entry `name` of an open folder: its date, when a restriction asks for it, is
// read through the folder, never by a path. With filespecIsName the file specification is the
// exact name of one file, "*" and "?" included.
bool SatisfiesFilespecAndDateRestrictionIn(const Platform::FolderHandle& folder,
                                           const std::string& name, const std::string& strFilespec,
                                           std::int32_t lngOnlyBeforeThisJDN,
                                           bool filespecIsName = false);
