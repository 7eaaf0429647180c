#pragma once

// Everything the user has set up, for the whole run of the program: the windows show and edit
// these objects, the setups save and restore them, and every run reads them.

#include "dates/date_restriction.h"
#include "engine/cluster_size.h"
#include "engine/file_ops.h"
#include "engine/purge_speeds.h"
#include "engine/purge_type_choice.h"
#include "operation/purge_confirmation_state.h"
#include "operation/purge_options.h"
#include "targets/target_record.h"
#include "text/random_source.h"

struct ProgramSettings {
  PurgeTypeChoice purgeType;
  TargetRecord target;
  DateRestriction dateRestriction;
  // The confirmation dialog's check boxes, which the setups save and restore; a confirmed purge
  // turns them into the options of its run.
  PurgeConfirmationState confirmation;
  PurgeOptions options;
  // Confirm each file before it is purged.
  bool blnConfirmFiles = false;
  DriveClusterSize clusterSizes;
  DrivePurgeSpeed purgeSpeeds;
  FileOps::ProtectedFiles protectedFiles;
  SystemRandomSource random;
  // The coefficients of the model that adjusts an estimate to the average file size.
  double dblAF_A = 0.917;
  double dblAF_B = 0.2;
};
