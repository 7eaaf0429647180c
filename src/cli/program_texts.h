#pragma once

// Loads the program-text file for the commands that need it (its texts name the registry key
// and the folder of the stored values). False after printing the loader's message.
bool LoadProgramTexts();
