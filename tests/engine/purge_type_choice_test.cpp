#include "engine/purge_type_choice.h"

#include <gtest/gtest.h>

TEST(PurgeTypeChoice, AFreshStartIsTypeZeroWithSixPassesAndTwelveOverwrites) {
  PurgeTypeChoice choice;  // usable before Initialization too
  EXPECT_EQ(choice.GetNumOverwrites(), 12);
  choice.Initialization();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.GetNumberOfPasses(), 6);
  EXPECT_EQ(choice.GetNumOverwritesPerPass(), 2);
  EXPECT_EQ(choice.GetNumOverwrites(), 12);
  EXPECT_EQ(choice.MinNumPasses(), 1);
}

TEST(PurgeTypeChoice, TheListsOfferOneToNineOneToEightAndOneToFourPasses) {
  const PurgeTypeChoice choice;
  const int counts[] = {9, 8, 4};
  for (short type = 0; type < 3; ++type) {
    ASSERT_EQ(choice.ListCount(type), counts[type]) << "type " << type;
    for (int index = 0; index < counts[type]; ++index) {
      EXPECT_EQ(choice.ListEntry(type, index), std::to_string(index + 1)) << "type " << type;
    }
    EXPECT_EQ(choice.ListEntry(type, counts[type]), "");
    EXPECT_EQ(choice.MaxPasses(type), counts[type]);
  }
  EXPECT_EQ(choice.ListCount(3), 0);
  EXPECT_EQ(choice.ListEntry(-1, 0), "");
  EXPECT_EQ(PurgeTypeChoice::MaxPasses(3), 0);
}

TEST(PurgeTypeChoice, EachTypeHasItsOwnDefaultPassesAndTypeTwoReachesTwentyFourOverwrites) {
  PurgeTypeChoice choice;
  choice.SetPurgeType(1);
  EXPECT_EQ(choice.GetNumberOfPasses(), 4);
  EXPECT_EQ(choice.GetNumOverwritesPerPass(), 3);
  EXPECT_EQ(choice.GetNumOverwrites(), 12);
  choice.SetPurgeType(2);
  EXPECT_EQ(choice.GetNumberOfPasses(), 2);
  EXPECT_EQ(choice.GetNumOverwritesPerPass(), 6);
  EXPECT_EQ(choice.GetNumOverwrites(), 12);
  EXPECT_EQ(PurgeTypeChoice::OverwritesPerPass(-1), 0);
  EXPECT_EQ(PurgeTypeChoice::OverwritesPerPass(3), 0);

  choice.SelectIndex(2, 3);
  EXPECT_EQ(choice.GetNumberOfPasses(), 4);
  EXPECT_EQ(choice.GetNumOverwrites(), 24);
}

TEST(PurgeTypeChoice, InvalidTypesAndIndexesLeaveTheChoiceAsItWas) {
  PurgeTypeChoice choice;
  choice.SetPurgeType(3);
  choice.SetPurgeType(-1);
  EXPECT_EQ(choice.GetPurgeType(), 0);
  choice.SelectIndex(0, 9);
  choice.SelectIndex(0, -1);
  choice.SelectIndex(2, 4);
  choice.SelectIndex(5, 0);
  EXPECT_EQ(choice.SelectedIndex(0), 5);
  EXPECT_EQ(choice.SelectedIndex(2), 1);
  EXPECT_EQ(choice.SelectedIndex(5), -1);
  EXPECT_EQ(choice.GetNumberOfPasses(), 6);
}

TEST(PurgeTypeChoice, CancelRestoresTheTypeButKeepsTheListSelections) {
  PurgeTypeChoice choice;
  choice.Activate();
  choice.SetPurgeType(1);
  choice.SelectIndex(1, 0);
  choice.SelectIndex(0, 2);
  choice.Cancel();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(0), 2);
  EXPECT_EQ(choice.SelectedIndex(1), 0);
  EXPECT_EQ(choice.GetNumberOfPasses(), 3);

  choice.SetPurgeType(2);
  choice.Activate();
  choice.SetPurgeType(1);
  choice.Cancel();
  EXPECT_EQ(choice.GetPurgeType(), 2);
}

TEST(PurgeTypeChoice, InitializationStartsAgainFromTheDefaults) {
  PurgeTypeChoice choice;
  choice.SetPurgeType(2);
  choice.SelectIndex(2, 3);
  choice.SelectIndex(0, 0);
  choice.Initialization();
  EXPECT_EQ(choice.GetPurgeType(), 0);
  EXPECT_EQ(choice.SelectedIndex(0), 5);
  EXPECT_EQ(choice.SelectedIndex(1), 3);
  EXPECT_EQ(choice.SelectedIndex(2), 1);
  EXPECT_EQ(choice.ListCount(0), 9);
}

TEST(PurgeTypeChoice, RestoreFromSetupSelectsThePassesInTheTypesOwnListOnly) {
  PurgeTypeChoice choice;
  EXPECT_TRUE(choice.RestoreFromSetup(1, 8));
  EXPECT_EQ(choice.GetPurgeType(), 1);
  EXPECT_EQ(choice.GetNumberOfPasses(), 8);
  EXPECT_EQ(choice.GetNumOverwrites(), 24);
  EXPECT_EQ(choice.SelectedIndex(0), 5);
  EXPECT_EQ(choice.SelectedIndex(2), 1);

  EXPECT_TRUE(choice.RestoreFromSetup(2, 1));
  EXPECT_EQ(choice.GetNumberOfPasses(), 1);
  EXPECT_EQ(choice.GetNumOverwrites(), 6);
}

TEST(PurgeTypeChoice, RestoreFromSetupRejectsValuesOutOfRangeAndChangesNothing) {
  const struct {
    short type;
    short passes;
  } rejected[] = {{-1, 1}, {3, 1}, {32767, 2}, {0, 0},     {0, 10},
                  {1, 9},  {2, 5}, {2, -1},    {0, -32768}};
  for (const auto& values : rejected) {
    PurgeTypeChoice choice;
    choice.SetPurgeType(1);
    choice.SelectIndex(1, 6);
    EXPECT_FALSE(choice.RestoreFromSetup(values.type, values.passes))
        << values.type << ", " << values.passes;
    EXPECT_EQ(choice.GetPurgeType(), 1);
    EXPECT_EQ(choice.SelectedIndex(0), 5);
    EXPECT_EQ(choice.SelectedIndex(1), 6);
    EXPECT_EQ(choice.SelectedIndex(2), 1);
  }
}
