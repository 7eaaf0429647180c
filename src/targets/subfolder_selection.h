#pragma once

// The choice of subfolders of one folder that are purged with everything below them: the state of
// the "Select subfolders" dialog (frmSelectSubfolders shows and edits it) and the selection that
// the main window remembers between runs.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One subfolder of the parent as its row shows it.
struct SubfolderRow {
  std::string name;
  // name + " {" + description + "}".
  std::string text;
  // Bytes counted in the subfolder's tree; a lower bound when overLimit.
  double size = 0;
  // The count stopped at the file limit before the whole tree was seen.
  bool overLimit = false;
  // The subfolder could not be read; such a row is never checked.
  bool unreadable = false;
  bool checked = false;
};

class SelectSubfolders {
 public:
  // At most this many rows are shown at once.
  static constexpr int kPageSize = 11;
  // The walk over a subfolder's tree stops at this many files.
  static constexpr std::int16_t kFileLimit = 200;

  enum class ReadOutcome { Done, ParentUnreadable, Stopped };

  // Reads the subfolders of parent afresh, sorted by name ignoring case. A row is checked when its
  // name is exactly one of preselectedNames and it can be read. keepGoing runs after each row (the
  // dialog lets pending events run there); when it answers false the reading stops and the list
  // is left empty. Without a callback the reading runs to the end.
  ReadOutcome Read(const std::string& parent, const std::vector<std::string>& preselectedNames,
                   const std::function<bool()>& keepGoing = {});

  // The parent ending in exactly one separator.
  const std::string& Parent() const { return parent_; }
  // The system's text for why the parent could not be read.
  const std::string& ReadErrorText() const { return readErrorText_; }
  const std::vector<SubfolderRow>& Subfolders() const { return rows_; }
  int Total() const { return static_cast<int>(rows_.size()); }

  // Sets the state of a subfolder and answers the state it took: an unreadable subfolder stays
  // unchecked. An index outside the list changes nothing and answers false.
  bool SetChecked(int index, bool checked);
  void SelectAll();
  void DeselectAll();
  int CheckedCount() const;
  // The sum of the checked subfolders' sizes, and whether any of them stopped at the file limit.
  double TotalSize() const;
  bool AnyOverLimit() const;
  // The status label: its first line and, when something is checked, a second one with the size.
  std::string StatusText() const;
  // The names of the checked subfolders in list order.
  std::vector<std::string> Accept() const;

  // The rows shown: the smaller of the count and the page size.
  int VisibleRows() const;
  // The indexes of the subfolders in the top and bottom row.
  int First() const { return first_; }
  int Last() const { return first_ + VisibleRows() - 1; }
  // The scroll bar is needed only when not every subfolder has its row.
  bool NeedsScrollBar() const { return Total() > VisibleRows(); }
  int ScrollMaximum() const { return Total() - VisibleRows(); }
  int ScrollPageStep() const { return kPageSize - 1; }
  // Puts subfolder value in the top row; brought inside 0 to ScrollMaximum().
  void ScrollTo(int value);

 private:
  std::string parent_;
  std::string readErrorText_;
  std::vector<SubfolderRow> rows_;
  int first_ = 0;
};

// The selection that the main window keeps between runs of the subfolder purge.
struct SubfolderSelectionMemory {
  // Full paths: the parent with its separator followed by the name, no trailing separator.
  std::vector<std::string> SelectedSubfolders;
  // The parent of the last accepted selection.
  std::string SelectionParent;

  // The names to check when the dialog opens on parent: those of the remembered selection when it
  // was made in the same parent, none for another parent (the remembered one is then forgotten).
  std::vector<std::string> PreselectionFor(const std::string& parent);
  // Remembers an accepted choice of names in parent.
  void Remember(const std::string& parent, const std::vector<std::string>& names);
};
