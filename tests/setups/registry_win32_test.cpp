// The Windows registry: values other programs stored and failed writes. registry_test.cpp checks
// the answers every system gives.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "setups/registry.h"

namespace {

using Registry::RegReadString;
using Registry::RegWriteString;

constexpr Registry::RootKey kUser = Registry::RootKey::CurrentUser;

// A key of the test's own under HKEY_CURRENT_USER\Software, removed with everything below it.
class RegistryWin32 : public ::testing::Test {
 protected:
  ~RegistryWin32() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str()); }

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

  const std::string key_ = "Software\\KexwellTest-" + std::to_string(::GetCurrentProcessId()) +
                           "-" + std::to_string(::GetTickCount64());
};

TEST_F(RegistryWin32, AValueNameTooLongForTheRegistryIsAFailureToWriteTheValue) {
  const std::string status = RegWriteString(kUser, key_, std::string(20000, 'n'), "x");
  const std::string words = " Unable to write value.  ";
  const std::size_t blank = status.find(' ');
  EXPECT_EQ(status.substr(0, blank), std::to_string(std::stoul(status))) << status;
  EXPECT_NE(status[0], '0') << status;
  EXPECT_EQ(status.substr(blank, words.size()), words) << status;
  EXPECT_GT(status.size(), blank + words.size()) << status;
}

TEST_F(RegistryWin32, ReadsAnotherProgramsTextsWholeButNoOtherKindOfValue) {
  // With the terminating zero, without it, and empty.
  SetRaw("Terminated", REG_SZ, "abc", 4);
  SetRaw("Unterminated", REG_SZ, "abc", 3);
  SetRaw("NoData", REG_SZ, "", 0);
  for (const char* name : {"Terminated", "Unterminated", "NoData"}) {
    std::string text = "untouched";
    EXPECT_EQ(RegReadString(kUser, key_, name, text), "0 OK");
    EXPECT_EQ(text, std::string(name) == "NoData" ? "" : "abc") << name;
  }

  // A number is no text: the status says so and the text stays as it was.
  const DWORD number = 0x34333231;  // the bytes of "1234"
  SetRaw("Number", REG_DWORD, &number, sizeof number);
  std::string text = "untouched";
  const std::string status = RegReadString(kUser, key_, "Number", text);
  EXPECT_EQ(status.substr(0, 2), "4 ") << status;
  EXPECT_GT(status.size(), 2u);
  EXPECT_EQ(text, "untouched");
}

}  // namespace
