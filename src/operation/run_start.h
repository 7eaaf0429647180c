#pragma once

// The checks and questions before a purge or a listing starts, and the offer to remove an
// emptied target folder afterwards. Messages go through UserDialogs.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "operation/purge_confirmation.h"
#include "operation/run_request.h"

struct ProgramSettings;
class PurgeRun;
class UserDialogs;

class RunStarter {
 public:
  RunStarter(ProgramSettings& settings, UserDialogs& dialogs);

  // Files must be specified and a named folder must exist. Tells the user otherwise (a folder
  // that does not exist is also cleared from the target) and answers false.
  bool CheckTarget();

  // A run of the given kind on the target: its folder and file specification, names shown.
  RunRequest RequestForTarget(RunKind kind) const;

  // Before a purge: the target folder must hold a matching file unless subfolders are included;
  // a pattern's files are counted up to 1001 (showStatus gets "Now counting files ..." and then
  // ""), with run; a file named on its own must pass the date restriction. The count (-1: more
  // than 1000), or nothing when the purge cannot go on (the user has been told) or when the count
  // was stopped (run.blnStop, which the caller clears before; the user is not told yet).
  std::optional<std::int32_t> PreparePurge(
      PurgeRun& run, const std::function<void(const std::string&)>& showStatus);

  // The two confirmation messages for the counted files, withOtherNames of which have other
  // names (hard links).
  PurgeConfirmationTexts ConfirmationTexts(std::int32_t count, std::int32_t withOtherNames = 0);

  // How many of the files that PreparePurge counted have other names (hard links).
  std::int32_t HardLinkedCount() const { return hardLinkedCount_; }

  // The files that match in the target folder itself (for the purge button's caption).
  std::int32_t FilesInTargetFolder() const;

  // Tells the user that the purge was cancelled.
  void TellCancelled();

  // Before a listing: the folder must hold a matching file unless subfolders are included.
  bool PrepareListing();

  // The questions before a listing of subfolders: an unmeasured drive speed, and whether folder
  // names are shown; the answers go to listing. Without subfolders, file and folder names are
  // both shown. False when the user chose not to go on.
  bool ChooseListingDisplay(RunRequest& listing);

  // The caption of the report window during a listing.
  std::string ListingCaption(const RunRequest& listing) const;

  // After a purge that left the target folder without any file or subfolder: asks whether to
  // delete it, and does on Yes. True when it was deleted.
  bool OfferToDeleteEmptyFolder();
  // True when the target folder holds no file and no subfolder.
  bool TargetFolderIsEmpty() const;

 private:
  std::string TargetPath() const;

  ProgramSettings& settings_;
  UserDialogs& dialogs_;
  std::int32_t hardLinkedCount_ = 0;
};
