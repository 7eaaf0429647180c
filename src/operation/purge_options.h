#pragma once

// The options of a purge run, as the confirmation dialog sets them. They keep their values from
// one run to the next, and the setups save and restore them.
struct PurgeOptions {
  // Always false when a purge is confirmed: whole files are purged. Its box is kept for the
  // setups, which save and restore it.
  bool blnPurgeSlackOnly = false;
  bool blnDoNotDeletePurgedFiles = false;
  bool blnOKToPurgeReadOnlyFiles = false;
  bool blnOKToPurgeSystemFiles = false;
  // A file with more than one name (hard links) may be named outside the target as well;
  // overwriting it destroys the contents under every name.
  bool blnOKToPurgeHardLinkedFiles = false;
  bool blnOKToPurgeSensitiveFiles = false;
  bool blnFolderNamesOnly = false;
  bool blnDeleteEmptyFolders = false;
  // The user confirmed the purge (false after Cancel).
  bool blnConfirm = false;
};
