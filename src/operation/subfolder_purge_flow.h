#pragma once

// The texts and decisions of the purge of selected subfolders, from the "Purge folders" button to
// the summary that the user confirms: the opening question, the folder chooser, the warnings for
// folders of the operating system and of installed programs, and the summary of what will go.

#include <optional>
#include <string>
#include <vector>

namespace SubfolderPurgeFlow {

// The caption of the button, which titles every message box of the flow.
inline constexpr char kCaption[] = "Purge folders";
inline constexpr char kNoneSelected[] = "No subolders were selected.";

// What the subfolder selection hands back when the user accepted it.
struct Selection {
  std::vector<std::string> paths;  // full paths of the checked subfolders
  double totalSize = 0;            // bytes counted in their trees
  bool overLimit = false;          // a count stopped at its limit, so the size is a lower bound
};

// The question that opens the flow (Yes and No).
std::string StartQuestion();
// The title of the chooser of the parent folder.
std::string ChooserTitle();
// The notice for a chosen folder without subfolders; folder ends in one separator.
std::string NoSubfoldersMessage(const std::string& folder);
// The caption of the subfolder selection.
std::string SelectionCaption(const std::string& parent);

// True when path is folder itself or lies below it, comparing whole names ("/usr" holds
// "/usr/x" but not "/usrdata"). Trailing separators do not count.
bool IsSameOrBelow(const std::string& path, const std::string& folder);
// A folder of the operating system, or one below it. POSIX: "/" itself and the system's folders
// such as /usr and /etc. Windows: the drive's WINDOWS folder and everything below it, any case.
bool IsSystemFolder(const std::string& path);

// The question (Yes and No) for a parent folder that belongs to the operating system; nothing for
// any other parent. Windows: a parent whose name after the drive's root begins with "Windows" in
// any case (C:\Windows\, C:\WINDOWS\System32\). A parent reached through a symbolic link is judged
// by where it leads, too.
std::optional<std::string> ParentWarning(const std::string& parent);

// The questions (Yes and No) for the selected paths, in the order they are asked: the first
// path in a folder of the operating system, then the first path that is /opt, then the first
// that is /usr/local (Windows: the drive's Program Files, then Program Files (x86), as whole
// paths in any case).
std::vector<std::string> SelectedPathWarnings(const std::vector<std::string>& paths);

// The summary asked with OK and Cancel (Cancel the default) before the purge starts.
std::string SummaryText(const Selection& selection, bool dateRestriction);

}  // namespace SubfolderPurgeFlow
