#pragma once

// Long work (a purge, a listing, the speed test) runs on a worker thread so that the window stays
// responsive. The worker may ask the user things: each question is shown on the GUI thread, and
// the worker waits for the answer.

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <functional>
#include <utility>

#include "text/user_dialogs.h"

// Calls function on the thread of context and waits for its result. Called on that thread
// already, it simply calls it.
template <typename Function>
auto CallOnThreadOf(QObject* context, Function&& function) -> decltype(function()) {
  using Result = decltype(function());
  if (QThread::currentThread() == context->thread()) return function();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(context, std::forward<Function>(function),
                              Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        context, [&result, &function] { result = function(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

// The dialogs of the GUI thread, for use from a worker thread.
class GuiThreadDialogs final : public UserDialogs {
 public:
  GuiThreadDialogs(UserDialogs& gui, QObject* guiContext) : gui_(gui), context_(guiContext) {}

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override {
    return CallOnThreadOf(context_, [&] { return gui_.ShowMessage(request); });
  }
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) override {
    return CallOnThreadOf(context_, [&] { return gui_.ChooseFileToOpen(request); });
  }
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) override {
    return CallOnThreadOf(context_, [&] { return gui_.ChooseFileToSave(request); });
  }
  std::optional<std::string> ChooseFolder(const FileChooserRequest& request) override {
    return CallOnThreadOf(context_, [&] { return gui_.ChooseFolder(request); });
  }

 private:
  UserDialogs& gui_;
  QObject* context_;
};

// Runs work on a new worker thread; done then runs on the thread of context. The thread is
// deleted when it has finished.
void RunOnWorkerThread(QObject* context, std::function<void()> work, std::function<void()> done);
