#include "operation/subfolder_purge_window.h"

#include <utility>

#include "engine/file_purge.h"
#include "operation/folder_purge.h"
#include "operation/program_settings.h"
#include "platform/paths.h"
#include "targets/folder_queries.h"
#include "ui/main_window_services.h"
#include "ui/worker_bridge.h"

namespace {

constexpr char kProgressLabel[] = "lblPurgeFoldersMessage";

// Runs on the worker thread: the window attends to its own events, so a yield has nothing to do,
// and each progress text goes to the label on the GUI thread without making the purge wait. The
// label is cleared when the per-file purge has finished a file.
class ProgressToLabel final : public FolderPurgeHost, public FilePurge::PurgeHost {
 public:
  ProgressToLabel(QObject* guiContext, MainWindowServices& main)
      : context_(guiContext), main_(main) {}

  void Yield() override {}

  void ShowProgress(const std::string& text) override {
    MainWindowServices* main = &main_;
    QMetaObject::invokeMethod(
        context_, [main, text] { main->SetCaption(kProgressLabel, text); }, Qt::QueuedConnection);
  }

  void FileDone() override { ShowProgress(""); }

 private:
  QObject* context_;
  MainWindowServices& main_;
};

}  // namespace

// Everything the worker uses while the purge runs; it lives until the worker has finished.
struct SubfolderPurge::Run {
  Run(ProgramSettings& settings, UserDialogs& guiDialogs, QObject* guiContext,
      MainWindowServices& main)
      : dialogs(guiDialogs, guiContext),
        host(guiContext, main),
        environment(settings.clusterSizes, settings.random),
        purge(settings, dialogs, host, environment) {
    environment.host = &host;
  }

  GuiThreadDialogs dialogs;
  ProgressToLabel host;
  FilePurge::PurgeEnvironment environment;
  FolderPurge purge;
};

SubfolderPurge::SubfolderPurge(ProgramSettings& settings, UserDialogs& dialogs,
                               MainWindowServices& main, SelectSubfolders selectSubfolders,
                               QObject* parent)
    : QObject(parent),
      settings_(settings),
      dialogs_(dialogs),
      main_(main),
      selectSubfolders_(std::move(selectSubfolders)) {}

SubfolderPurge::~SubfolderPurge() = default;

void SubfolderPurge::cmdSpecifyDirectory1_MouseUp() {
  if (main_.DialogGuard() || main_.Running() || run_) return;
  main_.SetCaption("lblLargePurgeMessage", "");
  if (!Ask(SubfolderPurgeFlow::StartQuestion(), MessageButtons::YesNo, MessageAnswer::Yes)) {
    emit finished();
    return;
  }
  main_.ShowInfoLabels(false);
  const std::optional<std::string> chosen =
      dialogs_.ChooseFolder({SubfolderPurgeFlow::ChooserTitle(), "", "", ""});
  if (chosen && !chosen->empty()) {
    const std::string folder = WithTrailingSeparator(*chosen);
    if (CountSubfolders(folder) == 0) {
      dialogs_.Tell(SubfolderPurgeFlow::kCaption, SubfolderPurgeFlow::NoSubfoldersMessage(folder),
                    MessageIcon::Information);
    } else if (PurgeSubfoldersOf(folder)) {
      return;  // the end of the purge ends the command
    }
  }
  EndCommand();
}

void SubfolderPurge::Interrupt() {
  if (run_) run_->purge.blnStop = true;
}

bool SubfolderPurge::PurgeSubfoldersOf(const std::string& parent) {
  if (const auto warning = SubfolderPurgeFlow::ParentWarning(parent)) {
    if (!Ask(*warning, MessageButtons::YesNo, MessageAnswer::Yes)) return false;
  }
  const std::optional<SubfolderPurgeFlow::Selection> selection =
      selectSubfolders_ ? selectSubfolders_(parent, SubfolderPurgeFlow::SelectionCaption(parent))
                        : std::nullopt;
  if (!selection || selection->paths.empty()) {
    dialogs_.Tell(SubfolderPurgeFlow::kCaption, SubfolderPurgeFlow::kNoneSelected,
                  MessageIcon::Information);
    return false;
  }
  for (const std::string& warning : SubfolderPurgeFlow::SelectedPathWarnings(selection->paths))
    if (!Ask(warning, MessageButtons::YesNo, MessageAnswer::Yes)) return false;
  std::string summary =
      SubfolderPurgeFlow::SummaryText(*selection, settings_.dateRestriction.blnDateRestriction());
  // Where the drive may keep copies that no overwrite reaches, the last question says so.
  const std::vector<std::string> warnings = volumeWarnings(parent);
  for (std::size_t i = 0; i < warnings.size(); ++i)
    summary += (i == 0 ? "\r\n\r\n" : "\r\n") + warnings[i];
  if (!Ask(summary, MessageButtons::OKCancel, MessageAnswer::Cancel)) return false;
  StartPurge(parent, selection->paths);
  return true;
}

bool SubfolderPurge::Ask(const std::string& text, MessageButtons buttons,
                         MessageAnswer defaultButton) {
  const MessageAnswer answer = dialogs_.ShowMessage(
      {SubfolderPurgeFlow::kCaption, text, MessageIcon::Question, buttons, defaultButton});
  return answer == MessageAnswer::Yes || answer == MessageAnswer::OK;
}

void SubfolderPurge::StartPurge(const std::string& parent, const std::vector<std::string>& paths) {
  run_ = std::make_unique<Run>(settings_, dialogs_, this, main_);
  run_->purge.topFolder = parent;
  run_->purge.selectedPaths = paths;
  // The user chose subfolders: the files of the folder above them are not part of the choice.
  run_->purge.includeTopFolderFiles = false;
  main_.SetRunning(true);
  FolderPurge* purge = &run_->purge;
  RunOnWorkerThread(
      this, [purge] { purge->PurgeSelectedFolders(SubfolderPurgeFlow::kCaption); },
      [this] { PurgeEnded(); });
}

void SubfolderPurge::PurgeEnded() {
  run_.reset();
  main_.SetRunning(false);
  EndCommand();
}

void SubfolderPurge::EndCommand() {
  main_.ShowInfoLabels(true);
  main_.UpdateDateRestrictionLabel();
  emit finished();
}
