#include "setups/fill_folders.h"

#include <algorithm>
#include <mutex>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "text/program_text.h"

namespace {

constexpr std::size_t kMaxListBytes = 1 << 20;

std::mutex& ListMutex() {
  static std::mutex mutex;
  return mutex;
}

// One folder a line; "%", a line feed and a carriage return in a name are written as "%25",
// "%0A" and "%0D".
std::string Escaped(const std::string& folder) {
  std::string line;
  for (const char c : folder) {
    if (c == '%')
      line += "%25";
    else if (c == '\n')
      line += "%0A";
    else if (c == '\r')
      line += "%0D";
    else
      line += c;
  }
  return line;
}

std::string Unescaped(const std::string& line) {
  std::string folder;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const std::string code = line.substr(i, 3);
    if (code == "%25" || code == "%0A" || code == "%0D") {
      folder += code == "%25" ? '%' : code == "%0A" ? '\n' : '\r';
      i += 2;
    } else {
      folder += line[i];
    }
  }
  return folder;
}

std::vector<std::string> ReadList(const std::string& listPath) {
  std::string text;
  std::vector<std::string> folders;
  if (Platform::ReadWholeFile(listPath, text, kMaxListBytes)) return folders;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) folders.push_back(Unescaped(line));
    start = end + 1;
  }
  return folders;
}

void WriteList(const std::string& listPath, const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += Escaped(folder) + "\n";
  (void)Platform::CreateFolders(Platform::FolderPart(listPath));
  (void)Platform::ReplaceFileAtomically(listPath, text);
}

}  // namespace

std::string FillFolderListPath() {
  const std::string folder = Platform::ApplicationDataFolder();
  const std::string programFolder = Language2::GetText(310);
  if (folder.empty() || programFolder.empty()) return {};
  return JoinPath(JoinPath(folder, programFolder), "fill-folders.txt");
}

void NoteFillFolder(const std::string& folder, bool made, const std::string& listPath) {
  if (listPath.empty()) return;
  const std::lock_guard<std::mutex> guard(ListMutex());
  std::vector<std::string> folders = ReadList(listPath);
  const auto found = std::find(folders.begin(), folders.end(), folder);
  if (made == (found != folders.end())) return;
  if (made)
    folders.push_back(folder);
  else
    folders.erase(found);
  WriteList(listPath, folders);
}

std::vector<LeftoverFillFolder> RemoveLeftoverFillFolders(const std::string& listPath) {
  std::vector<LeftoverFillFolder> leftovers;
  if (listPath.empty()) return leftovers;
  const std::lock_guard<std::mutex> guard(ListMutex());
  const std::vector<std::string> folders = ReadList(listPath);
  if (folders.empty()) return leftovers;
  std::vector<std::string> kept;
  for (const std::string& folder : folders) {
    LeftoverFillFolder leftover;
    leftover.folder = folder;
    leftover.what = FreeSpacePurge::RemoveLeftoverFolder(folder, leftover.error);
    using FreeSpacePurge::Leftover;
    if (leftover.what == Leftover::InUse || leftover.what == Leftover::NotRemoved)
      kept.push_back(folder);
    leftovers.push_back(std::move(leftover));
  }
  // Another purge may have noted its folder meanwhile: the list is read again before it is
  // written.
  for (const std::string& folder : ReadList(listPath))
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) kept.push_back(folder);
  WriteList(listPath, kept);
  return leftovers;
}
