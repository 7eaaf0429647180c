#include "operation/result_texts.h"

#include <cctype>

#include "engine/file_ops.h"
#include "platform/errors.h"

std::string ResultCodeReportText(short code, const std::string& extension) {
  switch (code) {
    case FilePurge::kSystemFile:
      return ": file is a system file, not purged.";
    case FilePurge::kSizeNotRestored:
      return ": error when restoring filesize.";
    case FilePurge::kInvalidClusterSize:
      return ": invalid cluster size.";
    case FilePurge::kInvalidPurgeType:
      return ": invalid purge type.";
    case FilePurge::kFlushFailed:
      return ": error when flushing file.";
    case FilePurge::kNotDeleted:
      return ": file overwritten but not deleted.";
    case FilePurge::kWriteFailed:
      return ": error when writing to file.";
    case FilePurge::kCannotOpenForWriting:
      return ": unable to open file for writing.";
    case FilePurge::kEmptyName:
      return ": empty file name.";
    case FileOps::kProgramFolder:
      return ": a file in the current application folder, not purged.";
    case FileOps::kPagingFile:
      return ": the page file (swap file), not purged.";
    case FilePurge::kReadOnly:
      return ": file is a read-only file, not purged."
             "\r\n"
             "(Perhaps file is in use by another program.)";
    case FilePurge::kNotARegularFile:
      return ": not a regular file, not purged.";
    case FilePurge::kReplaced:
      return ": replaced by another file while it was opened, not purged.";
    case FilePurge::kNotOnDisk:
      return ": not a file on a disk, not purged.";
    case FilePurge::kMoved:
      return ": overwritten, but the file system wrote the new data elsewhere; the old data "
             "remains on the disk.";
    case FilePurge::kShared:
      return ": overwritten, but its blocks are shared with another file or a snapshot; the old "
             "data remains on the disk.";
    case FilePurge::kInline:
      return ": overwritten, but its data lay inside the file system's own records; the old data "
             "may remain in its journal or metadata.";
    case FilePurge::kJournaled:
      return ": overwritten, but the file system also wrote the data to its journal; the old "
             "data may remain in the journal.";
    case FilePurge::kGrew:
      return ": grew while it was purged; what was added meanwhile was not overwritten and may "
             "remain on the disk.";
    case FilePurge::kPlacementUnknown:
      return ": overwritten, but the file system did not say where the data lies; the old data "
             "may remain on the disk.";
    case FileOps::kSensitiveExtension:
    case FileOps::kSensitiveRefused:
      return ": \"" + extension + "\" files are not purged.";
    default:
      return " not purged.";
  }
}

std::string ReasonText(const std::error_code& error) {
  std::string reason = error.message();
  if (!reason.empty())
    reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  while (!reason.empty() &&
         (reason.back() == '.' || reason.back() == '\n' || reason.back() == '\r'))
    reason.pop_back();
  return reason;
}

namespace {

constexpr const char* kNotVerifiedText =
    "not verified: the file system does not tell where a file's data lies";

std::string Names(std::uint64_t count) {
  return std::to_string(count) + (count == 1 ? " other name" : " other names");
}

}  // namespace

std::string OutcomeReportText(const FilePurge::PurgeOutcome& outcome, short passes,
                              const std::string& extension) {
  switch (outcome.code) {
    case FilePurge::kPurged: {
      std::string notes;
      if (outcome.otherNames > 0)
        notes = Names(outcome.otherNames) + (outcome.otherNames == 1 ? " keeps" : " keep") +
                " the overwritten file";
      if (!outcome.verified) notes += std::string(notes.empty() ? "" : "; ") + kNotVerifiedText;
      return notes.empty() ? std::string(" purged") : " purged (" + notes + ")";
    }
    case FilePurge::kStopped:
      return ": purge stopped after " + std::to_string(outcome.passesDone) + " of " +
             std::to_string(passes) + (passes == 1 ? " pass" : " passes") +
             "; overwritten, not deleted.";
    case FilePurge::kStoppedInPass:
      if (!outcome.written) return ": purge stopped before its first write; left as it was.";
      return ": purge stopped during pass " + std::to_string(outcome.passesDone + 1) + " of " +
             std::to_string(passes) + "; only partly overwritten, not deleted.";
    case FilePurge::kHardLinked:
      return ": has " + Names(outcome.otherNames) +
             (outcome.otherNames == 1 ? " (hard link)" : " (hard links)") + ", not purged.";
    default:
      break;
  }
  std::string text = ResultCodeReportText(outcome.code, extension);
  if (outcome.error) text += " (" + ReasonText(outcome.error) + ")";
  return text;
}

std::string FolderNotEnteredText(const std::string& folderPath, const std::error_code& error) {
  std::string text = folderPath + " (folder): ";
  if (error == Platform::PlatformErrc::OtherFileSystem)
    text += "another file system, not entered.";
  else if (error == Platform::PlatformErrc::NotAFolder)
    text += "replaced by a link or another entry, not entered.";
  else
    text += "cannot be read (" + ReasonText(error) + ").";
  return text;
}
