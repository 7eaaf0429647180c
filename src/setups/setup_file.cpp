#include "setups/setup_file.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "dates/date_input.h"
#include "platform/atomic_file.h"
#include "setups/text_encoding.h"
#include "targets/matching.h"

namespace {

using Box = PurgeConfirmationState::Box;

constexpr std::size_t kSetupLineCount = 17;
// Seventeen lines of the longest kind (544 KiB) with their line ends, and room for more lines
// after them, which are ignored.
constexpr std::size_t kMaxSetupFileBytes = 1024 * 1024;

// Lines 7 to 14 hold the boxes from chkPurgeSlackOnly to chkConfirmFiles, in the order of Box;
// the date restriction follows them.
constexpr std::size_t kFirstBoxLine = 7;
constexpr std::size_t kDateLine = 15;
constexpr std::size_t kBoxesBeforeDate = kDateLine - kFirstBoxLine;
static_assert(static_cast<std::size_t>(Box::chkConfirmFiles) + 1 == kBoxesBeforeDate);
// The last line, which earlier versions did not write.
constexpr std::size_t kHardLinkedLine = 16;
// The line that says the file specification is one file's name, written only where it matters.
constexpr std::size_t kFilespecIsNameLine = 17;
static_assert(kFilespecIsNameLine == kSetupLineCount);
static_assert(static_cast<std::size_t>(Box::chkOKToPurgeHardLinkedFiles) + 1 ==
              PurgeConfirmationState::kBoxCount);

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A number as a setup line holds it: decimal, with a blank in place of the sign when it is not
// negative.
std::string NumberLine(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return value < 0 ? digits : " " + digits;
}

// A text comes back from a setup file as it went in only when it stays on one line, has no
// blanks at its ends (a reader trims them), is UTF-8 (a reader takes anything else as
// Windows-1252) and is short enough for a reader to accept.
bool LoadsBackUnchanged(const std::string& text) {
  if (text.size() > kMaxSetupLineBytes) return false;
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return false;
  if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) return false;
  return TextEncoding::IsValidUtf8(text);
}

// The first seventeen lines of contents (fewer when the file has fewer). A line ends at CR LF, at
// LF or at a CR alone; a line end at the very end of the file starts no further line. False when
// one of the first sixteen is longer than kMaxSetupLineBytes; a seventeenth that long is left out,
// as earlier versions left out every line after the sixteenth.
bool SplitSetupLines(std::string_view contents, std::vector<std::string_view>& lines) {
  std::size_t start = 0;
  while (start < contents.size() && lines.size() < kSetupLineCount) {
    std::size_t end = contents.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = contents.size();
    if (end - start > kMaxSetupLineBytes) return lines.size() + 1 == kFilespecIsNameLine;
    lines.push_back(contents.substr(start, end - start));
    if (end == contents.size()) break;
    start = end + 1;
    if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n') ++start;
  }
  return true;
}

// A whole 32-bit number, blanks around it ignored; an optional sign, then digits only.
bool ParseWholeNumber(std::string_view line, std::int32_t& value) {
  std::string_view text = TrimBlanks(line);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  std::int32_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

// Line lineNumber (counted from 1) as a whole number; false when the file ends before it or it
// holds anything else.
bool ReadNumber(const std::vector<std::string>& lines, std::size_t lineNumber,
                std::int32_t& value) {
  return lineNumber <= lines.size() && ParseWholeNumber(lines[lineNumber - 1], value);
}

bool IsZeroOrOne(std::int32_t value) {
  return value == 0 || value == 1;
}

bool FitsShort(std::int32_t value) {
  return value >= std::numeric_limits<short>::min() && value <= std::numeric_limits<short>::max();
}

// Everything a setup file holds, read and checked but not yet in force.
struct SetupValues {
  bool subdirectories = false;
  std::string folder, filespec;
  bool filespecIsName = false;
  short purgeType = 0, passes = 0;
  std::array<bool, PurgeConfirmationState::kBoxCount> boxes{};
  std::int32_t onlyBeforeJdn = DatePr2::NoDateRestriction;
};

// Reads the lines into values; nullopt when a line is missing or holds a value out of its range.
// Line 1, the version of the program that wrote the file, is not used.
std::optional<SetupValues> ReadSetupLines(const std::vector<std::string>& lines) {
  SetupValues values;
  std::int32_t value = 0;
  if (!ReadNumber(lines, 2, value) || !IsZeroOrOne(value)) return std::nullopt;
  values.subdirectories = value == 1;

  if (lines.size() < 4) return std::nullopt;
  values.folder = std::string(TrimBlanks(lines[2]));
  values.filespec = std::string(TrimBlanks(lines[3]));

  std::int32_t type = 0, passes = 0;
  if (!ReadNumber(lines, 5, type) || !ReadNumber(lines, 6, passes)) return std::nullopt;
  if (!FitsShort(type) || !FitsShort(passes)) return std::nullopt;
  values.purgeType = static_cast<short>(type);
  values.passes = static_cast<short>(passes);

  for (std::size_t box = 0; box < kBoxesBeforeDate; ++box) {
    if (!ReadNumber(lines, kFirstBoxLine + box, value) || !IsZeroOrOne(value)) return std::nullopt;
    values.boxes[box] = value == 1;
  }

  // The limit is one the date dialog could have set, or none.
  if (!ReadNumber(lines, kDateLine, value) || !OnlyBefore::IsAcceptedLimit(value)) {
    return std::nullopt;
  }
  values.onlyBeforeJdn = value;

  // A file of an earlier version ends before this line (or has an empty line there, which it
  // ignored): the box is unticked.
  value = 0;
  if (lines.size() >= kHardLinkedLine && !TrimBlanks(lines[kHardLinkedLine - 1]).empty() &&
      (!ReadNumber(lines, kHardLinkedLine, value) || !IsZeroOrOne(value))) {
    return std::nullopt;
  }
  values.boxes[static_cast<std::size_t>(Box::chkOKToPurgeHardLinkedFiles)] = value == 1;

  // Anything but 1 here leaves the file specification as earlier versions read it.
  values.filespecIsName = ReadNumber(lines, kFilespecIsNameLine, value) && value == 1;
  return values;
}

// Puts the values in force, all of them or, when the type of purge does not offer that number
// of passes, none.
bool ApplySetupValues(const SetupValues& values, ProgramSettings& settings) {
  PurgeTypeChoice purgeType = settings.purgeType;
  if (!purgeType.RestoreFromSetup(values.purgeType, values.passes)) return false;

  // A run purges whole files only, so the slack-only box stays unticked: ticking it would hold
  // chkDoNotDeletePurgedFiles ticked and put line 8 aside. Line 7 is read for its check alone.
  PurgeConfirmationState confirmation = settings.confirmation;
  confirmation.SetSlackOnly(false);
  for (std::size_t box = 0; box < PurgeConfirmationState::kBoxCount; ++box) {
    if (static_cast<Box>(box) == Box::chkPurgeSlackOnly) continue;
    confirmation.SetTicked(static_cast<Box>(box), values.boxes[box]);
  }

  settings.purgeType = purgeType;
  settings.confirmation = confirmation;
  settings.target.blnSubdirectories = values.subdirectories;
  settings.target.TargetFolder = values.folder;
  settings.target.SetFilespec(values.filespec, values.filespecIsName);
  settings.dateRestriction.lngOnlyBeforeThisJDN = values.onlyBeforeJdn;
  return true;
}

}  // namespace

std::string ProgramVersion() {
  const std::string_view version = KEXWELL_VERSION;
  const std::size_t firstPoint = version.find('.');
  if (firstPoint == std::string_view::npos) return std::string(version) + ".05";
  const std::size_t secondPoint = version.find('.', firstPoint + 1);
  return std::string(version.substr(0, secondPoint)) + "5";
}

bool SaveSetupToFile(const std::string& path, const ProgramSettings& settings) {
  const TargetRecord& target = settings.target;
  if (!LoadsBackUnchanged(target.TargetFolder) || !LoadsBackUnchanged(target.TargetFilespec)) {
    return false;
  }

  std::string contents;
  const auto addLine = [&contents](std::string_view line) {
    contents += line;
    contents += kLineEnd;
  };
  addLine(ProgramVersion());
  addLine(NumberLine(target.blnSubdirectories ? 1 : 0));
  addLine(target.TargetFolder);
  addLine(target.TargetFilespec);
  addLine(NumberLine(settings.purgeType.GetPurgeType()));
  addLine(NumberLine(settings.purgeType.GetNumberOfPasses()));
  const auto addBox = [&addLine, &settings](Box box) {
    addLine(NumberLine(settings.confirmation.Get(box).ticked ? 1 : 0));
  };
  for (std::size_t box = 0; box < kBoxesBeforeDate; ++box) addBox(static_cast<Box>(box));
  addLine(NumberLine(settings.dateRestriction.lngOnlyBeforeThisJDN));
  addBox(Box::chkOKToPurgeHardLinkedFiles);
  // Only a name that a reader would take as a pattern needs saying so.
  if (target.filespecIsName && HasWildcard(target.TargetFilespec)) addLine(NumberLine(1));

  return !Platform::ReplaceFileAtomically(path, contents);
}

bool LoadSetupFromFile(const std::string& path, ProgramSettings& settings) {
  std::string contents;
  if (Platform::ReadWholeFile(path, contents, kMaxSetupFileBytes)) return false;
  // A setup is text: a NUL byte means some other kind of file.
  if (contents.find('\0') != std::string::npos) return false;

  std::vector<std::string_view> rawLines;
  if (!SplitSetupLines(contents, rawLines)) return false;

  const bool utf8 = TextEncoding::IsValidUtf8(contents);
  std::vector<std::string> lines;
  lines.reserve(rawLines.size());
  for (const std::string_view line : rawLines) {
    lines.push_back(utf8 ? std::string(line) : TextEncoding::Windows1252ToUtf8(line));
  }
  const std::optional<SetupValues> values = ReadSetupLines(lines);
  return values.has_value() && ApplySetupValues(*values, settings);
}
