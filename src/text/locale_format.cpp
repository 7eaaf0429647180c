#include "text/locale_format.h"

#include <memory>
#include <mutex>

namespace StrProc {

namespace {

std::mutex& CurrentMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unique_ptr<LocaleFormat>& CurrentSlot() {
  static std::unique_ptr<LocaleFormat> slot;
  return slot;
}

}  // namespace

LocaleFormat LocaleFormat::English() {
  return LocaleFormat{",", ".", "\3", "%m/%d/%Y", "%I:%M:%S %p", "AM", "PM"};
}

LocaleFormat LocaleFormat::German() {
  return LocaleFormat{".", ",", "\3", "%d.%m.%Y", "%H:%M:%S", "", ""};
}

LocaleFormat CurrentLocaleFormat() {
  const std::lock_guard lock(CurrentMutex());
  auto& slot = CurrentSlot();
  if (!slot) slot = std::make_unique<LocaleFormat>(ReadEnvironmentLocale());
  return *slot;
}

void SetLocaleFormat(const LocaleFormat& format) {
  const std::lock_guard lock(CurrentMutex());
  CurrentSlot() = std::make_unique<LocaleFormat>(format);
}

}  // namespace StrProc
