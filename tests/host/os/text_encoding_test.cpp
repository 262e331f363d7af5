#include <gtest/gtest.h>

#include "host/os/text_encoding.h"

namespace m5host {
namespace {

TEST(TextEncoding, RoundTripsEveryPlane) {
  const std::string texts[] = {"", "For M5", "М5 - Trimble 3600", "°C", "\xF0\x9F\x93\x90"};
  for (const std::string& text : texts) {
    EXPECT_EQ(ToUtf8(FromUtf8(text)), text);
  }
  // A character beyond the basic plane is one wchar_t on Linux, a surrogate pair on Windows.
  EXPECT_EQ(FromUtf8("\xF0\x9F\x93\x90").size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(TextEncoding, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    std::wstring wide;
  };
  const Case cases[] = {
      {"a\xFF"
       "b",
       L"a\uFFFDb"},
      {"\xC0\xAF", L"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},            // a surrogate written in UTF-8
      {"\xE2\x82", L"\uFFFD\uFFFD"},                      // cut short
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FromUtf8(c.utf8), c.wide);
  }
  const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b', 0};
  EXPECT_EQ(ToUtf8(lone),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(TextEncoding, TakesAndFreesSystemStrings) {
  EXPECT_EQ(TakeSystemString(SysAllocString(L"Ошибка")), "Ошибка");
  EXPECT_EQ(TakeSystemString(nullptr), "");
  EXPECT_EQ(DisplayWidth("Длина"), 5u);
}

}  // namespace
}  // namespace m5host
