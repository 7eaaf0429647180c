#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>

using Utf8::Form;

TEST(Utf8, DecodesTheCharacterAtTheFrontOrSaysWhyThereIsNone) {
  // The shortest and longest character of each length; then bytes that start none, whose first
  // byte is taken alone: a stray continuation byte, overlong forms, a surrogate, code points
  // beyond U+10FFFF, a continuation byte missing, and a text that ends inside a sequence (cut
  // short, unless its bytes so far already start no character).
  const std::tuple<std::string_view, Form, char32_t> cases[] = {
      {"\xC3\xA9", Form::kCharacter, 0xE9},
      {"\xE0\xA0\x80", Form::kCharacter, 0x800},
      {"\xED\x9F\xBF", Form::kCharacter, 0xD7FF},
      {"\xF0\x90\x80\x80", Form::kCharacter, 0x10000},
      {"\xF4\x8F\xBF\xBF", Form::kCharacter, 0x10FFFF},
      {"\xC1\xBF", Form::kInvalid, 0xC1},
      {"\xE0\x9F\xBF", Form::kInvalid, 0xE0},
      {"\xF0\x8F\xBF\xBF", Form::kInvalid, 0xF0},
      {"\xED\xA0\x80", Form::kInvalid, 0xED},
      {"\xF4\x90\x80\x80", Form::kInvalid, 0xF4},
      {"\xF5\x80\x80\x80", Form::kInvalid, 0xF5},
      {"\xF0\x9F\x98!", Form::kInvalid, 0xF0},
      {"\xE2\x82", Form::kCutShort, 0xE2},
      {"\xE0\x80", Form::kInvalid, 0xE0}};
  for (const auto& [text, form, value] : cases) {
    const Utf8::Decoded decoded = Utf8::DecodeFront(text);
    EXPECT_EQ(std::tuple(decoded.form, decoded.value, decoded.length),
              std::tuple(form, value, form == Form::kCharacter ? text.size() : 1));
    std::string encoded;
    if (form == Form::kCharacter) Utf8::Append(encoded, value);
    EXPECT_EQ(encoded, form == Form::kCharacter ? text : "");
  }
  // In a whole text, such a byte becomes the caller's stray value.
  EXPECT_EQ(Utf8::Decode("a\xFF\xC3\xA9\xE2\x82", 0x110000),
            std::u32string({U'a', 0x1100FF, 0xE9, 0x1100E2, 0x110082}));
}
