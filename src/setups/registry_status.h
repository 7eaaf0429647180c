#pragma once

// The status texts of the registry calls, shared by the registry of Windows and the store file of
// the other systems. Callers test only the first character: "0" means success.

#include <cstddef>

namespace Registry {

inline constexpr const char* kKeyNotFound = "1 Key not found or is empty.";
inline constexpr const char* kNameNotSpecified = "2 Name not specified.";
inline constexpr const char* kNameNotFound = "3 Name not found.";
inline constexpr const char* kOK = "0 OK";
inline constexpr const char* kNewKey = "0 New key created.";
inline constexpr const char* kExistingKey = "0 Key already exists.";
inline constexpr const char* kUnableToCreateKey = "Unable to create (or find) key.";

// System messages in status texts are cut to this many characters.
inline constexpr std::size_t kMaxMessageLength = 100;

}  // namespace Registry
