#pragma once

// How the program's logic asks people things and tells them things: message boxes and the file
// and folder choosers. The desktop program shows real dialogs, the command line asks on the
// terminal, and tests answer from a script.

#include <optional>
#include <string>

enum class MessageIcon { None, Information, Exclamation, Question, Critical };

enum class MessageButtons { OK, OKCancel, YesNo, YesNoCancel };

enum class MessageAnswer { OK, Cancel, Yes, No };

struct MessageBoxRequest {
  std::string title;
  std::string text;  // lines end with CR LF
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::OK;
  MessageAnswer defaultButton = MessageAnswer::OK;
};

struct FileChooserRequest {
  std::string title;
  std::string folder;         // where the chooser starts; empty for the chooser's own choice
  std::string filter;         // such as "Operation files (*.kxs)"; empty for all files
  std::string suggestedName;  // for saving
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Shows a message box and returns the button the user chose. Closing a question box without
  // choosing answers Cancel where there is a Cancel button, otherwise No, otherwise OK.
  virtual MessageAnswer ShowMessage(const MessageBoxRequest& request) = 0;

  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) = 0;
  virtual std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) = 0;
  virtual std::optional<std::string> ChooseFolder(const FileChooserRequest& request) = 0;

  // A message with only an OK button.
  void Tell(const std::string& title, const std::string& text, MessageIcon icon) {
    ShowMessage({title, text, icon, MessageButtons::OK, MessageAnswer::OK});
  }
};
