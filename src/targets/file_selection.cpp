#include "targets/file_selection.h"

#include "dates/date_restriction.h"
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
