#include "setups/setup_panel_window.h"

#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <utility>

#include "engine/file_proc.h"
#include "platform/paths.h"
#include "text/user_dialogs.h"
#include "ui/main_window_services.h"
#include "ui/twips.h"

namespace {

const char* const kOperationFileFilter = "Operation files (*.kxs)";

QFrame* MakePanel(QWidget* window, const char* objectName) {
  auto* panel = new QFrame(window);
  panel->setObjectName(QString::fromLatin1(objectName));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  // The panel lies over the main window's labels and must hide them.
  panel->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(panel);
  const int margin = Twips::ToPixels(90, window);
  layout->setContentsMargins(margin, margin, margin, margin);
  layout->setSpacing(Twips::ToPixels(60, window));
  panel->hide();
  return panel;
}

QPushButton* AddButton(QFrame* panel, const char* objectName, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), panel);
  button->setObjectName(QString::fromLatin1(objectName));
  panel->layout()->addWidget(button);
  return button;
}

void Focus(QWidget* widget) {
  if (widget != nullptr) widget->setFocus(Qt::OtherFocusReason);
}

// Shows a panel to the right of the menu frame, its top the given distance above cmdSetup's top.
void ShowPanel(MainWindowServices& main, QFrame* panel, int twipsAboveSetupButton) {
  QWidget* window = main.Window();
  QPushButton* cmdSetup = main.Button("cmdSetup");
  const auto* fraMenu = window->findChild<QWidget*>(QStringLiteral("fraMenu"));
  int left = 0;
  int top = 0;
  if (cmdSetup != nullptr) {
    const QPoint setupTopLeft = cmdSetup->mapTo(window, QPoint(0, 0));
    const int menuLeft =
        fraMenu != nullptr ? fraMenu->mapTo(window, QPoint(0, 0)).x() : setupTopLeft.x();
    left = menuLeft + cmdSetup->width() + Twips::ToPixels(100, window);
    top = setupTopLeft.y() - Twips::ToPixels(twipsAboveSetupButton, window);
  }
  panel->adjustSize();
  // A small window must not push the panel out of sight.
  left = std::max(0, std::min(left, window->width() - panel->width()));
  top = std::max(0, std::min(top, window->height() - panel->height()));
  panel->move(left, top);
  panel->show();
  panel->raise();
}

// After a load: every display shows the settings anew, and an estimate made before no longer
// holds.
void RefreshDisplays(MainWindowServices& main) {
  main.RefreshTargetDisplay();
  main.RefreshSubfolderDisplay();
  main.RefreshTypeOfPurgeDescription();
  main.UpdateDateRestrictionLabel();
  main.ClearEstimate();
}

}  // namespace

SetupPanels::SetupPanels(MainWindowServices& main, ProgramSettings& settings, UserDialogs& dialogs,
                         RememberedSetup& remembered, std::string nextRunSetupPath)
    : main_(main),
      settings_(settings),
      dialogs_(dialogs),
      remembered_(remembered),
      nextRunSetupPath_(std::move(nextRunSetupPath)),
      setupFolder_(Platform::FolderPart(nextRunSetupPath_)) {
  QWidget* window = main_.Window();
  // Each panel's buttons have mnemonics of their own; the menu is disabled while one is shown.
  fraSetup_ = MakePanel(window, "fraSetup");
  fraSetup_->setAccessibleName(QStringLiteral("Setup"));
  QPushButton* cmdLoadSetup = AddButton(fraSetup_, "cmdLoadSetup", "&Load setup");
  QPushButton* cmdSaveSetup = AddButton(fraSetup_, "cmdSaveSetup", "&Save setup");
  QPushButton* cmdClearSetup = AddButton(fraSetup_, "cmdClearSetup", "&Clear setup");
  QPushButton* cmdRestoreSetup = AddButton(fraSetup_, "cmdRestoreSetup", "&Restore setup");
  QPushButton* cmdKeepSetup = AddButton(fraSetup_, "cmdKeepSetup", "&Not now");

  picSaveSetup_ = MakePanel(window, "picSaveSetup");
  picSaveSetup_->setAccessibleName(QStringLiteral("Save setup"));
  QPushButton* cmdSaveSetupAsOperationFile =
      AddButton(picSaveSetup_, "cmdSaveSetupAsOperationFile", "Save setup as &operation file");
  QPushButton* cmdSaveSetupForNextRun =
      AddButton(picSaveSetup_, "cmdSaveSetupForNextRun", "Save setup for ne&xt run");
  QPushButton* cmdDontSaveSetup = AddButton(picSaveSetup_, "cmdDontSaveSetup", "&Not now");

  connect(cmdLoadSetup, &QPushButton::clicked, this, [this] { LoadSetup(); });
  connect(cmdSaveSetup, &QPushButton::clicked, this, [this] {
    fraSetup_->hide();
    ShowPanel(main_, picSaveSetup_, 210);
    Focus(picSaveSetup_->findChild<QPushButton*>(QStringLiteral("cmdSaveSetupForNextRun")));
  });
  connect(cmdClearSetup, &QPushButton::clicked, this, [this] { ClearSetup(); });
  connect(cmdRestoreSetup, &QPushButton::clicked, this, [this] { RestoreSetup(); });
  connect(cmdKeepSetup, &QPushButton::clicked, this, [this] { CloseSetupPanel(); });
  connect(cmdSaveSetupAsOperationFile, &QPushButton::clicked, this,
          [this] { SaveSetupAsOperationFile(); });
  connect(cmdSaveSetupForNextRun, &QPushButton::clicked, this, [this] { SaveSetupForNextRun(); });
  connect(cmdDontSaveSetup, &QPushButton::clicked, this, [this] {
    picSaveSetup_->hide();
    CloseSetupPanel();
  });
}

void SetupPanels::cmdSetup_MouseUp() {
  if (main_.DialogGuard()) return;
  main_.ShowSetupFilename(false);
  main_.SetMenuEnabled(false);
  ShowPanel(main_, fraSetup_, 540);
  fraSetup_->setEnabled(true);
  Focus(fraSetup_->findChild<QPushButton*>(QStringLiteral("cmdSaveSetup")));
}

void SetupPanels::CloseSetupPanel() {
  fraSetup_->hide();
  main_.ShowSetupFilename(true);
  main_.SetMenuEnabled(true);
  Focus(main_.Button("cmdSetup"));
}

void SetupPanels::LoadSetup() {
  fraSetup_->hide();
  const std::optional<std::string> chosen = dialogs_.ChooseFileToOpen(
      {"Specify operation file to be loaded", setupFolder_, kOperationFileFilter, ""});
  main_.StartDialogGuard();
  if (chosen.has_value() && !chosen->empty()) {
    const std::string& name = *chosen;
    if (FileProc::FileExists(name)) {
      const bool loaded = LoadSetupFromFile(name, settings_);
      // A failed load changes nothing.
      if (loaded) {
        RefreshDisplays(main_);
        RememberSetup(settings_, remembered_);
        main_.SetSetupFilename(name);
        KeepSetupFolder(name);
      } else {
        dialogs_.Tell("Error", "Error when attempting to load setup from file " + name + "!",
                      MessageIcon::Exclamation);
      }
    } else {
      dialogs_.Tell("Error when attempting to load setup.", "File " + name + " not found!",
                    MessageIcon::Exclamation);
    }
  }
  main_.ShowSetupFilename(true);
  main_.SetMenuEnabled(true);
  Focus(main_.Button("cmdSetup"));
}

void SetupPanels::SaveSetupAsOperationFile() {
  picSaveSetup_->hide();
  const std::optional<std::string> chosen = dialogs_.ChooseFileToSave(
      {"Specify operation file to be saved", setupFolder_, kOperationFileFilter, ""});
  main_.StartDialogGuard();
  if (chosen.has_value() && !chosen->empty()) {
    // Saved as an operation file, which the Load dialog shows.
    const std::string name = WithOperationFileExtension(*chosen);
    bool save = true;
    if (FileProc::FileExists(name)) {
      save = dialogs_.ShowMessage({"File exists", "Overwrite existing file " + name + "?",
                                   MessageIcon::Question, MessageButtons::YesNoCancel,
                                   MessageAnswer::Yes}) == MessageAnswer::Yes;
    }
    if (save) {
      if (SaveSetupToFile(name, settings_)) {
        main_.SetSetupFilename(name);
        KeepSetupFolder(name);
      } else {
        dialogs_.Tell("Error", "Cannot save setup in operation file " + name + "!",
                      MessageIcon::Exclamation);
        main_.SetSetupFilename("");
      }
    }
  }
  main_.ShowSetupFilename(true);
  main_.SetMenuEnabled(true);
  fraSetup_->setEnabled(true);
  Focus(main_.Button("cmdSetup"));
}

void SetupPanels::KeepSetupFolder(const std::string& path) {
  const std::string folder = Platform::FolderPart(path);
  if (!folder.empty()) setupFolder_ = folder;
}

void SetupPanels::SaveSetupForNextRun() {
  if (!SaveSetupToFile(nextRunSetupPath_, settings_)) {
    dialogs_.Tell("Error", "Cannot save setup!", MessageIcon::Exclamation);
  }
  picSaveSetup_->hide();
  main_.ShowSetupFilename(true);
  main_.SetMenuEnabled(true);
  fraSetup_->setEnabled(true);
  Focus(main_.Button("cmdSetup"));
}

void SetupPanels::ClearSetup() {
  ::ClearSetup(settings_, remembered_);
  main_.RefreshTargetDisplay();
  main_.RefreshSubfolderDisplay();
  main_.SetSetupFilename("");
  CloseSetupPanel();
}

void SetupPanels::RestoreSetup() {
  ::RestoreSetup(settings_, remembered_);
  main_.RefreshTargetDisplay();
  main_.RefreshSubfolderDisplay();
  // An estimate made for the target before the restore no longer holds.
  main_.ClearEstimate();
  CloseSetupPanel();
  main_.UpdateDateRestrictionLabel();
}
