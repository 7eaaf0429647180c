#pragma once

// The captions with which the main window describes the target. The window only shows them.

#include <cstdint>
#include <string>

#include "targets/target_record.h"

class RandomSource;

// The captions of the target labels. Where nothing is chosen, a label shows the placeholder text
// the caller passes (the program's text for "not specified").
struct TargetDescription {
  std::string folderCaption;     // lblTargetFolder: the folder, shortened to 70 characters
  std::string filesCaption;      // lblFiles: the file specification
  std::string filesExplanation;  // lblFiles2: what a pattern means
  std::string singleFileHint;    // lblSingleFile
  bool clearEstimatedTime = false;
  bool clearSubfolderLabels = false;
  bool clearDateRestriction = false;
};

TargetDescription DescribeTarget(const TargetRecord& target, const std::string& notSpecified,
                                 RandomSource& random);

// What lblFiles2 says about a file specification shown in lblFiles ("" when it explains nothing).
std::string FilespecExplanation(const std::string& filespec);

// The captions of lblSubdirectories and lblSubdirectories2 for a folder with subfolderCount
// direct subfolders (-1 when it cannot be read). A folder without subfolders turns
// blnSubdirectories off.
struct SubfolderSetting {
  std::string answer;       // "Yes", "No" or ""
  std::string explanation;  // in brackets
};
SubfolderSetting ShowSubfolderSetting(TargetRecord& target, std::int32_t subfolderCount);

// The path with middle folders replaced by "..." until it has at most maxLength characters;
// never longer than maxLength when maxLength is 5 or more.
std::string ShortenPath(const std::string& path, int maxLength, RandomSource& random);
