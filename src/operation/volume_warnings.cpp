#include "operation/volume_warnings.h"

#include "operation/result_texts.h"

// "/mnt/data (btrfs)"; whichever of the two is known when the other is not.
std::string DriveName(const Platform::StorageFacts& facts) {
  if (facts.mountPoint.empty()) return facts.fileSystem.empty() ? "The drive" : facts.fileSystem;
  if (facts.fileSystem.empty()) return facts.mountPoint;
  return facts.mountPoint + " (" + facts.fileSystem + ")";
}

std::vector<std::string> VolumeWarnings(const Platform::StorageFacts& facts) {
  const std::string drive = DriveName(facts);
  std::vector<std::string> warnings;
  if (facts.copyOnWrite)
    warnings.push_back(drive +
                       " is a copy-on-write file system: it writes the new bytes to other blocks, "
                       "so the old data of the files may remain on the disk.");
  if (facts.dataJournaled)
    warnings.push_back(drive +
                       " writes file data to its journal before it writes it in place, so copies "
                       "of the old data may remain in the journal.");
  if (facts.compressed)
    warnings.push_back(drive +
                       " compresses the data it writes: the new bytes may not land where the old "
                       "ones lie, so the old data may remain on the disk.");
  if (facts.encrypted)
    warnings.push_back("The target on " + drive +
                       " is encrypted (EFS): the system may have kept a plain-text backup copy "
                       "while it encrypted the files, and that copy may remain on the disk.");
  if (facts.sparse)
    warnings.push_back("The target on " + drive +
                       " is sparse: the parts of it that were emptied gave up their blocks, and "
                       "the old data of those blocks may remain on the disk.");
  if (facts.removableFlash)
    warnings.push_back(drive +
                       " lies on a removable flash device (a USB stick or a memory card): it may "
                       "keep old copies of the data in blocks it set aside for wear levelling, "
                       "and a purge cannot reach them.");
  else if (facts.solidState)
    warnings.push_back(drive +
                       " lies on a solid-state or flash device: it may keep old copies of the "
                       "data in blocks it set aside for wear levelling, and a purge cannot reach "
                       "them.");
  if (facts.network)
    warnings.push_back(drive +
                       " is a network file system: the server decides where the data goes, and "
                       "it may keep copies in snapshots or backups.");
  if (facts.userSpace)
    warnings.push_back(drive +
                       " is a FUSE file system: a program decides where the data goes, and it "
                       "may keep copies of the old data.");
  if (facts.memory)
    warnings.push_back(drive +
                       " keeps its files in memory, which the system may have written to swap, "
                       "so copies of the data may remain on the swap device.");
  return warnings;
}

std::vector<std::string> VolumeWarningsForPath(const std::string& folder) {
  Platform::StorageFacts facts;
  if (const std::error_code error = Platform::QueryStorage(folder, facts))
    return {"The drive of " + folder + " could not be examined (" + ReasonText(error) +
            "), so whether it keeps copies of the old data is not known."};
  return VolumeWarnings(facts);
}
