#include "setups/registry.h"

#include <cerrno>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "setups/registry_status.h"

namespace Registry {
namespace {

struct Value {
  std::string name;
  std::string text;
};

struct Key {
  std::string path;
  std::vector<Value> values;
};

using Store = std::vector<Key>;

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

Key* FindKey(Store& store, std::string_view path) {
  for (Key& key : store) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

Value* FindValue(Key& key, std::string_view name) {
  for (Value& value : key.values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

// Sets a value, keeping the spelling of a name that exists already.
void SetValue(Key& key, const std::string& name, const std::string& text) {
  if (Value* value = FindValue(key, name)) {
    value->text = text;
  } else {
    key.values.push_back({name, text});
  }
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
    } else if (isName && (c == '=' || c == '[' || c == ']')) {
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

// The store that the file's text holds; nothing when the text cannot be understood.
std::optional<Store> ParseStore(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  Store store;
  std::optional<std::size_t> current;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;

    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string path = Unescape(line.substr(1, line.size() - 2));
      if (path.empty()) return std::nullopt;
      if (const Key* key = FindKey(store, path)) {
        current = static_cast<std::size_t>(key - store.data());
      } else {
        current = store.size();
        store.push_back({path, {}});
      }
      continue;
    }

    const std::size_t nameEnd = NameEnd(line);
    if (!current || nameEnd == std::string_view::npos) return std::nullopt;
    const std::string name = Unescape(line.substr(0, nameEnd));
    if (name.empty()) return std::nullopt;
    SetValue(store[*current], name, Unescape(line.substr(nameEnd + 1)));
  }
  return store;
}

std::string StoreText(const Store& store) {
  std::string text;
  for (const Key& key : store) {
    if (!text.empty()) text += '\n';
    text += '[' + Escape(key.path, false) + "]\n";
    for (const Value& value : key.values) {
      text += Escape(value.name, true) + '=' + Escape(value.text, false) + '\n';
    }
  }
  return text;
}

// Reads the store. A missing or damaged file gives an empty store; a file that is there but
// cannot be read (a link, no permission, a read error) gives the error, so that a write never
// replaces what it could not read.
std::error_code LoadStore(const std::string& path, Store& store) {
  store.clear();
  if (path.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
  std::string text;
  const std::error_code error = Platform::ReadWholeFile(path, text, kMaxStoreBytes);
  if (error == std::errc::no_such_file_or_directory || error == std::errc::file_too_large) {
    return {};
  }
  if (error) return error;
  if (std::optional<Store> parsed = ParseStore(text)) store = std::move(*parsed);
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

std::string RegWriteString(RootKey /*root: the current user's store is the only one*/,
                           const std::string& keyPath, const std::string& valueName,
                           const std::string& text) {
  const std::lock_guard lock(StoreMutex());
  if (keyPath.empty() || valueName.empty()) return WriteFailure(std::errc::invalid_argument);
  const std::string path = CurrentStorePath();
  if (path.empty()) return WriteFailure(std::errc::no_such_file_or_directory);

  Store store;
  if (const std::error_code error = LoadStore(path, store)) return WriteFailure(error);
  Key* key = FindKey(store, keyPath);
  const bool created = key == nullptr;
  if (created) {
    store.push_back({keyPath, {}});
    key = &store.back();
  }
  SetValue(*key, valueName, text);

  // A store longer than the reader accepts would be taken as damaged and lost on the next write.
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
  Key* key = FindKey(store, keyPath);
  if (key == nullptr) return kKeyNotFound;
  if (valueName.empty()) return kNameNotSpecified;
  const Value* value = FindValue(*key, valueName);
  if (value == nullptr) return kNameNotFound;
  text = value->text;
  return kOK;
}

}  // namespace Registry
