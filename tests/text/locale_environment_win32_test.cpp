// On Windows the conventions come from the user's regional settings.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "text/locale_format.h"

#include <windows.h>

// Changes items of the user's regional settings for one test and puts the first values back.
struct RegionalSettings {
  std::map<LCTYPE, std::wstring> former;

  ~RegionalSettings() {
    for (const auto& [item, value] : former) ::SetLocaleInfoW(LOCALE_USER_DEFAULT, item, value.c_str());
  }

  // False when the system does not take the values.
  bool Set(const std::vector<std::pair<LCTYPE, std::wstring>>& items) {
    for (const auto& [item, value] : items) {
      wchar_t buffer[128] = {};
      if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 128) <= 0) return false;
      former.emplace(item, buffer);  // the first value of the item stays
      if (!::SetLocaleInfoW(LOCALE_USER_DEFAULT, item, value.c_str())) return false;
    }
    return true;
  }
};

TEST(ReadEnvironmentLocale, FollowsTheUsersRegionalSettingsAndAlwaysWritesFourDigitYears) {
  RegionalSettings settings;
  ASSERT_TRUE(settings.Set({{LOCALE_SSHORTDATE, L"dd.MM.yy"}, {LOCALE_STIMEFORMAT, L"HH:mm:ss"},
                            {LOCALE_STHOUSAND, L"."}, {LOCALE_SDECIMAL, L","}, {LOCALE_SGROUPING, L"3;0"}}));
  StrProc::LocaleFormat format = StrProc::ReadEnvironmentLocale();
  // A two-digit year would leave it in doubt.
  EXPECT_EQ(format.shortDatePattern + " " + format.longTimePattern + " " + format.thousandsSeparator +
                format.decimalPoint + format.grouping, "%d.%m.%Y %H:%M:%S .,\3");

  ASSERT_TRUE(settings.Set({{LOCALE_SSHORTDATE, L"M/d/yyyy"}, {LOCALE_STIMEFORMAT, L"h:mm:ss tt"},
                            {LOCALE_SGROUPING, L"3;2;0"}}));
  format = StrProc::ReadEnvironmentLocale();
  EXPECT_EQ(format.shortDatePattern + " " + format.longTimePattern + " " + format.grouping,
            "%-m/%-d/%Y %-I:%M:%S %p \3\2");
}
