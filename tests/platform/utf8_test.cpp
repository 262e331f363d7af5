// The plug-in's UTF-8 both ways: file names out, survey text back.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8.h"

namespace {

using m5::platform::Decoding;

TEST(Utf8, FileNamesRoundTrip) {
  const std::wstring names[] = {L"", L"survey.dat", L"Съёмка №1.dat", L"\u00B0C \u20AC",
                                L"plan \U0001F4D0.dat"};
  for (const std::wstring& name : names) {
    std::wstring back;
    EXPECT_EQ(m5::platform::AppendUtf8(m5::platform::ToUtf8(name), back), Decoding::Exact);
    EXPECT_EQ(back, name);
  }
}

// Malformed survey text is covered where files are read (tests/import/reading_test.cpp).
TEST(Utf8, AnUnpairedSurrogateOfAFileNameGoesAsAReplacement) {
  EXPECT_EQ(m5::platform::ToUtf8(std::wstring(L"a") + static_cast<wchar_t>(0xDC00) + L"b"),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
