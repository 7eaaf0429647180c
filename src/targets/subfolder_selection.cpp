#include "targets/subfolder_selection.h"

#include <algorithm>
#include <system_error>

#include "platform/folders.h"
#include "platform/paths.h"
#include "targets/folder_queries.h"
#include "targets/matching.h"
#include "targets/quick_sort.h"
#include "text/locale_format.h"
#include "text/str_proc.h"

namespace {

// Why the folder cannot be read, or no error; only the first entry is looked at.
std::error_code ReadError(const std::string& folder) {
  return Platform::ListFolder(folder, [](const Platform::FolderEntry&) { return false; });
}

std::string FilePart(std::int32_t files) {
  if (files == 0) return "no files and ";
  if (files == 1) return "1 file and ";
  return StrProc::GroupedNumberText(files, 0) + " files and ";
}

std::string SubfolderPart(std::int32_t subfolders) {
  if (subfolders == 0) return "no subfolders";
  if (subfolders == 1) return "1 subfolder";
  return std::to_string(subfolders) + " subfolders";
}

SubfolderRow ReadRow(const std::string& parent, const std::string& name) {
  SubfolderRow row;
  row.name = name;
  const std::string path = parent + name;
  std::error_code error = ReadError(path);
  std::string description;
  if (!error) {
    double ignored = 0;
    const std::int32_t files = CountMatchingFiles(path, "*.*", false, ignored);
    const std::int32_t subfolders = CountSubfolders(path);
    std::int32_t count = 0;
    std::int16_t limit = SelectSubfolders::kFileLimit;
    std::int32_t stopFlag = 0;
    const bool treeRead =
        files >= 0 && subfolders >= 0 &&
        CountMatchingFilesInTree(true, path, "*.*", count, limit, true, row.size, stopFlag);
    // A subfolder that goes away while it is counted is as unreadable as a locked one.
    if (!treeRead) {
      error = ReadError(path);
      if (!error) error = std::make_error_code(std::errc::no_such_file_or_directory);
    } else {
      row.overLimit = limit != SelectSubfolders::kFileLimit;
      description = FilePart(files) + SubfolderPart(subfolders);
      if (count > 0)
        description +=
            ", " + std::string(row.overLimit ? "over " : "") + StrProc::SizeToText(row.size, 1);
    }
  }
  if (error) {
    row.unreadable = true;
    row.size = 0;
    description = error.message();
  }
  row.text = name + " {" + description + "}";
  return row;
}

}  // namespace

SelectSubfolders::ReadOutcome SelectSubfolders::Read(
    const std::string& parent, const std::vector<std::string>& preselectedNames,
    const std::function<bool()>& keepGoing) {
  parent_ = WithTrailingSeparator(parent);
  readErrorText_.clear();
  rows_.clear();
  first_ = 0;
  std::vector<std::string> names;
  const std::error_code error =
      Platform::ListFolder(parent_, [&](const Platform::FolderEntry& entry) {
        if (entry.isFolder) names.push_back(entry.name);
        return true;
      });
  if (error) {
    readErrorText_ = error.message();
    return ReadOutcome::ParentUnreadable;
  }
  for (const std::string& name : names) {
    rows_.push_back(ReadRow(parent_, name));
    if (keepGoing && !keepGoing()) {
      rows_.clear();
      return ReadOutcome::Stopped;
    }
  }
  // By name ignoring case; names that differ only in case stand in their exact order.
  std::vector<std::string> keys;
  for (const SubfolderRow& row : rows_) keys.push_back(LowerCaseForMatching(row.name));
  QuickSort::SortRange(
      0, Total() - 1,
      [&](std::ptrdiff_t a, std::ptrdiff_t b) {
        const auto i = static_cast<std::size_t>(a);
        const auto j = static_cast<std::size_t>(b);
        if (keys[i] != keys[j]) return keys[i] < keys[j];
        return rows_[i].name < rows_[j].name;
      },
      [&](std::ptrdiff_t a, std::ptrdiff_t b) {
        std::swap(keys[static_cast<std::size_t>(a)], keys[static_cast<std::size_t>(b)]);
        std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
      });
  for (SubfolderRow& row : rows_) {
    row.checked = !row.unreadable && std::find(preselectedNames.begin(), preselectedNames.end(),
                                               row.name) != preselectedNames.end();
  }
  return ReadOutcome::Done;
}

bool SelectSubfolders::SetChecked(int index, bool checked) {
  if (index < 0 || index >= Total()) return false;
  SubfolderRow& row = rows_[static_cast<std::size_t>(index)];
  row.checked = checked && !row.unreadable;
  return row.checked;
}

void SelectSubfolders::SelectAll() {
  for (SubfolderRow& row : rows_) row.checked = !row.unreadable;
}

void SelectSubfolders::DeselectAll() {
  for (SubfolderRow& row : rows_) row.checked = false;
}

int SelectSubfolders::CheckedCount() const {
  return static_cast<int>(std::count_if(rows_.begin(), rows_.end(),
                                        [](const SubfolderRow& row) { return row.checked; }));
}

double SelectSubfolders::TotalSize() const {
  double total = 0;
  for (const SubfolderRow& row : rows_)
    if (row.checked) total += row.size;
  return total;
}

bool SelectSubfolders::AnyOverLimit() const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [](const SubfolderRow& row) { return row.checked && row.overLimit; });
}

std::string SelectSubfolders::StatusText() const {
  const int checked = CheckedCount();
  if (checked == 0) return "No subfolders selected.";
  std::string text;
  if (checked == 1) {
    text = "One subfolder selected.";
  } else if (checked == Total()) {
    text = "All " + std::to_string(checked) + " subfolders selected.";
  } else {
    text = StrProc::GroupedNumberText(checked, 0) + " selected (of " +
           StrProc::GroupedNumberText(Total(), 0) + ").";
  }
  return text + "\r\n" + "A total of " + (AnyOverLimit() ? "over " : "") +
         StrProc::SizeToTextGB(TotalSize(), 1) + ".";
}

std::vector<std::string> SelectSubfolders::Accept() const {
  std::vector<std::string> names;
  for (const SubfolderRow& row : rows_)
    if (row.checked) names.push_back(row.name);
  return names;
}

int SelectSubfolders::VisibleRows() const {
  return std::min(Total(), kPageSize);
}

void SelectSubfolders::ScrollTo(int value) {
  first_ = std::clamp(value, 0, std::max(0, ScrollMaximum()));
}

std::vector<std::string> SubfolderSelectionMemory::PreselectionFor(const std::string& parent) {
  const std::string folder = WithTrailingSeparator(parent);
  if (folder != SelectionParent) {
    SelectedSubfolders.clear();
    return {};
  }
  std::vector<std::string> names;
  for (const std::string& path : SelectedSubfolders)
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0)
      names.push_back(path.substr(folder.size()));
  return names;
}

void SubfolderSelectionMemory::Remember(const std::string& parent,
                                        const std::vector<std::string>& names) {
  SelectionParent = WithTrailingSeparator(parent);
  SelectedSubfolders.clear();
  for (const std::string& name : names) SelectedSubfolders.push_back(SelectionParent + name);
}
