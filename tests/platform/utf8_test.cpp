// File names encoded for the file system, read back by an independent decoder.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8.h"
#include "tests/support/recording_host.h"

namespace {

TEST(Utf8, FileNamesRoundTrip) {
  const std::wstring names[] = {L"", L"survey.dat", L"Съёмка №1.dat", L"\u00B0C \u20AC",
                                L"plan \U0001F4D0.dat"};
  for (const std::wstring& name : names) {
    EXPECT_EQ(m5test::FromUtf8(m5::platform::ToUtf8(name)), name);
  }
}

// Malformed survey text is covered where files are read (tests/text/reading_test.cpp).
TEST(Utf8, AnUnpairedSurrogateOfAFileNameGoesAsAReplacement) {
  EXPECT_EQ(m5::platform::ToUtf8(std::wstring(L"a") + static_cast<wchar_t>(0xDC00) + L"b"),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
