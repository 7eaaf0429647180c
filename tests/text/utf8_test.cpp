#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>

using Utf8::Form;

TEST(Utf8, DecodesTheCharacterAtTheFrontOrSaysWhyThereIsNone) {
  // A text of one character, or of bytes that start none: then the first byte is taken alone.
  const std::tuple<std::string_view, Form, char32_t> cases[] = {
      {"A", Form::kCharacter, U'A'},
      {"\xC3\xA9", Form::kCharacter, 0xE9},
      {"\xE0\xA0\x80", Form::kCharacter, 0x800},
      {"\xED\x9F\xBF", Form::kCharacter, 0xD7FF},
      {"\xF0\x90\x80\x80", Form::kCharacter, 0x10000},
      {"\xF4\x8F\xBF\xBF", Form::kCharacter, 0x10FFFF},
      {"\x80\x80", Form::kInvalid, 0x80},  // a stray continuation byte
      {"\xC1\xBF", Form::kInvalid, 0xC1},  // overlong forms
      {"\xE0\x9F\xBF", Form::kInvalid, 0xE0},
      {"\xF0\x8F\xBF\xBF", Form::kInvalid, 0xF0},
      {"\xED\xA0\x80", Form::kInvalid, 0xED},      // a surrogate
      {"\xF4\x90\x80\x80", Form::kInvalid, 0xF4},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80", Form::kInvalid, 0xF5},
      {"\xF0\x9F\x98!", Form::kInvalid, 0xF0},  // a continuation byte missing
      {"\xE2\x82", Form::kCutShort, 0xE2},      // the text ends inside a sequence
      {"\xE0\x80", Form::kInvalid, 0xE0},       // ... after a byte that no sequence has there
  };
  for (const auto& [text, form, value] : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(text)));
    const Utf8::Decoded decoded = Utf8::DecodeFront(text);
    EXPECT_EQ(decoded.form, form);
    EXPECT_EQ(decoded.value, value);
    EXPECT_EQ(decoded.length, form == Form::kCharacter ? text.size() : 1);
    if (form != Form::kCharacter) continue;
    std::string encoded;
    Utf8::Append(encoded, value);
    EXPECT_EQ(encoded, text);
  }
}

TEST(Utf8, AByteThatStartsNoCharacterBecomesTheCallersStrayValue) {
  EXPECT_EQ(Utf8::Decode("a\xFF\xC3\xA9\xE2\x82", 0x110000),
            std::u32string({U'a', 0x1100FF, 0xE9, 0x1100E2, 0x110082}));
}
