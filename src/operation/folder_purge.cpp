#include "operation/folder_purge.h"

#include <utility>

#include "operation/program_settings.h"
#include "operation/result_texts.h"
#include "platform/folders.h"
#include "platform/handles.h"
#include "platform/paths.h"
#include "targets/matching.h"
#include "targets/target_texts.h"
#include "text/locale_format.h"
#include "text/user_dialogs.h"

namespace {

constexpr int kShownPathLength = 65;
constexpr char kContinueQuestion[] =
    "Click 'OK' to continue, or 'Cancel' to terminate this operation.";

// Folder names are told apart by case where the file systems do so; a selected "Docs" must not
// admit a neighbouring "docs" that the user left out.
#ifdef _WIN32
constexpr bool kNamesIgnoreCase = true;
#else
constexpr bool kNamesIgnoreCase = false;
#endif

std::string Comparable(const std::string& path) {
  if constexpr (kNamesIgnoreCase) return LowerCaseForMatching(path);
  return path;
}

// The folder without trailing separators (the root stays "/").
std::string WithoutTrailingSeparator(const std::string& folder) {
  std::string out = folder;
  while (out.size() > 1 && out.back() == Platform::kPathSeparator) out.pop_back();
  return out;
}

struct FolderContents {
  std::vector<std::string> files;    // everything that is not a real folder, links included
  std::vector<std::string> folders;  // real folders only; a link to a folder is never entered
};

// The entries of a folder in the order the system gives them.
std::error_code ReadFolder(const Platform::FolderHandle& folder, FolderContents& contents) {
  return folder.List([&](const Platform::FolderEntry& e) {
    (e.isFolder ? contents.folders : contents.files).push_back(e.name);
    return true;
  });
}

// The detail a message gives below its first line: what the report would say of the file, or the
// system's reason.
std::string Detail(const FilePurge::PurgeOutcome& outcome) {
  switch (outcome.code) {
    case FilePurge::kHardLinked:
    case FilePurge::kNotOnDisk:
    case FilePurge::kReplaced:
    case FilePurge::kNotARegularFile:
      return "(" + OutcomeReportText(outcome, 1).substr(2) + ")";
    default:
      if (FilePurge::OldDataMayRemain(outcome.code))
        return "(" + OutcomeReportText(outcome, 1).substr(2) + ")";
      return outcome.error ? "(" + ReasonText(outcome.error) + ")" : std::string();
  }
}

// Counts the levels of the walk, so the outermost call knows itself.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

FolderPurge::FolderPurge(ProgramSettings& settings, UserDialogs& dialogs, FolderPurgeHost& host,
                         FilePurge::PurgeEnvironment& environment)
    : settings_(settings), dialogs_(dialogs), host_(host), environment_(environment) {}

bool FolderPurge::PurgeSelectedFolders(const std::string& strCaption) {
  blnStop = false;
  terminated_ = false;
  FolderPurgeMode = 1;
  FolderPurgeTotal = 0;
  FolderPurgeDone = 0;
  KXesPurgeRecursive2(topFolder, 1, strCaption);
  if (terminated_) return false;
  FolderPurgeMode = 0;
  KXesPurgeRecursive2(topFolder, 1, strCaption);
  // Nothing is being purged any more: the label keeps no line of a file that is gone.
  Show("");
  return !terminated_;
}

void FolderPurge::KXesPurgeRecursive2(const std::string& strDirPath, short intSelectedFolders,
                                      const std::string& strCaption) {
  if (depth_ == 0) {
    // A Cancel of an earlier walk stands while blnStop stays set; an F10 pressed before the
    // start is asked about at the first poll like any other.
    if (!blnStop) terminated_ = false;
  }
  if (terminated_) return;
  Platform::FolderHandle folder;
  if (const std::error_code error = folder.Open(strDirPath)) {
    (void)TellNotEntered(WithTrailingSeparator(strDirPath), error, strCaption);
    return;
  }
  WalkFolder(folder, strDirPath, intSelectedFolders, strCaption);
}

void FolderPurge::WalkFolder(const Platform::FolderHandle& handle, const std::string& strDirPath,
                             short intSelectedFolders, const std::string& strCaption) {
  const DepthGuard level(depth_);
  const short purgeType = settings_.purgeType.GetPurgeType();
  const short passes = settings_.purgeType.GetNumberOfPasses();
  const std::string folder = WithTrailingSeparator(strDirPath);

  FolderContents contents;
  if (const std::error_code error = ReadFolder(handle, contents)) {
    (void)TellNotEntered(folder, error, strCaption);
    return;
  }

  if (!IsTopFolder(folder) || includeTopFolderFiles) {
    Platform::FileIdentity folderIdentity;
    (void)handle.Identity(folderIdentity);
    bool removed = false;
    for (const std::string& name : contents.files) {
      const std::string path = folder + name;
      host_.Yield();
      if (!PollInterruption(strCaption)) break;
      Platform::EntryStatus status;
      (void)handle.Status(name, status);
      const short check = settings_.protectedFiles.CheckFile(path, folderIdentity, status.identity);
      if (check == FileOps::kProgramFolder || check == FileOps::kPagingFile) continue;
      if (FolderPurgeMode == 1) {
        ++FolderPurgeTotal;
        Show("Files to purge:" + std::string(" ") + std::to_string(FolderPurgeTotal));
        continue;
      }
      removed = true;
      if (!PurgeOneFile(handle, name, path, strCaption, purgeType, passes)) break;
      ++FolderPurgeDone;
    }
    // The deletions of this folder are made lasting once, after its last one.
    if (removed) (void)handle.Sync();
    if (terminated_) return;
  }

  bool removedFolder = false;
  for (const std::string& name : contents.folders) {
    const std::string subfolder = folder + name;
    if (!IsSelected(subfolder)) continue;
    Platform::FolderHandle subHandle;
    if (const std::error_code error = handle.OpenSubfolder(name, subHandle)) {
      if (!TellNotEntered(WithTrailingSeparator(subfolder), error, strCaption)) break;
      continue;
    }
    WalkFolder(subHandle, subfolder, intSelectedFolders, strCaption);
    if (terminated_) break;
    // A folder is removed only when it holds nothing at all, and never in place of a link.
    Platform::FileIdentity identity;
    if (FolderPurgeMode == 0 && !IsTopFolder(WithTrailingSeparator(subfolder)) &&
        !subHandle.Identity(identity) && !handle.RemoveSubfolder(name, identity))
      removedFolder = true;
    host_.Yield();
    if (!PollInterruption(strCaption)) break;
  }
  if (removedFolder) (void)handle.Sync();
}

bool FolderPurge::PurgeOneFile(const Platform::FolderHandle& handle, const std::string& name,
                               const std::string& path, const std::string& strCaption,
                               short purgeType, short passes) {
  const std::string prefix = DoneSoFarText();
  const std::string shownPath = ShortenPath(path, kShownPathLength, settings_.random);
  const auto showPass = [&](short pass) {
    std::string text = prefix + "Now purging";
    if (passes > 1) text += " (pass" + std::to_string(pass) + ")";
    text += ":";
    text += "\r\n";
    text += shownPath;
    Show(text);
  };
  showPass(1);
  bool goOn = true;
  const FilePurge::PurgeRequest request{purgeType, passes, true, true, true, false};
  const FilePurge::PurgeOutcome outcome =
      FilePurge::PurgeFileIn(handle, name, request, environment_, [&](short pass) {
        host_.Yield();
        goOn = PollInterruption(strCaption);
        if (goOn) showPass(static_cast<short>(pass + 1));
        return goOn;
      });
  if (!goOn) return false;
  host_.Yield();
  if (!PollInterruption(strCaption)) return false;
  // A file that could not be opened for writing keeps its data, so it is told like every other
  // failure rather than passed over.
  if (outcome.code >= 0 || outcome.code == FilePurge::kStopped) return true;
  std::string message = outcome.code == FilePurge::kNotDeleted
                            ? "File deletion error.  File (shown below) may be hidden."
                            : "An error (" + std::to_string(outcome.code) + ") has been reported.";
  if (const std::string detail = Detail(outcome); !detail.empty()) message += "\r\n" + detail;
  message += "\r\n" + path + "\r\n" + kContinueQuestion;
  const MessageAnswer answer = dialogs_.ShowMessage(
      {strCaption, message, MessageIcon::Exclamation, MessageButtons::OKCancel, MessageAnswer::OK});
  if (answer == MessageAnswer::Cancel) {
    blnStop = true;
    Terminate();
    return false;
  }
  return true;
}

// Tells the user of a folder that could not be read or was not entered; false when the user
// chose Cancel.
bool FolderPurge::TellNotEntered(const std::string& folder, const std::error_code& error,
                                 const std::string& strCaption) {
  const std::string message = FolderNotEnteredText(folder, error) + "\r\n" + kContinueQuestion;
  const MessageAnswer answer = dialogs_.ShowMessage(
      {strCaption, message, MessageIcon::Exclamation, MessageButtons::OKCancel, MessageAnswer::OK});
  if (answer != MessageAnswer::Cancel) return true;
  blnStop = true;
  Terminate();
  return false;
}

std::string FolderPurge::DoneSoFarText() const {
  if (FolderPurgeDone < 2) return {};
  // Files that appeared after the counting pass can make the count of done files the larger.
  const double total = FolderPurgeTotal > 0 ? FolderPurgeTotal : FolderPurgeDone;
  const double percentage = FolderPurgeDone * 100.0 / total;
  return StrProc::GroupedNumberText(FolderPurgeDone, 0) + " files purged (" +
         StrProc::GroupedNumberText(percentage, 0) + "% of " +
         StrProc::GroupedNumberText(FolderPurgeTotal, 0) + "). ";
}

bool FolderPurge::PollInterruption(const std::string& strCaption) {
  if (!blnStop) return true;
  std::string question = progressText_;
  if (!question.empty()) question += "\r\n\r\n";
  question += kContinueQuestion;
  const MessageAnswer answer = dialogs_.ShowMessage(
      {strCaption, question, MessageIcon::Question, MessageButtons::OKCancel, MessageAnswer::OK});
  if (answer == MessageAnswer::OK) {
    blnStop = false;
    return true;
  }
  Terminate();
  return false;
}

void FolderPurge::Terminate() {
  terminated_ = true;
  Show("");
}

void FolderPurge::Show(const std::string& text) {
  progressText_ = text;
  host_.ShowProgress(text);
}

bool FolderPurge::IsSelected(const std::string& folderPath) const {
  // A selected folder admits itself and what lies below it, never a neighbour whose name merely
  // begins with the same letters ("/a/b" does not admit "/a/bc").
  const std::string candidate = Comparable(folderPath);
  for (const std::string& selected : selectedPaths) {
    if (selected.empty()) continue;
    const std::string own = Comparable(WithoutTrailingSeparator(selected));
    if (candidate == own || candidate.starts_with(Comparable(WithTrailingSeparator(own))))
      return true;
  }
  return false;
}

bool FolderPurge::IsTopFolder(const std::string& folder) const {
  return !topFolder.empty() &&
         Comparable(WithTrailingSeparator(folder)) == Comparable(WithTrailingSeparator(topFolder));
}
