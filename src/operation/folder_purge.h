#pragma once

// The folder purge of selected subfolders: every file of the chosen subfolders of one folder, and
// of everything below them, is purged pass by pass and deleted, whatever its name or date, and
// every folder so emptied is removed. A counting pass first finds how many files there are; the
// purging pass then shows its progress against that count in the main window's label.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/file_purge.h"
#include "platform/handles.h"

struct ProgramSettings;
class UserDialogs;

// What the main window does for the folder purge.
class FolderPurgeHost {
 public:
  virtual ~FolderPurgeHost() = default;
  // A poll point: the window attends to its events (F10 may set blnStop meanwhile).
  virtual void Yield() {}
  // The text of lblPurgeFoldersMessage ("" clears it).
  virtual void ShowProgress(const std::string& text) { (void)text; }
};

class FolderPurge {
 public:
  FolderPurge(ProgramSettings& settings, UserDialogs& dialogs, FolderPurgeHost& host,
              FilePurge::PurgeEnvironment& environment);

  // Set by F10, possibly from another thread. At the next poll point the user is asked whether to
  // go on; OK clears it, Cancel leaves it set and ends the operation.
  std::atomic<bool> blnStop{false};
  // 1 for the counting pass, 0 for the purging pass.
  short FolderPurgeMode = 1;
  std::int32_t FolderPurgeTotal = 0;
  std::int32_t FolderPurgeDone = 0;

  // The selected subfolders, as full paths; only folders at or below one of them are entered.
  std::vector<std::string> selectedPaths;
  // The folder whose subfolders were selected. Its own files are purged only with
  // includeTopFolderFiles, and it is never removed.
  std::string topFolder;
  bool includeTopFolderFiles = true;

  // Walks strDirPath and the selected folders below it in the pass that FolderPurgeMode names.
  // intSelectedFolders is handed on unchanged; strCaption is the title of the message boxes.
  void KXesPurgeRecursive2(const std::string& strDirPath, short intSelectedFolders,
                           const std::string& strCaption);

  // The whole operation on topFolder: the counting pass, then the purging pass. False when the
  // user chose Cancel, in an interruption question or an error message.
  bool PurgeSelectedFolders(const std::string& strCaption);

  // True once the user chose Cancel; every level of the walk then returns.
  bool Terminated() const { return terminated_; }

 private:
  void WalkFolder(const Platform::FolderHandle& handle, const std::string& strDirPath,
                  short intSelectedFolders, const std::string& strCaption);
  // Purges the file with each pass; false when the user ended the operation.
  bool PurgeOneFile(const Platform::FolderHandle& handle, const std::string& name,
                    const std::string& path, const std::string& strCaption, short purgeType,
                    short passes);
  bool TellNotEntered(const std::string& folder, const std::error_code& error,
                      const std::string& strCaption);
  // The progress prefix of the purging pass ("" before the second file is done).
  std::string DoneSoFarText() const;
  // The interruption poll: true to go on, false when the user chose Cancel.
  bool PollInterruption(const std::string& strCaption);
  // Ends the operation at the user's Cancel: blnStop stays set and the label is cleared.
  void Terminate();
  void Show(const std::string& text);
  bool IsSelected(const std::string& folderPath) const;
  bool IsTopFolder(const std::string& folder) const;

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  FolderPurgeHost& host_;
  FilePurge::PurgeEnvironment& environment_;
  std::string progressText_;
  bool terminated_ = false;
  int depth_ = 0;
};
