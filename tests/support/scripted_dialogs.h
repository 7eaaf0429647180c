#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "text/user_dialogs.h"

namespace TestSupport {

// Answers the program's questions from a script and records every message it shows. A box with
// only an OK button needs no script; any other box, and every chooser, takes the next scripted
// answer, and a question that nobody scripted fails the test.
class ScriptedDialogs final : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFolder(const FileChooserRequest& request) override;

  // Scripts the answer to the next question box.
  void Answer(MessageAnswer answer) { answers_.push_back(answer); }
  // Scripts the next chooser: a path, or nothing for Cancel.
  void Choose(std::optional<std::string> path) { choices_.push_back(std::move(path)); }

  // Every message box shown, in order.
  std::vector<MessageBoxRequest> shown;
  // Every chooser shown, in order.
  std::vector<FileChooserRequest> choosers;

  // True when every scripted answer was used.
  bool AllAnswered() const { return answers_.empty() && choices_.empty(); }

 private:
  std::optional<std::string> NextChoice(const FileChooserRequest& request);

  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::string>> choices_;
};

}  // namespace TestSupport
