#pragma once

// The terminal as the command line's way of telling and asking: messages go to standard error,
// and questions are read from standard input only when it is a terminal. Without one, every
// question is answered No, so nothing is purged by accident.

#include <string>

#include "operation/run_host.h"
#include "text/user_dialogs.h"

class TerminalDialogs final : public UserDialogs {
 public:
  MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
  std::optional<std::string> ChooseFileToOpen(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFileToSave(const FileChooserRequest& request) override;
  std::optional<std::string> ChooseFolder(const FileChooserRequest& request) override;
};

class TerminalRunHost final : public RunHost {
 public:
  // Carries the interrupts received so far into the run's flags.
  void Yield() override;
  FileConfirmation ConfirmFile(const std::string& label) override;
};

// True when questions can be asked: standard input is a terminal.
bool CanAsk();

// Asks a question on the terminal; answers holds the accepted first letters in order (such as
// "yn"). Returns the letter chosen, or 0 when nothing can be asked or input ended.
char Ask(const std::string& question, const std::string& answers);

// Text with CR LF line ends written with the system's line ends.
std::string WithSystemLineEnds(std::string text);
