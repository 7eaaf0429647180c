#include "operation/subfolder_purge_flow.h"

#include <array>
#include <system_error>

#include "platform/program.h"
#include "text/str_proc.h"

namespace SubfolderPurgeFlow {

namespace {

constexpr char kNewLine[] = "\r\n";
constexpr std::size_t kPathsListed = 10;
constexpr std::size_t kLongPath = 40;

#ifdef _WIN32
// The program folders of the drive, compared with whole selected paths ignoring case.
constexpr std::array<const char*, 2> kProgramFolders = {":\\program files",
                                                        ":\\program files (x86)"};
constexpr char kSystemName[] = "Windows";
#else
constexpr std::array<const char*, 12> kSystemFolders = {"/bin",  "/boot",  "/dev",   "/etc",
                                                        "/lib",  "/lib32", "/lib64", "/proc",
                                                        "/sbin", "/sys",   "/usr",   "/var"};
constexpr std::array<const char*, 2> kProgramFolders = {"/opt", "/usr/local"};
constexpr char kSystemName[] = "the operating system";
#endif

constexpr char kSureAboutSelected[] =
    "Are you SURE that you wish to purge all files in that folder (and its subfolders)?";

bool IsSeparator(char c) {
  return c == Platform::kPathSeparator || c == '/';
}

std::string WithoutTrailingSeparator(const std::string& path) {
  std::string out = path;
  while (out.size() > 1 && IsSeparator(out.back())) out.pop_back();
  return out;
}

std::string Resolved(const std::string& path) {
  return Platform::ResolveLinks(path);
}

#ifdef _WIN32
std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The Windows folder of the path's drive, or a path below it: the path, upper-cased, begins with
// the drive letter and ":\WINDOWS".
bool IsSystemFolderNamed(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  return UpperCase(path).starts_with(UpperCase(path.substr(0, 1)) + ":\\WINDOWS");
}

// A parent whose name after the drive's root begins with "Windows" (such as C:\Windows\ or
// C:\WINDOWS\system32\).
bool IsSystemParentNamed(const std::string& parent) {
  return parent.size() >= 10 && parent[1] == ':' && UpperCase(parent.substr(3, 7)) == "WINDOWS";
}

bool IsProgramFolderNamed(const std::string& path, const std::string& folder) {
  if (path.size() < 2 || path[1] != ':') return false;
  return UpperCase(WithoutTrailingSeparator(path)) == UpperCase(path.substr(0, 1) + folder);
}
#else
bool IsSystemFolderNamed(const std::string& path) {
  const std::string bare = WithoutTrailingSeparator(path);
  if (bare == "/") return true;
  for (const char* folder : kSystemFolders)
    if (IsSameOrBelow(bare, folder)) return true;
  return false;
}

bool IsSystemParentNamed(const std::string& parent) {
  return IsSystemFolderNamed(parent);
}

bool IsProgramFolderNamed(const std::string& path, const std::string& folder) {
  return WithoutTrailingSeparator(path) == folder;
}
#endif

std::string SelectedSystemWarning(const std::string& path) {
  return std::string("You have included the ") + path + " folder!" + kNewLine +
         "If this folder contains the files for the operating system for" + kNewLine +
         "the PC that you are using then purging the files in this folder" + kNewLine +
         "will almost certainly make your computer unbootable and unusable" + kNewLine +
         "unless you reinstall " + kSystemName + "." + kNewLine + kNewLine + kSureAboutSelected;
}

std::string SelectedProgramsWarning(const std::string& path) {
  return std::string("You have included the ") + path + " folder!" + kNewLine +
         "This folder normally contains many files allowing execution of installed programs." +
         kNewLine + "If you delete these files then you won't be able to run these programs." +
         kNewLine + kNewLine + kSureAboutSelected;
}

}  // namespace

std::string StartQuestion() {
  return std::string("Do you wish to purge all files in") + kNewLine +
         "selected subfolders of some folder?" + kNewLine +
         "(Note that all files in all subfolders of the" + kNewLine +
         "selected subfolders will also be purged.)" + kNewLine + kNewLine +
         "If so, first select a folder, then select the subfolders" + kNewLine +
         "of that folder that you wish to purge.";
}

std::string ChooserTitle() {
  return std::string("Specify the folder containing the subfolders") + kNewLine +
         "to be purged (or a selection of them)";
}

std::string NoSubfoldersMessage(const std::string& folder) {
  return folder + " has no subfolders." + kNewLine + kNewLine +
         "If you wish to purge just the files in this folder" + kNewLine +
         "then click on 'Specify folder' to select this folder" + kNewLine +
         "and click on 'Specify files' to select all files.";
}

std::string SelectionCaption(const std::string& parent) {
  return "Select subfolders of " + parent + " to be purged.";
}

bool IsSameOrBelow(const std::string& path, const std::string& folder) {
  const std::string bare = WithoutTrailingSeparator(path);
  const std::string top = WithoutTrailingSeparator(folder);
  if (top.size() == 1 && IsSeparator(top.front()))
    return !bare.empty() && IsSeparator(bare.front());
  if (bare.compare(0, top.size(), top) != 0) return false;
  return bare.size() == top.size() || IsSeparator(bare[top.size()]);
}

bool IsSystemFolder(const std::string& path) {
  return IsSystemFolderNamed(path) || IsSystemFolderNamed(Resolved(path));
}

std::optional<std::string> ParentWarning(const std::string& parent) {
  if (!IsSystemParentNamed(parent) && !IsSystemParentNamed(Resolved(parent))) return std::nullopt;
  return std::string("You have selected the ") + parent + " folder!" + kNewLine +
         "This folder contains the files for the operating system for" + kNewLine +
         "the PC that you are using. Purging files in this folder" + kNewLine +
         "will may make your computer unbootable and unusable" + kNewLine +
         "unless you reinstall " + kSystemName + "." + kNewLine + kNewLine +
         "Are you SURE that you wish to purge files" + kNewLine +
         "in some or all subfolders of this folder?";
}

std::vector<std::string> SelectedPathWarnings(const std::vector<std::string>& paths) {
  std::vector<std::string> warnings;
  for (const std::string& path : paths) {
    if (IsSystemFolder(path)) {
      warnings.push_back(SelectedSystemWarning(path));
      break;
    }
  }
  for (const char* folder : kProgramFolders) {
    for (const std::string& path : paths) {
      if (IsProgramFolderNamed(path, folder) || IsProgramFolderNamed(Resolved(path), folder)) {
        warnings.push_back(SelectedProgramsWarning(path));
        break;
      }
    }
  }
  return warnings;
}

std::string SummaryText(const Selection& selection, bool dateRestriction) {
  const std::vector<std::string>& paths = selection.paths;
  std::string text;
  if (paths.size() == 1) {
    text = "One folder will be purged:";
    text += paths.front().size() >= kLongPath ? kNewLine : " ";
    text += paths.front();
  } else {
    text = StrProc::NumberToWords(static_cast<std::int32_t>(paths.size())) +
           " folders will be purged:";
    for (std::size_t i = 0; i < paths.size() && i < kPathsListed; ++i) text += kNewLine + paths[i];
    if (paths.size() > kPathsListed)
      text +=
          kNewLine + std::string("and ") + std::to_string(paths.size() - kPathsListed) + " more.";
  }
  text += std::string(kNewLine) + kNewLine + "The total size of the files to be purged is " +
          (selection.overLimit ? "over " : "") + StrProc::SizeToTextGB(selection.totalSize, 1) +
          ".";
  if (selection.overLimit)
    text += std::string(kNewLine) + "Note that not all files in each folder were checked for size" +
            kNewLine + "so the actual total size may be MUCH greater than this.";
  if (dateRestriction)
    text += std::string(kNewLine) + kNewLine +
            "Note also that the current date restriction does NOT apply" + kNewLine +
            "when purging folders.  ALL files in the selected subfolders" + kNewLine +
            "(and their subfolders) will be purged regardless of date.";
  text += std::string(kNewLine) + kNewLine +
          "Click 'OK' to begin purging the files in the selected folders" + kNewLine +
          "or click 'Cancel' to terminate this operation." + kNewLine + kNewLine +
          "The operation can be interrupted (and then stopped)" + kNewLine +
          "by pressing the F10 key twice.";
  return text;
}

}  // namespace SubfolderPurgeFlow
