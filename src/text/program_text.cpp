#include "text/program_text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/program.h"
#include "text/utf8.h"

namespace Language2 {
namespace {

constexpr char kFileName[] = "kexwell.dat";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// No valid line is longer: a text of kMaxTextLength four-byte characters, its number and blanks.
// Of a longer line only this much is kept; the rest is skipped.
constexpr std::size_t kMaxLineBytes = 8192;
// Bounds that keep a wrong file from taking the program's memory or time.
constexpr long long kMaxLines = 1000000;
constexpr std::uint64_t kMaxFileBytes = 64ull * 1024 * 1024;
constexpr std::size_t kMaxTextBytes = 16 * 1024 * 1024;
// The last line that the line-numbered error codes can carry.
constexpr long long kLastCodedLine = 500;
// Codes of memory faults and of a text that was not recovered. The loader gives only
// kGeneralMemoryError now; the other two keep their messages.
constexpr int kParticularMemoryError = -2;
constexpr int kTextNotRecovered = -4;
constexpr int kGeneralMemoryError = -8;

struct Language {
  std::string name;  // "" for texts that come before the first section line
  std::unordered_map<short, std::string> texts;
};

std::vector<Language> loadedLanguages;
int currentLanguage = 0;

int DuplicateCode(long long line) {
  return static_cast<int>(-1500 - line);
}

int TooLongCode(long long line) {
  return line <= kLastCodedLine ? static_cast<int>(-1000 - line) : kTextTooLongBeyondLine500;
}

int MissingTextCode(long long line) {
  return line <= kLastCodedLine ? static_cast<int>(-500 - line) : kMissingTextBeyondLine500;
}

// Reads a file line by line, keeping at most kMaxLineBytes of each line.
class LineReader {
 public:
  enum class Result { kLine, kEnd, kReadError, kTooLarge };

  explicit LineReader(std::FILE* file) : file_(file) {}

  // The next line without its line feed; overlong tells that the line was cut.
  Result Next(std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    bool tookAny = false;
    while (true) {
      if (position_ == size_) {
        const Result filled = Fill();
        if (filled == Result::kEnd) return tookAny ? Result::kLine : Result::kEnd;
        if (filled != Result::kLine) return filled;
      }
      tookAny = true;
      const char* start = buffer_.data() + position_;
      const std::size_t available = size_ - position_;
      const void* feed = std::memchr(start, '\n', available);
      const std::size_t length =
          feed == nullptr ? available
                          : static_cast<std::size_t>(static_cast<const char*>(feed) - start);
      const std::size_t room = kMaxLineBytes - line.size();
      if (length > room) overlong = true;
      line.append(start, length > room ? room : length);
      position_ += feed == nullptr ? length : length + 1;
      if (feed != nullptr) return Result::kLine;
    }
  }

  std::uint64_t BytesRead() const { return bytesRead_; }

 private:
  Result Fill() {
    position_ = 0;
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    bytesRead_ += size_;
    if (bytesRead_ > kMaxFileBytes) return Result::kTooLarge;
    if (size_ > 0) return Result::kLine;
    return std::ferror(file_) != 0 ? Result::kReadError : Result::kEnd;
  }

  std::FILE* file_;
  std::array<char, 65536> buffer_{};
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  std::uint64_t bytesRead_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Whether text is UTF-8 without NUL bytes. With cutEnd, the text may end inside a character.
bool IsUtf8Text(std::string_view text, bool cutEnd) {
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] == '\0') return false;
    const Utf8::Decoded next = Utf8::DecodeFront(text.substr(at));
    if (next.form == Utf8::Form::kCutShort) return cutEnd;
    if (next.form == Utf8::Form::kInvalid) return false;
    at += next.length;
  }
  return true;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The text as written in the file with its escapes turned into the characters they stand for:
// \n a line break (CR LF), \t a tab, \s a blank, \\ a backslash. Any other backslash stays.
std::string Unescape(std::string_view written) {
  std::string text;
  text.reserve(written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] != '\\' || i + 1 == written.size()) {
      text += written[i];
      continue;
    }
    switch (written[i + 1]) {
      case 'n':
        text += "\r\n";
        break;
      case 't':
        text += '\t';
        break;
      case 's':
        text += ' ';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        text += '\\';
        continue;
    }
    ++i;
  }
  return text;
}

// What one load gathers before it replaces the loaded texts.
struct LoadState {
  std::vector<Language> languages;
  int texts = 0;
  std::size_t textBytes = 0;
};

// A "[name]" line: starts a language. 0, or the error code of the line.
int StartLanguage(LoadState& state, std::string_view line, bool overlong, long long lineNumber) {
  line = TrimBlanks(line);
  if (overlong || line.size() < 2 || line.back() != ']') return MissingTextCode(lineNumber);
  const std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
  if (name.empty()) return MissingTextCode(lineNumber);
  for (const Language& language : state.languages)
    if (language.name == name) return DuplicateCode(lineNumber);
  if (state.languages.size() >= static_cast<std::size_t>(kMaxLanguages)) return kTooMuchText;
  state.languages.push_back(Language{std::string(name), {}});
  return 0;
}

// A "NUMBER<blanks>text" line: adds the text to the language being read. 0, or the error code
// of the line.
int AddText(LoadState& state, std::string_view line, bool overlong, long long lineNumber) {
  int number = 0;
  std::size_t at = 0;
  for (; at < line.size() && IsDigit(line[at]); ++at) {
    number = number * 10 + (line[at] - '0');
    if (number > 32767) return MissingTextCode(lineNumber);
  }
  if (number < 1 || at == line.size() || !IsBlank(line[at])) return MissingTextCode(lineNumber);
  while (at < line.size() && IsBlank(line[at])) ++at;
  if (at == line.size()) return MissingTextCode(lineNumber);
  if (overlong) return TooLongCode(lineNumber);

  std::string text = Unescape(line.substr(at));
  if (Utf8::CharacterCount(text) > static_cast<std::size_t>(kMaxTextLength))
    return TooLongCode(lineNumber);
  if (state.languages.empty()) state.languages.emplace_back();
  Language& language = state.languages.back();
  const auto key = static_cast<short>(number);
  if (language.texts.contains(key)) return DuplicateCode(lineNumber);
  if (language.texts.size() >= static_cast<std::size_t>(kMaxTextsPerLanguage)) return kTooMuchText;
  if (state.textBytes + text.size() > kMaxTextBytes) return kTooMuchText;
  state.textBytes += text.size();
  language.texts.emplace(key, std::move(text));
  ++state.texts;
  return 0;
}

// One line of the file. 0, or the error code of the line.
int ReadLine(LoadState& state, std::string_view line, bool overlong, long long lineNumber) {
  if (!overlong && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!IsUtf8Text(line, overlong)) return kErrorReading;
  if (lineNumber == 1 && line.starts_with(kByteOrderMark))
    line.remove_prefix(kByteOrderMark.size());
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  if (line.empty() || line.front() == '#') return 0;
  if (line.front() == '[') return StartLanguage(state, line, overlong, lineNumber);
  return AddText(state, line, overlong, lineNumber);
}

// Opens a file for reading by its UTF-8 name. Windows' narrow fopen would take the name in the
// ANSI code page and miss a folder named in another script.
std::FILE* OpenForReading(const std::string& path) {
#ifdef _WIN32
  const std::filesystem::path name(std::u8string(path.begin(), path.end()));
  return ::_wfopen(name.c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

int Load(const std::string& path) {
  if (Platform::FolderExists(path)) return kCannotOpen;
  const std::unique_ptr<std::FILE, FileCloser> file(OpenForReading(path));
  if (!file) return kCannotOpen;

  LoadState state;
  auto reader = std::make_unique<LineReader>(file.get());
  std::string line;
  bool overlong = false;
  long long lineNumber = 0;
  while (true) {
    const LineReader::Result result = reader->Next(line, overlong);
    if (result == LineReader::Result::kReadError) return kErrorReading;
    if (result == LineReader::Result::kTooLarge) return kTooMuchText;
    if (result == LineReader::Result::kEnd) break;
    if (++lineNumber > kMaxLines) return kTooMuchText;
    const int code = ReadLine(state, line, overlong, lineNumber);
    if (code != 0) return code;
  }
  if (reader->BytesRead() == 0) return kFileIsEmpty;
  if (state.texts == 0) return kNoProgramText;
  loadedLanguages = std::move(state.languages);
  return state.texts;
}

}  // namespace

int LoadProgramText(const std::string& path) {
  loadedLanguages.clear();
  try {
    return Load(path);
  } catch (const std::bad_alloc&) {
    loadedLanguages.clear();
    return kGeneralMemoryError;
  }
}

std::string GetText(short n) {
  if (n < 1 || loadedLanguages.empty()) return {};
  const bool known =
      currentLanguage >= 0 && static_cast<std::size_t>(currentLanguage) < loadedLanguages.size();
  for (const std::size_t index :
       {known ? static_cast<std::size_t>(currentLanguage) : 0, std::size_t{0}}) {
    const auto& texts = loadedLanguages[index].texts;
    if (const auto found = texts.find(n); found != texts.end()) return found->second;
  }
  return {};
}

namespace {

std::string ProgramTextErrorText(int code, const std::string& path) {
  const long long value = code;
  if (value < -1500) return "Duplicate in program text at line " + std::to_string(-(value + 1500));
  if (value <= -1001) return "String too long at line " + std::to_string(-(value + 1000));
  if (value <= -501) return "Missing string at line " + std::to_string(-(value + 500));
  switch (code) {
    case kNoProgramText:
      return "No program text was read.";
    case kCannotOpen:
      return "Cannot open file containing program text.\r\n" + Platform::AbsolutePath(path);
    case kParticularMemoryError:
      return "Particular memory allocation error.";
    case kTooMuchText:
      return "Too much program text.";
    case kTextNotRecovered:
      return "Text not recovered.";
    case kFileIsEmpty:
      return "File is empty.";
    case kErrorReading:
      return "Error reading file.";
    case kGeneralMemoryError:
      return "General memory allocation error.";
    default:
      return "Error " + std::to_string(code);
  }
}

}  // namespace

std::string ProgramTextErrorMessage(int code, const std::string& path) {
  std::string message = ProgramTextErrorText(code, path);
  // Every message names the file it is about, so that a user knows which file to mend.
  if (code != kCannotOpen && !path.empty()) message += "\r\n" + Platform::AbsolutePath(path);
  return message;
}

std::string ProgramTextPath() {
  return Platform::ProgramFilePath(Platform::ProgramFolders(), kFileName);
}

void SetLanguage(int index) {
  currentLanguage = index;
}

}  // namespace Language2
