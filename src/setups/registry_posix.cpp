#include "setups/registry.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/registry_status.h"

namespace Registry {
namespace {

// One line of the store file, kept as it was read (its line break included) so that a write
// gives back every line it does not change, byte for byte. The program understands sections and
// the values in them; every other line (a comment, a line that is neither, a binary line, a value
// of a section it cannot read) is only carried along.
struct Line {
  enum class Kind { Other, Section, Value };
  std::string raw;
  Kind kind = Kind::Other;
  // Section: its key path. Value: its name.
  std::string name;
  // Value: its text, and the position of its section's line.
  std::string text;
  std::size_t section = 0;
};

using Store = std::vector<Line>;

// Serialises all calls, the setting of the store's path included: the speed test writes from a
// worker thread while the window may read.
std::mutex& StoreMutex() {
  static std::mutex mutex;
  return mutex;
}

std::optional<std::string>& ConfiguredStorePath() {
  static std::optional<std::string> path;
  return path;
}

std::string CurrentStorePath() {
  if (ConfiguredStorePath()) return *ConfiguredStorePath();
  const std::string folder = Platform::ApplicationDataFolder();
  if (folder.empty()) return {};
  return JoinPath(folder, "kexwell/registry.ini");
}

char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Escape(std::string_view text, bool isName) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0x0F];
    } else if (isName &&
               (c == '=' || c == '[' || c == ']' || (out.empty() && (c == '#' || c == ';')))) {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    if (next == 'n') {
      out += '\n';
    } else if (next == 'r') {
      out += '\r';
    } else if (next == 'x' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += next;
    }
  }
  return out;
}

// The position of the first "=" that no backslash escapes; npos when there is none.
std::size_t NameEnd(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\') {
      ++i;
    } else if (line[i] == '=') {
      return i;
    }
  }
  return std::string_view::npos;
}

// A line without its line break: the LF that ends it and a CR before that.
std::string_view Content(std::string_view raw) {
  if (!raw.empty() && raw.back() == '\n') raw.remove_suffix(1);
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  return raw;
}

// Reads what the program understands of each line; every line is kept whatever it holds.
Store ParseStore(std::string_view text) {
  Store store;
  // The line of the section that the lines read belong to; none before the first section and
  // after a section that cannot be read.
  constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
  std::size_t current = kNoSection;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    Line& line = store.emplace_back();
    line.raw = text.substr(start, end - start);
    start = end;
    const std::string_view content = Content(line.raw);
    if (content.empty()) continue;
    // A NUL byte is never written by the program: such a line is binary data of someone else's.
    const bool binary = content.find('\0') != std::string_view::npos;

    if (content.front() == '[') {
      current = kNoSection;
      if (binary || content.size() < 2 || content.back() != ']') continue;
      std::string path = Unescape(content.substr(1, content.size() - 2));
      if (path.empty()) continue;
      line.kind = Line::Kind::Section;
      line.name = std::move(path);
      current = store.size() - 1;
      continue;
    }

    if (binary || current == kNoSection || content.front() == '#' || content.front() == ';')
      continue;
    const std::size_t nameEnd = NameEnd(content);
    if (nameEnd == std::string_view::npos) continue;
    std::string name = Unescape(content.substr(0, nameEnd));
    if (name.empty()) continue;
    line.kind = Line::Kind::Value;
    line.name = std::move(name);
    line.text = Unescape(content.substr(nameEnd + 1));
    line.section = current;
  }
  return store;
}

std::string StoreText(const Store& store) {
  std::string text;
  for (const Line& line : store) text += line.raw;
  return text;
}

bool IsSection(const Line& line, std::string_view keyPath) {
  return line.kind == Line::Kind::Section && SameName(line.name, keyPath);
}

bool IsValue(const Store& store, const Line& line, std::string_view keyPath,
             std::string_view valueName) {
  return line.kind == Line::Kind::Value && SameName(line.name, valueName) &&
         SameName(store[line.section].name, keyPath);
}

// The line of a value; the last one when a hand-edited store holds it twice, as that is the
// one a read answers. Nothing when the value is not there.
std::optional<std::size_t> FindValue(const Store& store, std::string_view keyPath,
                                     std::string_view valueName) {
  std::optional<std::size_t> found;
  for (std::size_t i = 0; i < store.size(); ++i) {
    if (IsValue(store, store[i], keyPath, valueName)) found = i;
  }
  return found;
}

// The line break that ends a line: "\n" for the last line of a file that ends without one.
std::string LineBreakOf(const Line& line) {
  const std::string_view raw = line.raw;
  const std::string_view ending = raw.substr(Content(raw).size());
  return ending.ends_with('\n') ? std::string(ending) : std::string("\n");
}

// A line that the program writes itself.
Line NewLine(std::string raw) {
  Line line;
  line.raw = std::move(raw);
  return line;
}

// Ends the line with a line break, so that a line can follow it.
void EndLine(Line& line) {
  if (!line.raw.ends_with('\n')) line.raw += '\n';
}

// Sets a value in the store, changing or adding only its own line (and a section's line for a
// new key); answers whether the key is new. An existing value keeps the spelling of its name and
// its line break.
bool SetValue(Store& store, const std::string& keyPath, const std::string& valueName,
              const std::string& text) {
  if (const std::optional<std::size_t> found = FindValue(store, keyPath, valueName)) {
    Line& line = store[*found];
    const std::string_view content = Content(line.raw);
    line.raw = std::string(content.substr(0, NameEnd(content) + 1)) + Escape(text, false) +
               std::string(line.raw.substr(content.size()));
    line.text = text;
    return false;
  }

  const std::string valueLine = Escape(valueName, true) + '=' + Escape(text, false);
  std::optional<std::size_t> section;
  for (std::size_t i = 0; i < store.size() && !section; ++i) {
    if (IsSection(store[i], keyPath)) section = i;
  }
  if (section) {
    // After the last line of the section that is not blank, before the next section.
    std::size_t last = *section;
    for (std::size_t i = *section + 1; i < store.size(); ++i) {
      const std::string_view content = Content(store[i].raw);
      if (content.starts_with('[')) break;
      if (!content.empty()) last = i;
    }
    EndLine(store[last]);
    store.insert(store.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                 NewLine(valueLine + LineBreakOf(store[last])));
    return false;
  }

  // A new key goes at the end, a blank line apart from what is before it.
  if (!store.empty()) {
    EndLine(store.back());
    if (!Content(store.back().raw).empty()) store.push_back(NewLine("\n"));
  }
  store.push_back(NewLine('[' + Escape(keyPath, false) + "]\n"));
  store.push_back(NewLine(valueLine + '\n'));
  return true;
}

// Reads the store. A missing file gives an empty store. A file that is there but cannot be read
// whole (a link or anything but a regular file, no permission, a read error, more than
// kMaxStoreBytes) gives the error, so that a write never replaces what it could not read.
std::error_code LoadStore(const std::string& path, Store& store) {
  store.clear();
  if (path.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  std::string text;
  const std::error_code error = Platform::ReadWholeFile(path, text, kMaxStoreBytes);
  if (error == std::errc::no_such_file_or_directory) return {};
  if (error) return error;
  store = ParseStore(text);
  return {};
}

std::string SystemMessage(int code) {
  std::string message = std::system_category().message(code);
  if (message.size() > kMaxMessageLength) message.resize(kMaxMessageLength);
  return message;
}

// The system's error number for a failure; the platform layer's own failures (a link or another
// non-regular file at the store's path) are told as refused operations.
int SystemErrorNumber(const std::error_code& error) {
  if (error.category() == std::system_category() || error.category() == std::generic_category()) {
    return error.value();
  }
  return EPERM;
}

std::string WriteFailure(const std::error_code& error) {
  const int number = SystemErrorNumber(error);
  return std::to_string(number) + ' ' + kUnableToCreateKey + "  " + SystemMessage(number);
}

std::string WriteFailure(std::errc error) {
  return WriteFailure(std::make_error_code(error));
}

}  // namespace

void SetStorePath(const std::string& path) {
  const std::lock_guard lock(StoreMutex());
  if (path.empty()) {
    ConfiguredStorePath().reset();
  } else {
    ConfiguredStorePath() = path;
  }
}

std::string StorePath() {
  const std::lock_guard lock(StoreMutex());
  return CurrentStorePath();
}

std::string StoreLocation(RootKey /*root: the current user's store is the only one*/,
                          const std::string& /*keyPath: every key is in the one file*/) {
  return StorePath();
}

std::string RegWriteString(RootKey /*root: the current user's store is the only one*/,
                           const std::string& keyPath, const std::string& valueName,
                           const std::string& text) {
  const std::lock_guard lock(StoreMutex());
  if (keyPath.empty() || valueName.empty()) return WriteFailure(std::errc::invalid_argument);
  const std::string path = CurrentStorePath();
  if (path.empty()) return WriteFailure(std::errc::no_such_file_or_directory);

  Store store;
  if (const std::error_code error = LoadStore(path, store)) return WriteFailure(error);
  const bool created = SetValue(store, keyPath, valueName, text);

  // A store longer than the reader accepts could be neither read nor written again.
  const std::string contents = StoreText(store);
  if (contents.size() > kMaxStoreBytes) return WriteFailure(std::errc::file_too_large);
  const std::string folder = Platform::FolderPart(path);
  if (!folder.empty()) {
    if (const std::error_code error = Platform::CreateFolders(folder)) return WriteFailure(error);
  }
  if (const std::error_code error = Platform::ReplaceFileAtomically(path, contents)) {
    return WriteFailure(error);
  }
  return std::string(created ? kNewKey : kExistingKey) + "  " + SystemMessage(0);
}

std::string RegReadString(RootKey /*root: the current user's store is the only one*/,
                          const std::string& keyPath, const std::string& valueName,
                          std::string& text) {
  const std::lock_guard lock(StoreMutex());
  if (keyPath.empty()) return kKeyNotFound;
  Store store;
  if (LoadStore(CurrentStorePath(), store)) return kKeyNotFound;
  if (std::none_of(store.begin(), store.end(),
                   [&](const Line& line) { return IsSection(line, keyPath); }))
    return kKeyNotFound;
  if (valueName.empty()) return kNameNotSpecified;
  const std::optional<std::size_t> found = FindValue(store, keyPath, valueName);
  if (!found) return kNameNotFound;
  text = store[*found].text;
  return kOK;
}

}  // namespace Registry
