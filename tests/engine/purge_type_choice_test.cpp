#include "engine/purge_type_choice.h"

#include <gtest/gtest.h>

TEST(PurgeTypeChoice, EachTypeHasItsDefaultPassesOverwritesAndListOfOneToItsMostPasses) {
  const struct {
    short type, defaultPasses, perPass, most;
  } rows[] = {{0, 6, 2, 9}, {1, 4, 3, 8}, {2, 2, 6, 4}, {-1, 0, 0, 0}, {3, 0, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE("type " + std::to_string(row.type));
    PurgeTypeChoice choice;
    choice.SetPurgeType(row.type);
    const bool valid = row.most > 0;
    EXPECT_EQ(choice.GetPurgeType(), valid ? row.type : 0);
    EXPECT_EQ(choice.GetNumOverwrites(), 12) << "every type's default";
    EXPECT_EQ(PurgeTypeChoice::OverwritesPerPass(row.type), row.perPass);
    EXPECT_EQ(choice.ListCount(row.type), row.most);
    EXPECT_EQ(choice.SelectedIndex(row.type), valid ? row.defaultPasses - 1 : -1);
    EXPECT_EQ(choice.ListEntry(row.type, 0), valid ? "1" : "");
    EXPECT_EQ(choice.ListEntry(row.type, row.most - 1), valid ? std::to_string(row.most) : "");
    EXPECT_EQ(choice.ListEntry(row.type, row.most), "");
    // A setup's values are taken only where the type's own list offers them.
    EXPECT_FALSE(choice.RestoreFromSetup(row.type, 0));
    EXPECT_FALSE(choice.RestoreFromSetup(row.type, static_cast<short>(row.most + 1)));
    EXPECT_EQ(choice.RestoreFromSetup(row.type, row.most), valid);
    EXPECT_EQ(choice.GetNumOverwrites(), valid ? row.most * row.perPass : 12);
  }
}

TEST(PurgeTypeChoice, SelectionsOutsideAListAreIgnoredAndCancelRestoresOnlyTheType) {
  PurgeTypeChoice choice;
  for (const int index : {-1, 9}) choice.SelectIndex(0, index);
  choice.SelectIndex(2, 4);
  choice.SelectIndex(5, 0);
  EXPECT_EQ(choice.SelectedIndex(0), 5);
  EXPECT_EQ(choice.SelectedIndex(2), 1);
  choice.SelectIndex(0, 8);
  EXPECT_EQ(choice.GetNumberOfPasses(), 9);

  choice.Activate();
  choice.SetPurgeType(1);
  choice.SelectIndex(1, 0);
  choice.SelectIndex(0, 2);
  choice.Cancel();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(1), 0);
  EXPECT_EQ(choice.GetNumberOfPasses(), 3);
  choice.SetPurgeType(2);
  choice.Activate();
  choice.SetPurgeType(1);
  choice.Cancel();
  EXPECT_EQ(choice.GetPurgeType(), 2);

  choice.Initialization();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(0), 5);
  EXPECT_EQ(choice.SelectedIndex(1), 3);
  EXPECT_EQ(choice.SelectedIndex(2), 1);
  EXPECT_EQ(choice.ListCount(0), 9);
}
