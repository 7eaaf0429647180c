// The registry on Windows: the values are kept in the system's registry under
// HKEY_CURRENT_USER, as string values. The store path of the other systems only is remembered
// here; it has no effect on where the values are kept.

#include <windows.h>

#include <mutex>
#include <string>

#include "platform/win32/wide_text.h"
#include "setups/registry.h"
#include "setups/registry_status.h"

namespace Registry {
namespace {

constexpr const char* kKeyAnomaly = "0 Key anomaly.";
constexpr const char* kUnableToWriteValue = "Unable to write value.";

// Serialises all calls: the speed test writes from a worker thread while the window may read.
std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::string& RememberedStorePath() {
  static std::string path;
  return path;
}

HKEY RootHandle(RootKey /*root: the current user is the only one*/) {
  return HKEY_CURRENT_USER;
}

// The system's message for a result code: its first 100 characters in UTF-8, without the line
// break and blanks that end it; empty when the system has none.
std::string SystemMessage(LSTATUS code) {
  char buffer[512] = {};
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
  if (length == 0) return {};
  // The message comes in the system's ANSI code page; the program's texts are UTF-8.
  const int ansiLength = static_cast<int>(length < sizeof buffer ? length : sizeof buffer - 1);
  std::wstring wide(static_cast<std::size_t>(ansiLength), L'\0');
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(CP_ACP, 0, buffer, ansiLength, wide.data(), ansiLength)));
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' ||
                           wide.back() == L'\t'))
    wide.pop_back();
  // Cut after 100 characters, a character outside the basic plane counting as one.
  std::size_t end = 0;
  for (std::size_t characters = 0; end < wide.size() && characters < kMaxMessageLength;
       ++characters) {
    const bool pair = wide[end] >= 0xD800 && wide[end] <= 0xDBFF && end + 1 < wide.size();
    end += pair ? 2 : 1;
  }
  wide.resize(end);
  return Platform::Win32::Narrow(wide);
}

std::string Failure(LSTATUS code, const char* what) {
  return std::to_string(code) + ' ' + what + "  " + SystemMessage(code);
}

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

// The text of a string value's data: up to its first zero, or all of it when the value was
// stored without one.
std::string TextOf(const std::string& data) {
  const std::size_t zero = data.find('\0');
  return zero == std::string::npos ? data : data.substr(0, zero);
}

}  // namespace

void SetStorePath(const std::string& path) {
  const std::lock_guard lock(RegistryMutex());
  RememberedStorePath() = path;
}

std::string StorePath() {
  const std::lock_guard lock(RegistryMutex());
  return RememberedStorePath();
}

std::string StoreLocation(RootKey /*root: the current user is the only one*/,
                          const std::string& keyPath) {
  return "HKEY_CURRENT_USER\\" + keyPath;
}

std::string RegWriteString(RootKey root, const std::string& keyPath, const std::string& valueName,
                           const std::string& text) {
  const std::lock_guard lock(RegistryMutex());
  // An empty key path would write into the root itself, and an empty name the key's default
  // value: neither could be read back.
  if (keyPath.empty() || valueName.empty())
    return Failure(ERROR_INVALID_PARAMETER, kUnableToCreateKey);

  HKEY key = nullptr;
  DWORD disposition = 0;
  const LSTATUS created =
      ::RegCreateKeyExA(RootHandle(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition);
  if (created != ERROR_SUCCESS) return Failure(created, kUnableToCreateKey);

  std::string status;
  if (disposition == REG_CREATED_NEW_KEY) {
    status = kNewKey;
  } else if (disposition == REG_OPENED_EXISTING_KEY) {
    status = kExistingKey;
  } else {
    status = kKeyAnomaly;
  }
  // The data is the text without a terminating zero, as the program has always stored it; the
  // reader takes such a value whole.
  const LSTATUS written =
      ::RegSetValueExA(key, valueName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
  ::RegCloseKey(key);
  if (written != ERROR_SUCCESS) return Failure(written, kUnableToWriteValue);
  return status + "  " + SystemMessage(written);
}

std::string RegReadString(RootKey root, const std::string& keyPath, const std::string& valueName,
                          std::string& text) {
  const std::lock_guard lock(RegistryMutex());
  if (keyPath.empty()) return kKeyNotFound;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return kKeyNotFound;
  if (valueName.empty()) {
    ::RegCloseKey(key);
    return kNameNotSpecified;
  }

  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    ::RegCloseKey(key);
    return kNameNotFound;
  }
  // Another program may make the value longer between asking its size and reading it: then
  // the size is asked again.
  std::string data;
  LSTATUS result = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 3 && result == ERROR_MORE_DATA; ++attempt) {
    data.assign(size, ' ');
    DWORD read = size;
    result = size == 0 ? ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &read)
                       : ::RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(data.data()), &read);
    if (result == ERROR_SUCCESS && read <= data.size()) {
      data.resize(read);
    } else if (result == ERROR_MORE_DATA) {
      size = read;
    }
  }
  ::RegCloseKey(key);

  if (result == ERROR_SUCCESS) {
    // A number or binary data is no text, even though the system would hand it over.
    if (!IsText(type)) return "4 " + SystemMessage(ERROR_UNSUPPORTED_TYPE);
    text = TextOf(data);
    return kOK;
  }
  if (result == ERROR_FILE_NOT_FOUND) return kNameNotFound;
  // A failed read leaves the buffer undefined, so no text is taken from it.
  return "4 " + SystemMessage(result);
}

}  // namespace Registry
