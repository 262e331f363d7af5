// The portable platform layer: system strings, the code page, the string table.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "platform/guid.h"
#include "platform/string_table.h"
#include "platform/system_string.h"

namespace {

TEST(SystemString, KeepsTheByteCountInFrontAndANulAfter) {
  BSTR text = SysAllocString(L"М5 - Trimble");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 12u);
  EXPECT_EQ(text[12], L'\0');
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - 4, 4);
  EXPECT_EQ(bytes, 12u * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(text), L"М5 - Trimble");
  SysFreeString(text);
}

TEST(SystemString, NullAndEmpty) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(L"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  SysFreeString(empty);
}

TEST(Guid, HasTheWindowsLayout) {
  static_assert(sizeof(GUID) == 16);
  const GUID id = {0xCD3C6B69, 0xB875, 0x4BD1, {0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35}};
  const unsigned char expected[16] = {0x69, 0x6B, 0x3C, 0xCD, 0x75, 0xB8, 0xD1, 0x4B,
                                      0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35};
  EXPECT_EQ(std::memcmp(&id, expected, 16), 0);
}

TEST(Codepage, ReadsWindows1251) {
  struct Case {
    unsigned char byte;
    wchar_t expected;
  };
  const Case cases[] = {
      {'A', L'A'},       {0x00, L'\0'},     {0x7F, L'\x7F'},   {0xC0, L'\x0410'},
      {0xDF, L'\x042F'}, {0xE0, L'\x0430'}, {0xFF, L'\x044F'}, {0xA8, L'\x0401'},
      {0xB8, L'\x0451'}, {0x98, L'\x0098'}, {0xB0, L'\x00B0'}, {0x88, L'\x20AC'},
      {0xB9, L'\x2116'}, {0x80, L'\x0402'}, {0xA0, L'\x00A0'}, {0x1A, L'\x1A'},
  };
  for (const Case& c : cases) {
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(m5::platform::AnsiToWide(byte), std::wstring(1, c.expected))
        << "byte " << static_cast<int>(c.byte);
  }
  EXPECT_EQ(m5::platform::AnsiToWide("\xCA\xF0\xE0\xF1\xED\xEE\xE4\xE0\xF0"), L"Краснодар");
}

TEST(StringTable, HoldsTheTextsByNumber) {
  using m5::platform::LoadResourceString;
  EXPECT_EQ(LoadResourceString(101), L"Не удается открыть файл");
  EXPECT_EQ(LoadResourceString(110), L"Ошибка");
  // Two blanks after the first word of 111 and around the placeholder of 119.
  EXPECT_EQ(LoadResourceString(111),
            L"Неверный  режим работы импорта. Смените его в настройках импорта.");
  EXPECT_EQ(LoadResourceString(119), L"Имя цели  %s  совпадает с именем станции.");
  EXPECT_EQ(LoadResourceString(124), L"Использовать кодировку");
  for (unsigned id : {0u, 100u, 114u, 115u, 118u, 121u, 151u}) {
    EXPECT_EQ(LoadResourceString(id), L"") << id;
  }
  int present = 0;
  for (unsigned id = 100; id <= 151; ++id) {
    present += LoadResourceString(id).empty() ? 0 : 1;
  }
  EXPECT_EQ(present, 46);
}

}  // namespace
