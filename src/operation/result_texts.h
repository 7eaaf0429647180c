#pragma once

#include <string>
#include <system_error>

#include "engine/file_purge.h"

// The report text that follows a file's name when the file was not purged, for a result code of
// the per-file purge or of the protected-file check. extension is the file's lower-cased
// extension, used by the sensitive-extension codes. Line breaks are CR LF.
std::string ResultCodeReportText(short code, const std::string& extension = {});

// The report text that follows a file's name for what its purge did: " purged" (with the names
// that keep the overwritten file, when it has others), or the text of its code, with the passes
// that ran when it was stopped between passes or the pass it was stopped in, the names it has
// when it was refused for them, and the system's reason where there is one. passes is the number
// of passes that were asked for.
std::string OutcomeReportText(const FilePurge::PurgeOutcome& outcome, short passes,
                              const std::string& extension = {});

// The system's reason for a failure as a report gives it, in lower case ("permission denied").
std::string ReasonText(const std::error_code& error);

// The line for a folder the walk could not read or would not enter: its path, " (folder): " and
// the reason ("another file system, not entered."), without a line break.
std::string FolderNotEnteredText(const std::string& folderPath, const std::error_code& error);
