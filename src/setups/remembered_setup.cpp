#include "setups/setup_file.h"

void RememberSetup(const ProgramSettings& settings, RememberedSetup& remembered) {
  remembered.blnSubdirectories = settings.target.blnSubdirectories;
  remembered.TargetFolder = settings.target.TargetFolder;
  remembered.TargetFilespec = settings.target.TargetFilespec;
  remembered.filespecIsName = settings.target.filespecIsName;
  remembered.lngOnlyBeforeThisJDN = settings.dateRestriction.lngOnlyBeforeThisJDN;
}

void ClearSetup(ProgramSettings& settings, RememberedSetup& remembered) {
  RememberSetup(settings, remembered);
  settings.target.TargetFolder.clear();
  settings.target.SetFilespec({});
}

void RestoreSetup(ProgramSettings& settings, const RememberedSetup& remembered) {
  settings.target.TargetFolder = remembered.TargetFolder;
  settings.target.SetFilespec(remembered.TargetFilespec, remembered.filespecIsName);
  // The subfolder flag comes back with its folder: a flag set for another folder in the meantime
  // must not widen the restored target to that folder's whole tree.
  settings.target.blnSubdirectories = remembered.blnSubdirectories;
  settings.dateRestriction.lngOnlyBeforeThisJDN = remembered.lngOnlyBeforeThisJDN;
}
