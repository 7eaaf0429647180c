#pragma once

// The first step of the desktop program: its texts. Without them it cannot start.

class UserDialogs;

// Loads the program-text file beside the program; on failure tells the user the loader's
// message and answers false.
bool LoadProgramTextsOrTell(UserDialogs& dialogs);
