#include "engine/purge_type_texts.h"

#include <cstddef>
#include <string>

namespace {

// "once", "twice" or the number followed by " times".
std::string TimesInWords(int number) {
  if (number == 1) {
    return "once";
  }
  if (number == 2) {
    return "twice";
  }
  return std::to_string(number) + " times";
}

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string OptionCaption(short type) {
  switch (type) {
    case 0:
      return "1. Random bytes plus zeros";
    case 1:
      return "2. Alternate bit patterns plus zeros";
    case 2:
      return "3. Alternate bit patterns plus random bytes twice";
    default:
      return {};
  }
}

std::string PurgeTypeLabel(short type) {
  switch (type) {
    case 0:
      return "Overwrite the data once with random bytes then with bit pattern 00000000.";
    case 1:
      return "Overwrite the data three times with bit patterns "
             "10101010, 01010101 and 00000000.";
    case 2:
      return "Overwrite the data twice with bit patterns 10101010 and 01010101, "
             "then with random bytes, then twice with bit patterns 00001010 and 11110101, "
             "then again with random bytes.";
    default:
      return {};
  }
}

std::string DodLabel() {
  return "Both the type 2 purge (if done 6 times) and the type 3 purge "
         "(if done 3 times) meet the U.S. DoD 5220.22-M standard for disk sanitization.";
}

std::string NumberOfTimesCaption() {
  return "Number of times ('passes'):";
}

std::string TypeOfPurgeTitle() {
  return "What type of purge should be used?";
}

std::string AcceptCaption() {
  return "Accept";
}

std::string CancelCaption() {
  return "Cancel";
}

std::string PurgeTypeNumPasses(short intPurgeType, short intNumberOfPasses) {
  std::string text;
  switch (intPurgeType) {
    case 0:
      text = "random bytes plus zeros";
      break;
    case 1:
      text = "alternate bit patterns plus zeros";
      break;
    case 2:
      text = "alternate bit patterns plus random bytes twice";
      break;
    default:
      break;
  }
  if (intNumberOfPasses == 1) {
    text += " once";
  } else if (intNumberOfPasses == 2) {
    text += " twice";
  } else {
    text += " " + std::to_string(intNumberOfPasses) + " times";
  }
  return text;
}

std::string TypeOfPurgeDescription(const PurgeTypeChoice& choice) {
  const std::string caption = OptionCaption(choice.GetPurgeType());
  const int numOverwrites = choice.GetNumOverwrites();
  std::string text = TrimBlanks(caption.size() > 3 ? caption.substr(3) : std::string());
  text += ", " + TimesInWords(choice.GetNumberOfPasses());
  text += " (= " + std::to_string(numOverwrites) + " overwrite";
  if (numOverwrites > 1) {
    text += "s";
  }
  text += ")";
  return text;
}

AcceptMessage AcceptQuestion(int numOverwrites) {
  AcceptMessage message;
  message.tooManyOverwrites = numOverwrites > kMaxNumOverwrites;
  message.text = "In the type of purge specified each file ";
  message.text += message.tooManyOverwrites ? "would" : "will";
  message.text += " be overwritten " + TimesInWords(numOverwrites) + ".";
  message.text += "\r\n";
  if (message.tooManyOverwrites) {
    message.text += "This is more than is allowed by this software.";
    message.title = "Too many overwrites";
  } else {
    if (numOverwrites < kLargeNumOverwrites) {
      message.text += "Is this OK?";
    } else {
      message.text +=
          "This is a rather large number of overwrites.  "
          "Are you sure you want to do this?";
    }
    message.titleUiText = 23;
  }
  return message;
}
