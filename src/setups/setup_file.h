#pragma once

// Setups: everything the user has chosen for a purge, kept in a file. Operation files (".kxs",
// named by the user) and the next-run setup (".usr", in the application-data folder) have the
// same format, sixteen lines in UTF-8, each ended by CR LF:
//
//    1  the program's version (ProgramVersion)     9  chkOKToPurgeReadOnlyFiles
//    2  blnSubdirectories, 1 or 0                  10  chkOKToPurgeSystemFiles
//    3  TargetFolder                               11  chkOKToPurgeSensitiveFiles
//    4  TargetFilespec                             12  chkFolderNamesOnly
//    5  type of purge, 0 to 2                      13  chkDeleteEmptyFolders
//    6  number of passes                           14  chkConfirmFiles
//    7  chkPurgeSlackOnly, 0 or 1                  15  lngOnlyBeforeThisJDN
//    8  chkDoNotDeletePurgedFiles, 0 or 1          16  chkOKToPurgeHardLinkedFiles
//
// Texts are written as they are, without quotes; numbers in decimal, preceded by a blank when
// not negative. Readers ignore blanks around values and take LF alone as a line end as well; a
// file that is not valid UTF-8 is read as Windows-1252, so operation files made on Windows load.
// Earlier versions wrote the first fifteen lines only: such a file loads with line 16 taken as 0.
//
// A seventeenth line, " 1", follows only when the target is one file whose exact name holds "*"
// or "?" (a POSIX name may): line 4 is then that file's name, never a pattern. A file without it,
// or with anything else there, loads line 4 as every earlier version did.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dates/day_numbers.h"
#include "operation/program_settings.h"

// The version written at the head of a setup: major number, ".", minor number, then "5"
// ("0.15" for version 0.1).
std::string ProgramVersion();

// Writes the setup to path, replacing the file as a whole: a failed save leaves the earlier file
// as it was. False when the file cannot be written, and when the folder or the filespec could
// not be read back as it is: a text holding a line break or a NUL, beginning
// or ending with a blank or a tab, or not valid UTF-8.
bool SaveSetupToFile(const std::string& path, const ProgramSettings& settings);

// Reads a setup and, when every line holds a valid value, puts it in force as a whole: the
// target, the type of purge and its passes, the check boxes and the date restriction. True only
// when all fifteen lines, and a sixteenth when the file has one, were read and valid (a
// seventeenth is never wrong); otherwise
// nothing changes. The date restriction must be one the date dialog can set (a day of the years
// 1980 to 2999) or none. A run purges whole files only: the slack-only box stays unticked and
// line 8 is chkDoNotDeletePurgedFiles's own state. A file that cannot be read, is too large,
// holds a NUL byte or a line longer than kMaxSetupLineBytes changes nothing either.
bool LoadSetupFromFile(const std::string& path, ProgramSettings& settings);

// The extension of operation files, which the Load dialog's filter shows.
inline constexpr const char* kOperationFileExtension = ".kxs";

// The name an operation file is saved under: the name as typed when it ends in ".kxs" (in any
// case), otherwise the name with ".kxs" added, so that the Load dialog always offers it. A name
// with another extension keeps it before ".kxs" ("notes.txt" gives "notes.txt.kxs"): a setup is
// never another kind of file, and a point in a name often belongs to the name itself.
std::string WithOperationFileExtension(const std::string& typed);

// The longest line a setup file may hold, in bytes, line end not counted.
inline constexpr std::size_t kMaxSetupLineBytes = 32 * 1024;

// The next-run setup's path: the application-data folder, UI text 310, then UI text 2 in lower
// case followed by ".usr". The folder of UI text 310 is created when it is missing. Empty when
// the user has no application-data folder (no home folder is known): no folder is made anywhere
// else, and a setup at the empty path neither loads nor saves.
std::string NextRunSetupPath(const std::string& uiText2, const std::string& uiText310);

// Loads the next-run setup at start-up; a missing or damaged file leaves the defaults and is not
// reported to the user.
bool LoadNextRunSetup(const std::string& path, ProgramSettings& settings);

// The setup that "Restore setup" brings back.
struct RememberedSetup {
  bool blnSubdirectories = false;
  std::string TargetFolder, TargetFilespec;
  bool filespecIsName = false;
  std::int32_t lngOnlyBeforeThisJDN = DatePr2::NoDateRestriction;
};

// Keeps a copy of the target and the date restriction.
void RememberSetup(const ProgramSettings& settings, RememberedSetup& remembered);

// "Clear setup": remembers the setup, then empties the folder and the file specification.
// Options, type of purge and date restriction stay as they are.
void ClearSetup(ProgramSettings& settings, RememberedSetup& remembered);

// "Restore setup": puts back the remembered folder, file specification, subfolder flag and
// date restriction, so a restored target never reaches further than the one remembered.
void RestoreSetup(ProgramSettings& settings, const RememberedSetup& remembered);
