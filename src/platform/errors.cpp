#include "platform/errors.h"

#include <string>

namespace Platform {
namespace {

class Category final : public std::error_category {
 public:
  const char* name() const noexcept override { return "kexwell.platform"; }
  std::string message(int value) const override {
    switch (static_cast<PlatformErrc>(value)) {
      case PlatformErrc::NotARegularFile: return "not a regular file";
      case PlatformErrc::NoSuchDrive: return "no mounted file system holds this path";
      case PlatformErrc::NotAFolder: return "a link or no folder";
      case PlatformErrc::OtherFileSystem: return "another file system";
      case PlatformErrc::NameReplaced: return "the name now leads to another file";
    }
    return "unknown platform error";
  }
};

}  // namespace

const std::error_category& PlatformCategory() {
  static const Category category;
  return category;
}

}  // namespace Platform
