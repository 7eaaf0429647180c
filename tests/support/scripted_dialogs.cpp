#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace TestSupport {

MessageAnswer ScriptedDialogs::ShowMessage(const MessageBoxRequest& request) {
  shown.push_back(request);
  if (request.buttons == MessageButtons::OK) return MessageAnswer::OK;
  if (answers_.empty()) {
    ADD_FAILURE() << "unscripted question \"" << request.title << "\": " << request.text;
    return request.defaultButton;
  }
  const MessageAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::NextChoice(const FileChooserRequest& request) {
  choosers.push_back(request);
  if (choices_.empty()) {
    ADD_FAILURE() << "unscripted chooser \"" << request.title << "\"";
    return std::nullopt;
  }
  std::optional<std::string> choice = choices_.front();
  choices_.pop_front();
  return choice;
}

std::optional<std::string> ScriptedDialogs::ChooseFileToOpen(const FileChooserRequest& request) {
  return NextChoice(request);
}

std::optional<std::string> ScriptedDialogs::ChooseFileToSave(const FileChooserRequest& request) {
  return NextChoice(request);
}

std::optional<std::string> ScriptedDialogs::ChooseFolder(const FileChooserRequest& request) {
  return NextChoice(request);
}

}  // namespace TestSupport
