#pragma once

#include <string>

// The report text that follows a file's name when the file was not purged, for a result code of
// the per-file purge or of the protected-file check. extension is the file's lower-cased
// extension, used by the sensitive-extension codes. Line breaks are CR LF.
std::string ResultCodeReportText(short code, const std::string& extension = {});
