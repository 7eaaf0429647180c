#include "targets/specify_files.h"

#include <algorithm>

#include "platform/folders.h"
#include "platform/paths.h"
#include "text/user_dialogs.h"

namespace {

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool NameCanStandAlone(const std::string& name) {
#ifdef _WIN32
  if (name.find_first_of("*?:\\") != std::string::npos) return false;
#endif
  return !name.empty();
}

std::string NameCannotStandAloneText(const std::string& path) {
  return "The name of the file " + path + "\r\n" +
         "contains one of the characters * ? : \\ and so cannot be specified on its own.";
}

void SpecifyFiles::Prepare(const std::string& verb, bool singleFileEnabled,
                           const std::string& folder) {
  verb_ = verb;
  singleFileEnabled_ = singleFileEnabled;
  folder_ = folder;
  accepted = false;
  Activate();
}

void SpecifyFiles::Activate() {
  extensionText.clear();
  filespecText.clear();
  LoadFiles();
  selectedFile_ = -1;
  option_ = singleFileEnabled_ ? SpecifyFilesOption::SingleFile : SpecifyFilesOption::AllFiles;
}

void SpecifyFiles::LoadFiles() {
  files_.clear();
  if (folder_.empty()) return;
  // A folder that cannot be read lists what was read of it, which may be nothing.
  Platform::ListFolder(folder_, [this](const Platform::FolderEntry& entry) {
    if (!entry.isFolder) files_.push_back(entry.name);
    return true;
  });
  std::sort(files_.begin(), files_.end());
}

std::string SpecifyFiles::OptionCaption(SpecifyFilesOption option) const {
  switch (option) {
    case SpecifyFilesOption::SingleFile:
      return verb_ + " a single file:";
    case SpecifyFilesOption::AllFiles:
      return verb_ + " all files (*.*)";
    case SpecifyFilesOption::Extension:
      return verb_ + " all files with a particular extension, " + "e.g., txt or doc:";
    case SpecifyFilesOption::MultipleFiles:
      return verb_ + " all files satisfying a file specification, " + "e.g., a*.d*:";
  }
  return {};
}

void SpecifyFiles::SelectOption(SpecifyFilesOption option) {
  if (option == SpecifyFilesOption::SingleFile && !singleFileEnabled_) return;
  option_ = option;
}

void SpecifyFiles::SelectFile(int index) {
  if (!singleFileEnabled_) return;
  if (index < 0 || index >= static_cast<int>(files_.size())) {
    selectedFile_ = -1;
    return;
  }
  selectedFile_ = index;
  option_ = SpecifyFilesOption::SingleFile;
}

bool SpecifyFiles::Accept(UserDialogs& dialogs) {
  switch (option_) {
    case SpecifyFilesOption::SingleFile:
      if (selectedFile_ >= 0) {
        const std::string& name = files_[static_cast<std::size_t>(selectedFile_)];
        if (!NameCanStandAlone(name)) {
          dialogs.Tell("Error", NameCannotStandAloneText(JoinPath(folder_, name)),
                       MessageIcon::Exclamation);
          return false;
        }
      }
      accepted = selectedFile_ >= 0;
      break;
    case SpecifyFilesOption::AllFiles:
      accepted = true;
      break;
    case SpecifyFilesOption::Extension:
      extensionText = TrimSpaces(extensionText);
      if (StartsWith(extensionText, "*.")) {
        extensionText.erase(0, 2);
      } else if (StartsWith(extensionText, ".")) {
        extensionText.erase(0, 1);
      }
      if (extensionText.find('.') != std::string::npos) {
        dialogs.Tell("Error", "Extension must not contain " + std::string("\"") + "." + "\"" + ".",
                     MessageIcon::Exclamation);
        return false;
      }
      accepted = !extensionText.empty();
      break;
    case SpecifyFilesOption::MultipleFiles:
      filespecText = TrimSpaces(filespecText);
      accepted = !filespecText.empty();
      break;
  }
  return true;
}

std::string SpecifyFiles::ChosenFilespec() const {
  if (!accepted) return {};
  switch (option_) {
    case SpecifyFilesOption::SingleFile:
      return selectedFile_ >= 0 ? files_[static_cast<std::size_t>(selectedFile_)] : std::string();
    case SpecifyFilesOption::AllFiles:
      return "*.*";
    case SpecifyFilesOption::Extension:
      return extensionText.empty() ? std::string() : "*." + extensionText;
    case SpecifyFilesOption::MultipleFiles:
      return filespecText;
  }
  return {};
}
