#pragma once

// Every text of the purge of free space: the question before it, its report, the warnings about
// its drive and what the program says of the dummy folders that an interrupted purge left. Line
// breaks are CR LF.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/free_space_purge.h"
#include "platform/storage.h"

// The title of the question and of the report window, and the caption of the main window's
// button.
inline constexpr const char* kPurgeFreeSpaceCaption = "Purge free space";
// The last line of the question; and what answering No is told, under the title "Purge
// cancelled".
inline constexpr const char* kFreeSpaceQuestionEnd = "Do you wish to proceed?";
inline constexpr const char* kFreeSpaceCancelled = "The free space was not purged.";

// "Drive /mnt/data (ext4)": the drive's root and, when known, its file system.
std::string FreeSpaceDriveName(const std::string& root, const std::string& fileSystem);

// The question before the purge, without its last line: what it does, the drive, its free space,
// the type of purge, the estimated time at the drive's measured speed (none: not measured), and
// the warnings about the drive.
std::string FreeSpaceQuestion(const std::string& driveName, double availableBytes,
                              const std::string& typeDescription, short overwrites,
                              std::optional<float> speed, const std::vector<std::string>& warnings);

// What a pattern code writes, as a report names it: "random bytes", "bit pattern 10101010".
std::string PatternName(short pattern);

// The report's heading, and its last line: the free space before the purge.
std::string FreeSpaceHeading(const std::string& dateAndTime, const std::string& driveName,
                             const std::string& folder, const std::string& typeNumPasses);
std::string FreeSpaceBeforeLine(double availableBytes);

// The line of one overwrite: its start, the gauge while it runs ("41%"), and what it wrote.
std::string OverwriteLineStart(short number, short overwrites, short pattern);
std::string OverwriteGauge(std::int64_t bytesDone, std::int64_t bytesToDo);
std::string OverwriteLineEnd(std::int64_t bytes, int files, bool first);

// The summary: the space overwritten, the bytes written, the time taken, the space not reached
// and why, the free space afterwards, the fill files' deletion, how the purge ended, and the
// warnings about the drive. mayFillReserved: the purge could fill the blocks that the file
// system reserves for the administrator.
std::string FreeSpaceSummary(const FreeSpacePurge::Outcome& outcome, bool mayFillReserved,
                             const std::vector<std::string>& warnings);

// The warnings about a drive whose free space is to be purged: where its file system or its
// device keeps old data outside the free space, or out of the fill files' reach.
std::vector<std::string> FreeSpaceWarnings(const Platform::StorageFacts& facts);
std::vector<std::string> FreeSpaceWarningsForPath(const std::string& folder);

// What the program says at its start of a dummy folder that an interrupted purge left; empty
// when there is nothing to say (the folder was not the program's, is in use or is gone).
std::string LeftoverFolderText(const std::string& folder, FreeSpacePurge::Leftover what,
                               const std::error_code& error);
