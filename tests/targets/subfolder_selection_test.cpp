#include "targets/subfolder_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/native_path.h"
#include "support/temp_folder.h"

using namespace TestSupport;

// A parent with an empty subfolder, one with 1 file of 3 bytes and 1 subfolder, and one with 201
// files of 1 byte, which the count leaves at 200. Rows are sorted by name ignoring case.
TEST(SubfolderList, RowsDescribeEachSubfolderAndTheStatusTellsTheCheckedOnesAndTheirSize) {
  TempFolder folder;
  MakeFolders(folder / NativePath("one/inner"));
  MakeFolders(folder / "empty");
  WriteFile(folder / NativePath("one/abc.txt"), "abc");
  MakeFolders(folder / "Many");
  for (int i = 0; i < 201; ++i) WriteFile(folder / NativePath("Many/f" + std::to_string(i)), "x");
  SelectSubfolders state;
  // Stopping while reading leaves the list empty.
  int calls = 0;
  EXPECT_EQ(state.Read(folder.Path(), {}, [&] { return ++calls < 2; }),
            SelectSubfolders::ReadOutcome::Stopped);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(state.Total(), 0);
  ASSERT_EQ(state.Read(folder.Path(), {}), SelectSubfolders::ReadOutcome::Done);
  std::vector<std::string> texts;
  for (const SubfolderRow& row : state.Subfolders()) texts.push_back(row.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"empty {no files and no subfolders}",
                                             "Many {201 files and no subfolders, over 200 bytes}",
                                             "one {1 file and 1 subfolder, 3 bytes}"}));
  EXPECT_EQ(state.StatusText(), "No subfolders selected.");
  state.SetChecked(2, true);
  EXPECT_EQ(state.StatusText(), "One subfolder selected.\r\nA total of 3 bytes.");
  state.SetChecked(1, true);
  EXPECT_EQ(state.StatusText(), "2 selected (of 3).\r\nA total of over 203 bytes.");
  state.SelectAll();
  EXPECT_EQ(state.StatusText(), "All 3 subfolders selected.\r\nA total of over 203 bytes.");
  state.SetChecked(1, false);
  EXPECT_FALSE(state.AnyOverLimit());
  EXPECT_EQ(state.Accept(), (std::vector<std::string>{"empty", "one"}));
}

TEST(SubfolderSelection, ASubfolderThatVanishesWhileReadingShowsTheErrorAndCannotBeChecked) {
  TempFolder folder;
  for (const char* name : {"a", "b"}) MakeFolders(folder / name);
  SelectSubfolders state;
  // Both go after the first row is read, so the second one cannot be read any more.
  state.Read(folder.Path(), {"a", "b"}, [&] {
    for (const char* name : {"a", "b"}) std::filesystem::remove(FileSystemPath(folder / name));
    return true;
  });
  ASSERT_EQ(state.Total(), 2);
  const int unreadable = state.Subfolders()[0].unreadable ? 0 : 1;
  const SubfolderRow& row = state.Subfolders()[static_cast<std::size_t>(unreadable)];
  EXPECT_EQ(row.text, row.name + " {No such file or directory}");
  EXPECT_FALSE(state.SetChecked(unreadable, true));
  state.SelectAll();
  EXPECT_EQ(state.StatusText(), "One subfolder selected.\r\nA total of 0 bytes.");
}

TEST(SubfolderSelection, TwelveSubfoldersScrollElevenRowsByPagesOfTen) {
  TempFolder folder;
  for (int i = 10; i < 22; ++i) MakeFolders(folder / ("s" + std::to_string(i)));
  SelectSubfolders state;
  state.Read(folder.Path(), {});
  state.ScrollTo(5);
  // {visible rows, scroll bar, scroll maximum, page step, first and last row shown}
  EXPECT_EQ((std::vector<int>{state.VisibleRows(), state.NeedsScrollBar(), state.ScrollMaximum(),
                              state.ScrollPageStep(), state.First(), state.Last()}),
            (std::vector<int>{11, 1, 1, 10, 1, 11}));
  std::filesystem::remove(FileSystemPath(folder / "s21"));
  state.Read(folder.Path(), {});
  EXPECT_EQ(state.VisibleRows() * 10 + state.NeedsScrollBar(), 110) << "11 rows, no scroll bar";
}

TEST(SubfolderSelectionMemory, TheSameParentPreChecksTheLastChoiceAndAnotherForgetsIt) {
  TempFolder folder, other;
  // Names are exact: on POSIX "A" is another folder than "a", and stands before it.
  for (const char* name : {"a", "b", "A"}) MakeFolders(folder / name);
  SubfolderSelectionMemory memory;
  memory.Remember(folder.Path(), {"a", "b"});
  SelectSubfolders state;
  state.Read(folder.Path(), memory.PreselectionFor(folder.Path()));
  EXPECT_EQ(state.Accept(), (std::vector<std::string>{"a", "b"}));
  state.SelectAll();
#ifdef _WIN32
  EXPECT_EQ(state.Accept(), (std::vector<std::string>{"a", "b"}));
#else
  EXPECT_EQ(state.Accept(), (std::vector<std::string>{"A", "a", "b"}));
#endif
  // Asking for another parent forgets the choice.
  EXPECT_TRUE(memory.PreselectionFor(other.Path()).empty() && memory.SelectedSubfolders.empty() &&
              memory.PreselectionFor(folder.Path()).empty());
}
