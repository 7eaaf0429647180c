#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "setups/registry.h"

namespace {

using Registry::RegReadString;
using Registry::RegWriteString;
using Registry::RootKey;

constexpr RootKey kUser = RootKey::CurrentUser;

// A key of the test's own under HKEY_CURRENT_USER\Software, removed with everything below it.
class RegistryWin32 : public ::testing::Test {
 protected:
  RegistryWin32()
      : key_("Software\\KexwellTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(::GetTickCount64())) {}
  ~RegistryWin32() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

  bool KeyExists(const std::string& path) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
      return false;
    ::RegCloseKey(key);
    return true;
  }

  // Stores raw data as another program might.
  void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }

  const std::string key_;
};

// The status, then two blanks and the system's message: present, on one line, without the
// blanks and line break that end the system's own text.
void ExpectStatusWithMessage(const std::string& status, const std::string& start) {
  ASSERT_EQ(status.substr(0, start.size() + 2), start + "  ") << status;
  const std::string message = status.substr(start.size() + 2);
  EXPECT_FALSE(message.empty()) << status;
  std::size_t characters = 0;
  for (const char c : message) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_LE(characters, 100u) << status;
  EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << status;
  EXPECT_NE(message.back(), ' ') << status;
}

TEST_F(RegistryWin32, TellsEachOutcomeInItsOwnStatusText) {
  ExpectStatusWithMessage(RegWriteString(kUser, key_, "Speed", "12.5"), "0 New key created.");
  ExpectStatusWithMessage(RegWriteString(kUser, key_, "Speed", "13.75"),
                          "0 Key already exists.");
  std::string text = "untouched";
  EXPECT_EQ(RegReadString(kUser, key_, "Speed", text), "0 OK");
  EXPECT_EQ(text, "13.75");
  // Names and key paths are told apart without regard to case, as the registry does.
  EXPECT_EQ(RegReadString(kUser, key_, "SPEED", text), "0 OK");

  text = "untouched";
  EXPECT_EQ(RegReadString(kUser, key_, "Missing", text), "3 Name not found.");
  EXPECT_EQ(RegReadString(kUser, key_ + "\\Missing", "Speed", text),
            "1 Key not found or is empty.");
  EXPECT_EQ(RegReadString(kUser, "", "Speed", text), "1 Key not found or is empty.");
  EXPECT_EQ(RegReadString(kUser, key_, "", text), "2 Name not specified.");
  // Missing key and empty name: the key is looked for first.
  EXPECT_EQ(RegReadString(kUser, key_ + "\\Missing", "", text), "1 Key not found or is empty.");
  EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryWin32, RefusesAnEmptyKeyPathOrNameAndTellsAFailedWriteAsAFailure) {
  const std::string refused = std::to_string(ERROR_INVALID_PARAMETER) +
                              " Unable to create (or find) key.";
  ExpectStatusWithMessage(RegWriteString(kUser, key_, "", "x"), refused);
  ExpectStatusWithMessage(RegWriteString(kUser, "", "Speed", "x"), refused);
  EXPECT_FALSE(KeyExists(key_));

  // A value name longer than the registry allows: the key is made, the value is not.
  const std::string status = RegWriteString(kUser, key_, std::string(20000, 'n'), "x");
  ASSERT_FALSE(status.empty());
  EXPECT_NE(status[0], '0') << status;
  const std::size_t blank = status.find(' ');
  ASSERT_NE(blank, std::string::npos);
  EXPECT_EQ(status.substr(0, blank).find_first_not_of("0123456789"), std::string::npos) << status;
  ExpectStatusWithMessage(status, status.substr(0, blank) + " Unable to write value.");
}

TEST_F(RegistryWin32, ReadsBackEveryTextWholeButNoOtherKindOfValue) {
  for (const std::string& value :
       {std::string(), std::string("x"), std::string(" 12.5 "), std::string(5000, 'v')}) {
    ASSERT_EQ(RegWriteString(kUser, key_, "Value", value).substr(0, 1), "0");
    std::string text = "untouched";
    EXPECT_EQ(RegReadString(kUser, key_, "Value", text), "0 OK");
    EXPECT_EQ(text, value);
  }

  // Another program's values: with the terminating zero, without it, and empty.
  SetRaw("Terminated", REG_SZ, "abc", 4);
  SetRaw("Unterminated", REG_SZ, "abc", 3);
  SetRaw("NoData", REG_SZ, "", 0);
  std::string text;
  EXPECT_EQ(RegReadString(kUser, key_, "Terminated", text), "0 OK");
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(RegReadString(kUser, key_, "Unterminated", text), "0 OK");
  EXPECT_EQ(text, "abc");
  text = "untouched";
  EXPECT_EQ(RegReadString(kUser, key_, "NoData", text), "0 OK");
  EXPECT_EQ(text, "");

  // A number is no text: the status says so and the text stays as it was.
  const DWORD number = 0x34333231;  // the bytes of "1234"
  SetRaw("Number", REG_DWORD, &number, sizeof number);
  text = "untouched";
  const std::string status = RegReadString(kUser, key_, "Number", text);
  EXPECT_EQ(status.substr(0, 2), "4 ") << status;
  EXPECT_GT(status.size(), 2u);
  EXPECT_EQ(text, "untouched");
}

TEST_F(RegistryWin32, RemembersTheStorePathWithoutUsingIt) {
  const std::string former = Registry::StorePath();
  Registry::SetStorePath("Z:\\nowhere\\registry.ini");
  EXPECT_EQ(Registry::StorePath(), "Z:\\nowhere\\registry.ini");
  ExpectStatusWithMessage(RegWriteString(kUser, key_, "Speed", "1"), "0 New key created.");
  EXPECT_TRUE(KeyExists(key_));
  Registry::SetStorePath(former);
}

}  // namespace
