#pragma once

// Where the program keeps its own values, named by its program texts: the registry key of the
// measured purge speeds, the store that holds it, and the next-run setup.

#include <optional>
#include <string>

namespace Platform {
struct DriveInfo;
}

// The program's registry key path: UI texts 273, 310 and 2 joined by "\".
std::string RegistryBasePath();

// The store file of the registry values: <application data>/<UI text 310>/registry.ini.
std::string RegistryStorePath();

// Points the registry at the program's store; called once the program texts are loaded.
void UseProgramRegistryStore();

// The purge speed stored for a drive by an earlier speed test, when it is a usable number
// (see UsablePurgeSpeed).
std::optional<float> StoredPurgeSpeed(const Platform::DriveInfo& drive,
                                      const std::string& basePath = RegistryBasePath());
// Keeps the measured purge speed of a drive in the registry, for the next runs of the program.
// Answers "" when it is kept; otherwise the message for the user: "The purge speed of Drive ",
// the drive, " could not be stored in ", the store file (on Windows the registry key), " (", the
// system's reason without its full stop, and ").".
std::string StorePurgeSpeed(const Platform::DriveInfo& drive, float speed,
                            const std::string& basePath = RegistryBasePath());
