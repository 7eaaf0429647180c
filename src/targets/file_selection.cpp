#include "targets/file_selection.h"

#include "dates/date_restriction.h"
#include "platform/handles.h"
#include "platform/program.h"
#include "targets/matching.h"

bool SatisfiesFilespecAndDateRestriction(const std::string& strFilepath,
                                         const std::string& strFilespec, bool blnCaseSensitive,
                                         std::int32_t lngOnlyBeforeThisJDN) {
  const std::size_t separator = strFilepath.rfind(Platform::kPathSeparator);
  const std::string name =
      separator == std::string::npos ? std::string() : strFilepath.substr(separator + 1);
  if (!FileMatchesFilespec(name, strFilespec, blnCaseSensitive)) return false;
  DateRestriction restriction;
  restriction.lngOnlyBeforeThisJDN = lngOnlyBeforeThisJDN;
  return restriction.Passes(strFilepath);
}

bool SatisfiesFilespecAndDateRestrictionIn(const Platform::FolderHandle& folder,
                                           const std::string& name, const std::string& strFilespec,
                                           std::int32_t lngOnlyBeforeThisJDN, bool filespecIsName) {
  if (!FileMatchesFilespec(name, strFilespec, false, filespecIsName)) return false;
  DateRestriction restriction;
  restriction.lngOnlyBeforeThisJDN = lngOnlyBeforeThisJDN;
  if (!restriction.blnDateRestriction()) return true;
  Platform::EntryStatus status;
  return !folder.Status(name, status) && restriction.PassesTime(status.times.modification.seconds);
}
