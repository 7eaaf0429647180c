#pragma once

// What the confirmation dialog says before a purge, the caption of its purge button, and the
// cluster sizes it offers for the drive.

#include <array>
#include <cstdint>
#include <string>

#include "engine/cluster_size.h"
#include "targets/target_record.h"

class RandomSource;

// The count of matching files when counting stopped above 1000.
inline constexpr std::int32_t kMoreThan1000Files = -1;

// The two messages of the dialog. element[0] asks about the slack area only; element[1] is the
// message of a normal purge. Lines are separated by CR LF.
struct PurgeConfirmationTexts {
  std::string element[2];
};

// The caption of the box that lets a purge overwrite files that have other names.
inline constexpr const char* kHardLinkedFilesCaption =
    "Purge files that have other names (hard links)";

// The messages for a purge of target. count is the number of matching files counted before the
// purge (0 to 1000, or kMoreThan1000Files); withOtherNames is how many of them have other names
// (hard links), which a purge refuses unless kHardLinkedFilesCaption is ticked: above 0, the
// normal message ends with a paragraph that says so. Paths are shortened to at most 100
// characters.
PurgeConfirmationTexts BuildPurgeConfirmationText(const TargetRecord& target,
                                                  bool dateRestrictionInForce, std::int32_t count,
                                                  std::int32_t withOtherNames,
                                                  RandomSource& random);

// The caption of cmdDoPurge: "Yes, purge this file" when fewer than two files match in the folder
// and subfolders are not included, otherwise "Yes, purge these files".
std::string DoPurgeCaption(std::int32_t filesInFolder, bool subfolders);

// One entry of the cluster-size list cboClusterSize.
struct ClusterSizeEntry {
  const char* text;
  std::int32_t value;
};

inline constexpr std::array<ClusterSizeEntry, 8> kClusterSizeEntries = {{
    {"512 bytes", 512},
    {"1 KB", 1024},
    {"2 KB", 2048},
    {"4 KB", 4096},
    {"8 KB", 8192},
    {"16 KB", 16384},
    {"32 KB", 32768},
    {"64 KB", 65536},
}};

// The entry selected when the dialog is loaded: "4 KB".
inline constexpr int kDefaultClusterSizeEntry = 3;

// The index of the entry whose value is clusterSize; -1 when no entry has it.
int ClusterSizeEntryIndex(std::int32_t clusterSize);

// The cluster size of the drive that holds strDriveLetter (a drive root such as "/" or
// "/media/usb", or any path on the drive), as the purge will use it: the kept value when there is
// one, otherwise asked of the system with the usual fallbacks and bounds, and then kept.
std::int32_t GetClusterSize(DriveClusterSize& clusterSizes, const std::string& strDriveLetter);

// Keeps clusterSize as the cluster size of the drive that holds strDriveLetter, under the same
// drive as GetClusterSize finds it.
void SetClusterSize(DriveClusterSize& clusterSizes, const std::string& strDriveLetter,
                    std::int32_t clusterSize);
