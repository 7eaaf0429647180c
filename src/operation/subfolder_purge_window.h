#pragma once

// The "Purge folders" command of the main window: the user picks a folder and some of its
// subfolders, confirms the summary, and every file in those subfolders and below them is purged
// on a worker thread while lblPurgeFoldersMessage shows the progress.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "operation/subfolder_purge_flow.h"
#include "operation/volume_warnings.h"
#include "text/user_dialogs.h"

class MainWindowServices;
class UserDialogs;
struct ProgramSettings;

class SubfolderPurge : public QObject {
  Q_OBJECT

 public:
  // Lets the user check subfolders of parent; nothing when the user cancelled.
  using SelectSubfolders = std::function<std::optional<SubfolderPurgeFlow::Selection>(
      const std::string& parent, const std::string& caption)>;

  // dialogs are the GUI thread's; all three references must outlive this object.
  SubfolderPurge(ProgramSettings& settings, UserDialogs& dialogs, MainWindowServices& main,
                 SelectSubfolders selectSubfolders, QObject* parent = nullptr);
  ~SubfolderPurge() override;

  // The button's release: the whole flow, ending with the purge started on a worker thread.
  // Does nothing while the window guards against a stray release or while a run is on.
  void cmdSpecifyDirectory1_MouseUp();

  // F10: the running purge asks at its next poll point whether to go on.
  void Interrupt();

  // True while the folder purge runs.
  bool Purging() const { return run_ != nullptr; }

  // The warnings about the drive of the parent folder that the last question shows (tests
  // replace them).
  std::function<std::vector<std::string>(const std::string& folder)> volumeWarnings =
      VolumeWarningsForPath;

 signals:
  // The command is over, with or without a purge.
  void finished();

 private:
  struct Run;

  // From the chosen parent folder to the confirmed summary; true when the purge has started.
  bool PurgeSubfoldersOf(const std::string& parent);
  bool Ask(const std::string& text, MessageButtons buttons, MessageAnswer defaultButton);
  void StartPurge(const std::string& parent, const std::vector<std::string>& paths);
  void PurgeEnded();
  void EndCommand();

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  MainWindowServices& main_;
  SelectSubfolders selectSubfolders_;
  std::unique_ptr<Run> run_;
};
