// The string table as a Windows resource: the same texts as strings.inc, byte for byte,
// in Russian.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "platform/string_table.h"

namespace {

struct Text {
  unsigned int id;
  const wchar_t* text;
};

constexpr Text kTexts[] = {
#define M5_STRING(id, text) {id, text},
#include "resources/strings.inc"
#undef M5_STRING
};

TEST(StringResource, HoldsEveryTextOfTheSourceByteForByte) {
  for (const Text& entry : kTexts) {
    const std::wstring loaded = m5::platform::LoadResourceString(entry.id);
    ASSERT_EQ(loaded.size(), std::wcslen(entry.text)) << entry.id;
    EXPECT_EQ(std::wmemcmp(loaded.data(), entry.text, loaded.size()), 0) << entry.id;
  }
}

TEST(StringResource, HoldsNothingElse) {
  int present = 0;
  for (unsigned int id = 0; id <= 0xFFFF; ++id) {
    present += m5::platform::LoadResourceString(id).empty() ? 0 : 1;
  }
  EXPECT_EQ(present, static_cast<int>(std::size(kTexts)));
  // The system would wrap a number above 16 bits onto another text.
  EXPECT_EQ(m5::platform::LoadResourceString(0x10000 + 101), L"");
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
  return TRUE;
}

TEST(StringResource, IsRussianOnly) {
  HMODULE self = GetModuleHandleW(nullptr);
  const auto strings = MAKEINTRESOURCEW(6);  // RT_STRING
  for (const Text& entry : kTexts) {
    // Strings live in blocks of 16, numbered from 1.
    std::vector<WORD> languages;
    EnumResourceLanguagesW(self, strings, MAKEINTRESOURCEW(entry.id / 16 + 1), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)}) << entry.id;
  }
}

}  // namespace
