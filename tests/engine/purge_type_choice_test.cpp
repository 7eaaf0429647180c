#include "engine/purge_type_choice.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PurgeTypeChoice, EachTypeHasItsDefaultPassesOverwritesAndListOfOneToItsMostPasses) {
  const struct { short type, defaultPasses, perPass, most; } rows[] = {
      {0, 6, 2, 9}, {1, 4, 3, 8}, {2, 2, 6, 4}, {-1, 0, 0, 0}, {3, 0, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE("type " + std::to_string(row.type));
    PurgeTypeChoice choice;
    choice.SetPurgeType(row.type);
    const bool valid = row.most > 0;
    // {type, overwrites a pass, entries, index selected, last entry, entry past the last}
    EXPECT_EQ(std::tuple(choice.GetPurgeType(), PurgeTypeChoice::OverwritesPerPass(row.type),
                         choice.ListCount(row.type), choice.SelectedIndex(row.type),
                         choice.ListEntry(row.type, row.most - 1), choice.ListEntry(row.type, row.most)),
              std::tuple(valid ? row.type : 0, row.perPass, row.most, valid ? row.defaultPasses - 1 : -1,
                         valid ? std::to_string(row.most) : "", ""));
    // A setup's values are taken only where the type's own list offers them.
    EXPECT_FALSE(choice.RestoreFromSetup(row.type, 0));
    EXPECT_FALSE(choice.RestoreFromSetup(row.type, static_cast<short>(row.most + 1)));
    EXPECT_EQ(choice.RestoreFromSetup(row.type, row.most), valid);
    EXPECT_EQ(choice.GetNumOverwrites(), valid ? row.most * row.perPass : 12);
  }
}

// Cancel after Activate (what the dialog's Cancel button does) is tried in the dialog's test.
TEST(PurgeTypeChoice, SelectionsOutsideAListAreIgnoredAndInitializationStartsAllOver) {
  PurgeTypeChoice choice;
  for (const auto& [type, index] : {std::pair{0, -1}, {0, 9}, {2, 4}, {5, 0}})
    choice.SelectIndex(static_cast<short>(type), index);
  EXPECT_EQ(std::pair(choice.SelectedIndex(0), choice.SelectedIndex(2)), std::pair(5, 1));
  choice.SelectIndex(0, 8);
  EXPECT_EQ(choice.GetNumberOfPasses(), 9);
  choice.SetPurgeType(2);
  choice.Initialization();
  // {type, selected index of types 0, 1, 2, entries of type 0}
  EXPECT_EQ(std::tuple(choice.GetPurgeType(), choice.SelectedIndex(0), choice.SelectedIndex(1),
                       choice.SelectedIndex(2), choice.ListCount(0)),
            std::tuple(0, 5, 3, 1, 9));
}
