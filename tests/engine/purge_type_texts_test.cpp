#include "engine/purge_type_texts.h"

#include <gtest/gtest.h>

TEST(PurgeTypeTexts, TheDialogShowsItsOwnCaptionsAndLabels) {
  EXPECT_EQ(OptionCaption(0), "1. Random bytes plus zeros");
  EXPECT_EQ(OptionCaption(1), "2. Alternate bit patterns plus zeros");
  EXPECT_EQ(OptionCaption(2), "3. Alternate bit patterns plus random bytes twice");
  EXPECT_EQ(OptionCaption(3), "");
  EXPECT_EQ(PurgeTypeLabel(0),
            "Overwrite the data once with random bytes then with bit pattern 00000000.");
  EXPECT_EQ(PurgeTypeLabel(1),
            "Overwrite the data three times with bit patterns 10101010, 01010101 and 00000000.");
  EXPECT_EQ(PurgeTypeLabel(2),
            "Overwrite the data twice with bit patterns 10101010 and 01010101, then with random "
            "bytes, then twice with bit patterns 00001010 and 11110101, then again with random "
            "bytes.");
  EXPECT_EQ(PurgeTypeLabel(-1), "");
  EXPECT_EQ(DodLabel(),
            "Both the type 2 purge (if done 6 times) and the type 3 purge (if done 3 times) meet "
            "the U.S. DoD 5220.22-M standard for disk sanitization.");
  EXPECT_EQ(NumberOfTimesCaption(), "Number of times ('passes'):");
  EXPECT_EQ(TypeOfPurgeTitle(), "What type of purge should be used?");
  EXPECT_EQ(AcceptCaption(), "Accept");
  EXPECT_EQ(CancelCaption(), "Cancel");
}

TEST(PurgeTypeTexts, PurgeTypeNumPassesSaysOnceTwiceOrTheNumberOfTimes) {
  EXPECT_EQ(PurgeTypeNumPasses(0, 6), "random bytes plus zeros 6 times");
  EXPECT_EQ(PurgeTypeNumPasses(0, 3), "random bytes plus zeros 3 times");
  EXPECT_EQ(PurgeTypeNumPasses(1, 1), "alternate bit patterns plus zeros once");
  EXPECT_EQ(PurgeTypeNumPasses(2, 2), "alternate bit patterns plus random bytes twice twice");
  EXPECT_EQ(PurgeTypeNumPasses(1, 8), "alternate bit patterns plus zeros 8 times");
}

TEST(PurgeTypeTexts, PurgeTypeNumPassesHasNoPhraseForAnInvalidType) {
  EXPECT_EQ(PurgeTypeNumPasses(3, 1), " once");
  EXPECT_EQ(PurgeTypeNumPasses(-1, 2), " twice");
  EXPECT_EQ(PurgeTypeNumPasses(7, 5), " 5 times");
}

TEST(PurgeTypeTexts, TheMainWindowDescribesAFreshStart) {
  const PurgeTypeChoice choice;
  EXPECT_EQ(TypeOfPurgeDescription(choice), "Random bytes plus zeros, 6 times (= 12 overwrites)");
}

TEST(PurgeTypeTexts, TheMainWindowDescribesEachTypeWithOnceTwiceOrTimes) {
  PurgeTypeChoice choice;
  ASSERT_TRUE(choice.RestoreFromSetup(1, 1));
  EXPECT_EQ(TypeOfPurgeDescription(choice),
            "Alternate bit patterns plus zeros, once (= 3 overwrites)");
  ASSERT_TRUE(choice.RestoreFromSetup(2, 2));
  EXPECT_EQ(TypeOfPurgeDescription(choice),
            "Alternate bit patterns plus random bytes twice, twice (= 12 overwrites)");
  ASSERT_TRUE(choice.RestoreFromSetup(0, 9));
  EXPECT_EQ(TypeOfPurgeDescription(choice), "Random bytes plus zeros, 9 times (= 18 overwrites)");
}

TEST(PurgeTypeTexts, AcceptAsksWhetherTwentyFourOverwritesAreOk) {
  PurgeTypeChoice choice;
  ASSERT_TRUE(choice.RestoreFromSetup(2, 4));
  const AcceptMessage message = AcceptQuestion(choice.GetNumOverwrites());
  EXPECT_EQ(message.text,
            "In the type of purge specified each file will be overwritten 24 times.\r\n"
            "Is this OK?");
  EXPECT_FALSE(message.tooManyOverwrites);
  EXPECT_EQ(message.titleUiText, 23);
  EXPECT_EQ(message.title, "");
}

TEST(PurgeTypeTexts, AcceptSaysOnceAndTwiceInWords) {
  EXPECT_EQ(AcceptQuestion(1).text,
            "In the type of purge specified each file will be overwritten once.\r\nIs this OK?");
  EXPECT_EQ(AcceptQuestion(2).text,
            "In the type of purge specified each file will be overwritten twice.\r\nIs this OK?");
}

TEST(PurgeTypeTexts, AcceptWarnsOfTwentyFiveToThirtyTwoOverwrites) {
  for (const int n : {25, 32}) {
    const AcceptMessage message = AcceptQuestion(n);
    EXPECT_EQ(message.text, "In the type of purge specified each file will be overwritten " +
                                std::to_string(n) +
                                " times.\r\nThis is a rather large number of overwrites.  "
                                "Are you sure you want to do this?");
    EXPECT_FALSE(message.tooManyOverwrites);
    EXPECT_EQ(message.titleUiText, 23);
  }
}

TEST(PurgeTypeTexts, AcceptRefusesMoreThanThirtyTwoOverwrites) {
  const AcceptMessage message = AcceptQuestion(33);
  EXPECT_EQ(message.text,
            "In the type of purge specified each file would be overwritten 33 times.\r\n"
            "This is more than is allowed by this software.");
  EXPECT_TRUE(message.tooManyOverwrites);
  EXPECT_EQ(message.title, "Too many overwrites");
  EXPECT_EQ(message.titleUiText, 0);
}
