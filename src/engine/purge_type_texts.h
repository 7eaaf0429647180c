#pragma once

// The texts of the type-of-purge dialog and the descriptions of the chosen purge type.

#include <string>

#include "engine/purge_type_choice.h"

// The caption of the type's option button, "1. Random bytes plus zeros" and so on; "" for an
// invalid type.
std::string OptionCaption(short type);

// The description under the type's option button (lblPurgeType); "" for an invalid type.
std::string PurgeTypeLabel(short type);

// The note on standards (lblDOD).
std::string DodLabel();

// The caption above the lists of passes (lblNumberOfTimes).
std::string NumberOfTimesCaption();

// The dialog's title and the captions of its two buttons.
std::string TypeOfPurgeTitle();
std::string AcceptCaption();
std::string CancelCaption();

// The choice in words for reports and setups, for example "random bytes plus zeros 6 times".
// An invalid type has no phrase, so only the passes remain (" once").
std::string PurgeTypeNumPasses(short intPurgeType, short intNumberOfPasses);

// The main window's description of the choice, for example
// "Random bytes plus zeros, 6 times (= 12 overwrites)".
std::string TypeOfPurgeDescription(const PurgeTypeChoice& choice);

// What the dialog shows when Accept is pressed, for n overwrites of each file.
struct AcceptMessage {
  // The whole message; its lines are separated by "\r\n".
  std::string text;
  // true: more overwrites than the program allows. Shown with an exclamation icon and the title
  // in `title`, with an OK button only; the dialog stays open.
  // false: a Yes/No question whose title is the UI text numbered `titleUiText`; Yes accepts the
  // choice, No keeps the dialog open.
  bool tooManyOverwrites = false;
  std::string title;
  int titleUiText = 0;
};

// The highest number of overwrites the program accepts, and the lowest that it calls large.
inline constexpr int kMaxNumOverwrites = 32;
inline constexpr int kLargeNumOverwrites = 25;

AcceptMessage AcceptQuestion(int numOverwrites);
