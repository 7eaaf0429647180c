// The registry's answers: a file of the program's own on POSIX, the system's registry under
// HKEY_CURRENT_USER on Windows, where values other programs stored are read too.

#include "setups/registry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <system_error>
#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

#include "support/temp_folder.h"

namespace {

using Registry::RegReadString;
using Registry::RegWriteString;
constexpr Registry::RootKey kUser = Registry::RootKey::CurrentUser;

// A key of the test's own: in a fresh store on POSIX; on Windows under HKEY_CURRENT_USER\Software,
// removed with everything below it.
class RegistryAnswers : public ::testing::Test {
 protected:
  RegistryAnswers() { Registry::SetStorePath(folder / "registry.ini"); }
  ~RegistryAnswers() override {
    Registry::SetStorePath(saved);
#ifdef _WIN32
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
#endif
  }

  // The status, then two blanks and the system's message for the outcome. Windows words its
  // messages as it likes: there it must be present and on one line.
  static void ExpectStatus(const std::string& status, const std::string& start, int error) {
#ifdef _WIN32
    static_cast<void>(error);
    EXPECT_TRUE(status.starts_with(start + "  ") && status.size() > start.size() + 2) << status;
    EXPECT_EQ(status.find_first_of("\r\n"), std::string::npos) << status;
#else
    EXPECT_EQ(status, start + "  " + std::system_category().message(error));
#endif
  }

  TestSupport::TempFolder folder;
  const std::string saved = Registry::StorePath();
#ifdef _WIN32
  const std::string key = "Software\\KexwellTest-" + std::to_string(::GetCurrentProcessId()) +
                          "-" + std::to_string(::GetTickCount64());
  const int refusal = ERROR_INVALID_PARAMETER;
#else
  const std::string key = "Software\\Kexwell\\kexwell\\/home";
  const int refusal = EINVAL;
#endif
};

TEST_F(RegistryAnswers, EachOutcomeHasItsOwnStatusAndAReadSetsTheTextOnlyWhenItFindsIt) {
  std::string text = "untouched";
  EXPECT_EQ(RegReadString(kUser, key, "Speed", text), "1 Key not found or is empty.");
  const std::string refused = std::to_string(refusal) + " Unable to create (or find) key.";
  ExpectStatus(RegWriteString(kUser, "", "Speed", "1"), refused, refusal);
  ExpectStatus(RegWriteString(kUser, key, "", "1"), refused, refusal);
  EXPECT_EQ(RegReadString(kUser, key, "Speed", text), "1 Key not found or is empty.");

  ExpectStatus(RegWriteString(kUser, key, "Speed", "12.5"), "0 New key created.", 0);
  // Names are told apart without regard to case, as the registry does.
  ExpectStatus(RegWriteString(kUser, key, "SPEED", " 20 "), "0 Key already exists.", 0);
  EXPECT_EQ(RegReadString(kUser, key, "speed", text), "0 OK");
  EXPECT_EQ(text, " 20 ");

  text = "untouched";
  EXPECT_EQ(RegReadString(kUser, "", "Speed", text), "1 Key not found or is empty.");
  EXPECT_EQ(RegReadString(kUser, key + "\\x", "Speed", text), "1 Key not found or is empty.");
  EXPECT_EQ(RegReadString(kUser, key + "\\x", "", text), "1 Key not found or is empty.");
  EXPECT_EQ(RegReadString(kUser, key, "", text), "2 Name not specified.");
  EXPECT_EQ(RegReadString(kUser, key, "Speedy", text), "3 Name not found.");
  EXPECT_EQ(text, "untouched");

  ASSERT_EQ(RegWriteString(kUser, key, "Value", std::string(5000, 'v')).substr(0, 1), "0");
  EXPECT_EQ(RegReadString(kUser, key, "Value", text), "0 OK");
  EXPECT_EQ(text, std::string(5000, 'v'));
}


}  // namespace
