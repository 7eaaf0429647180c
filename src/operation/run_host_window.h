#pragma once

// The run's host in the desktop program. The run works on a worker thread and calls this host
// there: it never touches a window itself. Report text and captions go to the report window by
// queued signals; the per-file confirmation is asked on the window's thread while the worker
// waits for the answer.

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "operation/run_host.h"
#include "ui/worker_bridge.h"

class PurgeRun;

class RunWindowHost final : public QObject, public RunHost {
  Q_OBJECT

 public:
  // confirmFile is called on this object's thread (the window's) and answers the per-file
  // confirmation.
  explicit RunWindowHost(std::function<FileConfirmation(const std::string&)> confirmFile,
                         QObject* parent = nullptr);

  void SetRun(const PurgeRun* run) { run_ = run; }
  // Once set, questions are no longer shown: the per-file confirmation answers Stop.
  void SetClosing() { closing_ = true; }
  bool Closing() const { return closing_; }

  // --- Called on the worker thread ---------------------------------------------------------
  void ReportChanged() override;
  void CaptionChanged(const std::string& caption) override;
  FileConfirmation ConfirmFile(const std::string& label) override;

  // --- Called on the window's thread -------------------------------------------------------
  // The latest report taken by ReportChanged. Updates that came in quick succession reach the
  // window as one.
  std::string TakeReport();

 signals:
  void reportChanged();
  void captionChanged(const QString& caption);

 private:
  std::function<FileConfirmation(const std::string&)> confirmFile_;
  const PurgeRun* run_ = nullptr;
  std::atomic<bool> closing_{false};
  std::mutex latestMutex_;
  std::string latest_;
  std::atomic<bool> pending_{false};
};

// The run's message boxes, shown on the window's thread; once the program is closing they are no
// longer shown and a question answers Cancel.
class RunWindowDialogs final : public UserDialogs {
 public:
  RunWindowDialogs(UserDialogs& gui, QObject* guiContext, const RunWindowHost& host)
      : gui_(gui, guiContext), host_(host) {}

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) override {
    return gui_.ChooseFileToOpen(request);
  }
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) override {
    return gui_.ChooseFileToSave(request);
  }
  std::optional<std::string> ChooseFolder(const FileChooserRequest& request) override {
    return gui_.ChooseFolder(request);
  }

 private:
  GuiThreadDialogs gui_;
  const RunWindowHost& host_;
};
