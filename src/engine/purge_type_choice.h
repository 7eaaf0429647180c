#pragma once

// The type of purge and the number of passes, as chosen in the type-of-purge dialog. The dialog
// only shows and edits this object; every other part of the program reads the choice from it.
//
// Types 0, 1 and 2 (shown as "1.", "2." and "3.") each have a list of passes to choose from:
// 1 to 9, 1 to 8 and 1 to 4. Entry i of a list stands for i + 1 passes, and each list keeps its
// own selection, so switching between types does not lose what was chosen for the others.

#include <array>
#include <string>
#include <vector>

class PurgeTypeChoice {
 public:
  static constexpr short kNumPurgeTypes = 3;

  // Made ready for use as after Initialization, so a choice is never without passes.
  PurgeTypeChoice();

  // Overwrites written by one pass of the type: 2, 3 and 6; 0 for an invalid type.
  static short OverwritesPerPass(short type);
  // The highest number of passes offered for the type: 9, 8 and 4; 0 for an invalid type.
  static short MaxPasses(short type);

  // Fills the three lists and sets the defaults: type 0; 6, 4 and 2 passes in the lists of
  // types 0, 1 and 2. A fresh start is thus type 0 with 6 passes, 12 overwrites.
  void Initialization();

  short GetPurgeType() const;
  // The lowest number of passes plus the selected index of the chosen type's list.
  short GetNumberOfPasses() const;
  short GetNumOverwritesPerPass() const;
  short GetNumOverwrites() const;

  // The option buttons. An invalid type is ignored.
  void SetPurgeType(short type);

  // The lists of passes. An invalid type has an empty list and no selection (-1); an index
  // outside the list gives an empty entry and is not selected.
  int ListCount(short type) const;
  std::string ListEntry(short type, int index) const;
  int SelectedIndex(short type) const;
  void SelectIndex(short type, int index);

  // The dialog is shown: remembers the chosen type for Cancel.
  void Activate();
  // The dialog is cancelled: the type remembered by Activate is chosen again. The selections of
  // the lists stay as they are.
  void Cancel();

  // A saved setup is restored: chooses the type and selects the entry for that number of passes
  // in the type's own list. A type other than 0 to 2, or a number of passes the type does not
  // offer, gives false and leaves the choice as it was.
  bool RestoreFromSetup(short type, short passes);

  // The lowest number of passes offered (1).
  short MinNumPasses() const;

 private:
  static bool IsValidType(short type);

  short intMinNumPasses_ = 1;
  short purgeType_ = 0;
  short typeAtActivation_ = 0;
  std::array<std::vector<std::string>, kNumPurgeTypes> lists_;
  std::array<int, kNumPurgeTypes> selectedIndexes_{};
};
