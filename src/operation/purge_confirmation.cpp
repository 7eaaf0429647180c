#include "operation/purge_confirmation.h"

#include "platform/drives.h"
#include "platform/paths.h"
#include "targets/target_texts.h"
#include "text/str_proc.h"

namespace {

constexpr int kMaxPathLength = 100;
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kAllFiles = "*.*";
constexpr const char* kSlackQuestion = "Are you sure that you want to purge the slack area of ";
constexpr const char* kPurgeQuestion = "Are you sure that you want to purge ";

bool CountIsUnknown(std::int32_t count) {
  return count == kMoreThan1000Files;
}

// A count as it follows a word in the message: " 12", or " (more than 1000)" when counting
// stopped before the end.
std::string CountAfterWord(std::int32_t count) {
  if (CountIsUnknown(count)) return " (more than 1000)";
  return " " + std::to_string(count);
}

std::string LowerCaseAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// What the question is about, from the words after "purge ..." to the end of its first line pair.
std::string WhatIsPurged(const TargetRecord& target, std::int32_t count, RandomSource& random) {
  const std::string& filespec = target.TargetFilespec;
  const bool allFiles = filespec == kAllFiles && !target.filespecIsName;
  std::string text;
  if (!allFiles) {
    const bool manyMatch = CountIsUnknown(count) || count > 1;
    if (target.NamesOneFile())
      text = "the file";
    else if (manyMatch)
      text = "the" + CountAfterWord(count) + " files";
    else
      text = "the files";
    text += kLineBreak;
    text +=
        ShortenPath(WithTrailingSeparator(target.TargetFolder) + filespec, kMaxPathLength, random);
  } else {
    if (count == 1)
      text = "the single file in ";
    else if (count == 2)
      text = "both files in ";
    else
      text = "all" + CountAfterWord(count) + " files in ";
    text += kLineBreak;
    text += ShortenPath(target.TargetFolder, kMaxPathLength, random);
  }

  if (target.blnSubdirectories) {
    text += kLineBreak;
    text += "and all files ";
    if (!allFiles) text += "of the form \"" + filespec + "\" ";
    text += "in all subfolders?";
  } else {
    text += " ?";
  }
  return text;
}

// Whether the message speaks of "these files" rather than "this file".
bool SeveralFiles(const TargetRecord& target, std::int32_t count) {
  return !target.NamesOneFile() && (CountIsUnknown(count) || count >= 2);
}

std::string HowMuchIsDestroyed(const TargetRecord& target, bool dateRestrictionInForce,
                               std::int32_t count) {
  const bool severalFiles = SeveralFiles(target, count);
  std::string text;
  if (severalFiles && dateRestrictionInForce) {
    text += kLineBreak;
    text += "which satisfy the date restriction.";
  }
  text += kLineBreak;
  text += "This will permanently destroy all data in ";
  if (!severalFiles)
    text += "this file.";
  else if (CountIsUnknown(count))
    text += "these (more than 1000) files.";
  else
    text += "these " + LowerCaseAscii(StrProc::NumberToWords(count)) + " files.";
  return text;
}

// The paragraph that warns of files with other names, which a purge refuses unless the user
// allows them; empty when no counted file has another name.
std::string OtherNamesParagraph(const TargetRecord& target, std::int32_t count,
                                std::int32_t withOtherNames) {
  if (withOtherNames <= 0) return {};
  std::string text = std::string(kLineBreak) + kLineBreak;
  if (!SeveralFiles(target, count))
    text += "This file has other names (hard links) that may lie outside what you chose; it is";
  else if (withOtherNames == 1)
    text +=
        "1 of these files has other names (hard links) that may lie outside what you chose; "
        "it is";
  else
    text += std::to_string(withOtherNames) +
            " of these files have other names (hard links) that may lie outside what you "
            "chose; they are";
  return text + " not purged unless \"" + kHardLinkedFilesCaption + "\" is ticked.";
}

// The drive that holds a root or path; a drive that cannot be found is taken to be the one
// named, so that its cluster size falls back as for a drive that does not answer.
Platform::DriveInfo ClusterSizeDrive(const std::string& strDriveLetter) {
  Platform::DriveInfo drive;
  if (Platform::DriveOfPath(strDriveLetter, drive)) {
    drive = {};
    drive.root = strDriveLetter;
  }
  return drive;
}

}  // namespace

PurgeConfirmationTexts BuildPurgeConfirmationText(const TargetRecord& target,
                                                  bool dateRestrictionInForce, std::int32_t count,
                                                  std::int32_t withOtherNames,
                                                  RandomSource& random) {
  // The same shortened paths serve both messages.
  const std::string question = WhatIsPurged(target, count, random);
  PurgeConfirmationTexts texts;
  texts.element[0] = kSlackQuestion + question;
  texts.element[1] = kPurgeQuestion + question +
                     HowMuchIsDestroyed(target, dateRestrictionInForce, count) +
                     OtherNamesParagraph(target, count, withOtherNames);
  return texts;
}

std::string DoPurgeCaption(std::int32_t filesInFolder, bool subfolders) {
  if (filesInFolder < 2 && !subfolders) return "Yes, purge this file";
  return "Yes, purge these files";
}

int ClusterSizeEntryIndex(std::int32_t clusterSize) {
  for (std::size_t i = 0; i < kClusterSizeEntries.size(); ++i)
    if (kClusterSizeEntries[i].value == clusterSize) return static_cast<int>(i);
  return -1;
}

std::int32_t GetClusterSize(DriveClusterSize& clusterSizes, const std::string& strDriveLetter) {
  return clusterSizes.GetClusterSize(ClusterSizeDrive(strDriveLetter));
}

void SetClusterSize(DriveClusterSize& clusterSizes, const std::string& strDriveLetter,
                    std::int32_t clusterSize) {
  clusterSizes.Set(ClusterSizeDrive(strDriveLetter).root, clusterSize);
}
