#include "engine/file_proc.h"

#include "platform/errors.h"

namespace FileProc {
bool DeleteFile(const std::string& path, bool clearHidden, bool clearReadOnly, bool clearSystem,
                const DeleteRetry& retry) {
  if (!FileExists(path)) return true;
  Platform::FileAttributes attributes;
  if (!Platform::GetFileAttributes(path, attributes)) {
    if (attributes.hidden && clearHidden) (void)Platform::ClearHidden(path);
    if (attributes.readOnly && clearReadOnly) (void)Platform::ClearReadOnly(path);
    if (attributes.system && clearSystem) (void)Platform::ClearSystem(path);
  }
  for (int attempt = 1;; ++attempt) {
    if (!retry.remove(path)) return true;
    if (!FileExists(path)) return true;
    if (attempt >= retry.attempts) return false;
    retry.sleep(retry.delayMilliseconds);
  }
}

bool FileExists(const std::string& path) {
  return !path.empty() && Platform::FileExists(path);
}

std::string UniqueName(const std::string& path) {
  for (unsigned long number = 1;; ++number) {
    std::string candidate = path + std::to_string(number);
    if (!FileExists(candidate) && !Platform::FolderExists(candidate)) return candidate;
  }
}

}  // namespace FileProc
