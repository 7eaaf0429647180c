#include "cli/terminal.h"

#include <unistd.h>

#include <cctype>
#include <iostream>

#include "cli/interrupts.h"
#include "cli/live_report.h"

namespace {

MessageAnswer FirstRefusal(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OK:
      return MessageAnswer::OK;
    case MessageButtons::OKCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return MessageAnswer::No;
  }
  return MessageAnswer::No;
}

}  // namespace

bool CanAsk() {
  return isatty(STDIN_FILENO) == 1;
}

char Ask(const std::string& question, const std::string& answers) {
  if (!CanAsk()) return 0;
  ClearLiveReportLine();
  for (;;) {
    std::cerr << question << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return 0;
    const auto first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(line[first])));
    if (answers.find(letter) != std::string::npos) return letter;
  }
}

std::string WithSystemLineEnds(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  return text;
}

MessageAnswer TerminalDialogs::ShowMessage(const MessageBoxRequest& request) {
  ClearLiveReportLine();
  std::cerr << request.title << ": " << WithSystemLineEnds(request.text) << '\n';
  if (request.buttons != MessageButtons::OK && !CanAsk()) {
    std::cerr << "(No terminal to answer on: taken as "
              << (FirstRefusal(request.buttons) == MessageAnswer::Cancel ? "Cancel" : "No")
              << ".)\n";
    return FirstRefusal(request.buttons);
  }
  switch (request.buttons) {
    case MessageButtons::OK:
      return MessageAnswer::OK;
    case MessageButtons::OKCancel:
      return Ask("[o]k or [c]ancel? ", "oc") == 'o' ? MessageAnswer::OK : MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return Ask("[y]es or [n]o? ", "yn") == 'y' ? MessageAnswer::Yes : MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      switch (Ask("[y]es, [n]o or [c]ancel? ", "ync")) {
        case 'y':
          return MessageAnswer::Yes;
        case 'c':
          return MessageAnswer::Cancel;
        default:
          return FirstRefusal(request.buttons);
      }
  }
  return FirstRefusal(request.buttons);
}

std::optional<std::string> TerminalDialogs::ChooseFileToOpen(const FileChooserRequest&) {
  return std::nullopt;
}

std::optional<std::string> TerminalDialogs::ChooseFileToSave(const FileChooserRequest&) {
  return std::nullopt;
}

std::optional<std::string> TerminalDialogs::ChooseFolder(const FileChooserRequest&) {
  return std::nullopt;
}

FileConfirmation AskToPurgeFile(const std::string& label) {
  std::cerr << "Confirm purging of this file\n" << label << '\n';
  switch (Ask("Purge this file? [y]es, [n]o, [a]ll that follow, [s]top this purge: ", "ynas")) {
    case 'y':
      return FileConfirmation::Purge;
    case 'a':
      return FileConfirmation::PurgeAll;
    case 's':
      return FileConfirmation::Stop;
    default:
      return FileConfirmation::Skip;
  }
}
