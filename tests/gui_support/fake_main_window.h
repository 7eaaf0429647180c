#pragma once

#include <QFrame>
#include <QPushButton>
#include <QWidget>
#include <map>
#include <string>

#include "ui/main_window_services.h"

namespace TestSupport {

// A main window with only what panels and dialogs use: fraMenu holding cmdSetup, and a record of
// what they asked of it.
class FakeMainWindow : public QWidget, public MainWindowServices {
 public:
  FakeMainWindow() {
    resize(900, 600);
    fraMenu = new QFrame(this);
    fraMenu->setObjectName(QStringLiteral("fraMenu"));
    fraMenu->setGeometry(30, 60, 180, 500);
    cmdSetup = new QPushButton(QStringLiteral("Setup"), fraMenu);
    cmdSetup->setObjectName(QStringLiteral("cmdSetup"));
    cmdSetup->setGeometry(0, 300, 150, 30);
  }

  QWidget* Window() override { return this; }
  QPushButton* Button(const std::string& n) override {
    return n == "cmdSetup" ? cmdSetup : nullptr;
  }
  void SetMenuEnabled(bool enabled) override { fraMenu->setEnabled(enabled); }
  void RefreshTargetDisplay() override { ++targetRefreshes; }
  void RefreshSubfolderDisplay() override {}
  void RefreshTypeOfPurgeDescription() override {}
  void UpdateDateRestrictionLabel() override { ++dateLabelUpdates; }
  void SetSetupFilename(const std::string& caption) override { setupFilename = caption; }
  void ShowSetupFilename(bool shown) override { setupFilenameShown = shown; }
  void StartDialogGuard() override { guard = true; }
  bool DialogGuard() const override { return guard; }
  void ClearEstimate() override { captions["lblEstimatedTime"].clear(); }
  void SetCaption(const std::string& label, const std::string& caption) override {
    captions[label] = caption;
  }
  void ShowInfoLabels(bool visible) override { infoLabelsShown = visible; }
  bool StartupCompleted() const override { return true; }
  void SetRunning(bool isRunning) override {
    running = isRunning;
    fraMenu->setEnabled(!isRunning);
  }
  bool Running() const override { return running; }
  void SetLastReport(const std::string& report) override { lastReport = report; }

  QFrame* fraMenu;
  QPushButton* cmdSetup;
  std::string setupFilename = "earlier.kxs";
  bool setupFilenameShown = true;
  bool guard = false;
  bool infoLabelsShown = true;
  bool running = false;
  int targetRefreshes = 0;
  int dateLabelUpdates = 0;
  std::map<std::string, std::string> captions;
  std::string lastReport;
};

}  // namespace TestSupport
