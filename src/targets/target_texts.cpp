#include "targets/target_texts.h"

#include <vector>

#include "platform/program.h"
#include "targets/matching.h"
#include "text/str_proc.h"
#include "text/utf8.h"

namespace {

constexpr int kFolderCaptionLength = 70;
constexpr std::size_t kLongestExplainedFilespec = 20;

// Characters, not bytes: a UTF-8 sequence counts once.
int CharCount(const std::string& text) {
  return static_cast<int>(Utf8::CharacterCount(text));
}

// The first count characters of the text.
std::string CharPrefix(const std::string& text, int count) {
  return text.substr(0, Utf8::PrefixBytes(text, static_cast<std::size_t>(count)));
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (const char c : path) {
    if (c == Platform::kPathSeparator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

}  // namespace

std::string FilespecExplanation(const std::string& filespec) {
  if (!HasWildcard(filespec) || filespec.size() > kLongestExplainedFilespec) return {};
  if (filespec == "*.*") return "(All files.)";
  if (filespec.rfind("*.", 0) == 0)
    return "(All files with extension \"" + filespec.substr(2) + "\".)";
  return "(All files of the form \"" + filespec + "\".)";
}

TargetDescription DescribeTarget(const TargetRecord& target, const std::string& notSpecified,
                                 RandomSource& random) {
  TargetDescription description;
  if (target.TargetFolder.empty()) {
    description.folderCaption = notSpecified;
    description.clearEstimatedTime = true;
    description.clearSubfolderLabels = true;
  } else {
    description.folderCaption = ShortenPath(target.TargetFolder, kFolderCaptionLength, random);
  }
  if (target.TargetFilespec.empty()) {
    description.filesCaption = notSpecified;
    description.clearEstimatedTime = true;
    description.clearDateRestriction = true;
  } else {
    description.filesCaption = target.TargetFilespec;
    if (!target.filespecIsName)
      description.filesExplanation = FilespecExplanation(target.TargetFilespec);
  }
  if (target.TargetFolder.empty() || target.TargetFilespec.empty())
    description.singleFileHint = "To purge multiple files, specify folder and files.";
  return description;
}

SubfolderSetting ShowSubfolderSetting(TargetRecord& target, std::int32_t subfolderCount) {
  if (target.TargetFolder.empty()) return {};
  if (subfolderCount == 0) {
    target.blnSubdirectories = false;
    return {"No", "(The folder has no subfolders.)"};
  }
  if (target.blnSubdirectories)
    return {"Yes", "(Operate on all specified files in lower subfolders.)"};
  return {"No", "(Do not operate on files in lower subfolders.)"};
}

std::string ShortenPath(const std::string& path, int maxLength, RandomSource& random) {
  if (CharCount(path) <= maxLength || maxLength < 5) return path;
  const std::vector<std::string> parts = SplitPath(path);
  const int count = static_cast<int>(parts.size());
  // A path without separators has no middle folders: it is cut at its end like any other.
  if (count == 1) return CharPrefix(path, maxLength - 3) + "...";

  std::string result = path;
  std::vector<bool> elided(parts.size(), false);
  for (int tries = 1;; ++tries) {
    // The first and last names stay, but with two names the draw can only give the last.
    const int k = StrProc::RandomInteger(1, count - 2, random);
    if (elided[static_cast<std::size_t>(k)]) {
      if (tries <= 3 * count) continue;
      break;
    }
    const std::string& part = parts[static_cast<std::size_t>(k)];
    if (const auto at = part.empty() ? std::string::npos : result.find(part);
        at != std::string::npos)
      result.replace(at, part.size(), "...");
    if (CharCount(result) <= maxLength) break;
    elided[static_cast<std::size_t>(k)] = true;
  }
  if (CharCount(result) <= maxLength - 3) return result;
  return CharPrefix(result, maxLength - 3) + "...";
}
