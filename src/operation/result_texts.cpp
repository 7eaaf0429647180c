#include "operation/result_texts.h"

std::string ResultCodeReportText(short code, const std::string& extension) {
  switch (code) {
    case -54:
      return ": file is a system file, not purged.";
    case -11:
      return ": error when restoring filesize.";
    case -9:
      return ": invalid cluster size.";
    case -8:
      return ": invalid purge type.";
    case -7:
      return ": error when flushing file.";
    case -4:
      return ": file overwritten but not deleted.";
    case -3:
      return ": error when writing to file.";
    case -2:
      return ": unable to open file for writing.";
    case -1:
      return ": empty file name.";
    case 1:
      return ": a file in the current application folder, not purged.";
    case 2:
      return ": the page file (swap file), not purged.";
    case -53:
      return ": file is a read-only file, not purged."
             "\r\n"
             "(Perhaps file is in use by another program.)";
    case -13:
      return ": not a regular file, not purged.";
    case 7:
    case 8:
      return ": \"" + extension + "\" files are not purged.";
    default:
      return " not purged.";
  }
}
