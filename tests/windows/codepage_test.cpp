// The system's ANSI code page as the plug-in meets it on a Russian Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <system_error>

#include "platform/codepage.h"
#include "platform/win32/hresult.h"

namespace {

TEST(AnsiCodePage, IsWindows1251) {
  // The tests run under wine with a Russian locale (LC_ALL=ru_RU.UTF-8), as surveyors'
  // machines do; everything else here depends on it.
  ASSERT_EQ(GetACP(), 1251u);
  EXPECT_EQ(m5::platform::AnsiToWide("\xCF\xE5\xF0\xE5\xF5\xEE\xE4 \xB9"
                                     "5"),
            L"Переход №5");
}

TEST(Hresult, IsTheSystemCodeUnderTheWin32Facility) {
  struct Case {
    std::uint32_t code;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0, 0},                             // success passes unchanged
      {ERROR_ACCESS_DENIED, 0x80070005},  //
      {ERROR_NO_UNICODE_TRANSLATION, 0x80070459},
      {0xFFFFFFFF, 0x8007FFFF},  // only the low 16 bits survive
      {0x12345678, 0x80075678},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(static_cast<std::uint32_t>(m5::platform::HresultFromSystemError(c.code)), c.expected)
        << std::hex << c.code;
  }
}

TEST(Hresult, TravelsInTheExceptionOfAFailedCall) {
  SetLastError(ERROR_INVALID_PARAMETER);
  const std::system_error error = m5::platform::LastSystemError("MultiByteToWideChar");
  EXPECT_EQ(static_cast<std::uint32_t>(error.code().value()), 0x80070057u);
  EXPECT_EQ(error.code().category(), std::system_category());
}

TEST(AnsiCodePage, TextBeyondWhatTheSystemConvertsAtOnceThrowsAndLeavesTheLineAlone) {
  // The count is checked before any byte is read, so a short buffer is enough.
  std::wstring line = L"Hz";
  try {
    m5::platform::AppendAnsiToWide("x", static_cast<std::size_t>(INT_MAX) + 1, line);
    FAIL() << "no exception";
  } catch (const std::system_error& error) {
    EXPECT_EQ(static_cast<std::uint32_t>(error.code().value()), 0x80070216u);
  }
  EXPECT_EQ(line, L"Hz");
}

}  // namespace
