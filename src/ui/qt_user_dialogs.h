#pragma once

// Message boxes and file and folder choosers of the desktop program.

#include "text/user_dialogs.h"

class QWidget;

class QtUserDialogs final : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFolder(const FileChooserRequest& request) override;

 private:
  QWidget* parent_;
};

// Texts with CR LF line breaks as Qt shows them.
class QString;
QString ToDisplayText(const std::string& text);
