#include "engine/purge_type_texts.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PurgeTypeTexts, TheDialogAndTheMainWindowNameEachTypeAndItsPasses) {
  PurgeTypeChoice x2, x9;  // type 3 twice, type 1 nine times
  ASSERT_TRUE(x2.RestoreFromSetup(2, 2) && x9.RestoreFromSetup(0, 9));
  const std::pair<std::string, std::string> rows[] = {
      {OptionCaption(0), "1. Random bytes plus zeros"},
      {OptionCaption(2), "3. Alternate bit patterns plus random bytes twice"},
      {PurgeTypeLabel(0), "Overwrite the data once with random bytes then with bit pattern 00000000."},
      {PurgeTypeLabel(1),
       "Overwrite the data three times with bit patterns 10101010, 01010101 and 00000000."},
      {PurgeTypeLabel(2).substr(0, 64), "Overwrite the data twice with bit patterns 10101010 and 01010101"},
      {PurgeTypeNumPasses(1, 1), "alternate bit patterns plus zeros once"},
      {PurgeTypeNumPasses(2, 2), "alternate bit patterns plus random bytes twice twice"},
      {PurgeTypeNumPasses(3, 3), " 3 times"},
      {TypeOfPurgeDescription(x2), "Alternate bit patterns plus random bytes twice, twice (= 12 overwrites)"},
      {TypeOfPurgeDescription(x9), "Random bytes plus zeros, 9 times (= 18 overwrites)"},
  };
  for (const auto& [text, expected] : rows) EXPECT_EQ(text, expected);
}

TEST(PurgeTypeTexts, AcceptAsksUpToTwentyFourOverwritesWarnsUpToThirtyTwoAndRefusesMore) {
  const std::string start = "In the type of purge specified each file ";
  const std::string large = "This is a rather large number of overwrites.  Are you sure you want to do this?";
  const std::pair<int, std::string> rows[] = {
      {1, start + "will be overwritten once.\r\nIs this OK?"},
      {24, start + "will be overwritten 24 times.\r\nIs this OK?"},
      {25, start + "will be overwritten 25 times.\r\n" + large},
      {32, start + "will be overwritten 32 times.\r\n" + large},
      {33, start + "would be overwritten 33 times.\r\nThis is more than is allowed by this software."}};
  for (const auto& [overwrites, text] : rows) {
    const AcceptMessage message = AcceptQuestion(overwrites);
    EXPECT_EQ(std::tie(message.text, message.titleUiText, message.title),
              std::tuple(text, overwrites > 32 ? 0 : 23, overwrites > 32 ? "Too many overwrites" : ""));
  }
}
