#include "operation/run_host_window.h"

#include "operation/purge_run.h"

RunWindowHost::RunWindowHost(std::function<FileConfirmation(const std::string&)> confirmFile,
                             QObject* parent)
    : QObject(parent), confirmFile_(std::move(confirmFile)) {}

void RunWindowHost::ReportChanged() {
  if (run_ == nullptr) return;
  {
    const std::lock_guard<std::mutex> lock(latestMutex_);
    latest_ = run_->Report();
  }
  // One signal on its way is enough: the window takes the latest text when it arrives.
  if (!pending_.exchange(true)) emit reportChanged();
}

std::string RunWindowHost::TakeReport() {
  pending_ = false;
  const std::lock_guard<std::mutex> lock(latestMutex_);
  return latest_;
}

void RunWindowHost::CaptionChanged(const std::string& caption) {
  emit captionChanged(QString::fromStdString(caption));
}

FileConfirmation RunWindowHost::ConfirmFile(const std::string& label) {
  if (closing_ || !confirmFile_) return FileConfirmation::Stop;
  return CallOnThreadOf(
      this, [this, &label] { return closing_ ? FileConfirmation::Stop : confirmFile_(label); });
}

MessageAnswer RunWindowDialogs::ShowMessage(const MessageBoxRequest& request) {
  if (host_.Closing()) {
    return request.buttons == MessageButtons::OK      ? MessageAnswer::OK
           : request.buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                      : MessageAnswer::Cancel;
  }
  return gui_.ShowMessage(request);
}
