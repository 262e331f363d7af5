// What the host's format list learns about the plug-in.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "sdk/create_plugin.h"
#include "sdk/ref.h"

namespace {

using Plugin::IGroundBasedMIP;

// A text result, checked and freed.
std::wstring Take(BSTR text) {
  EXPECT_NE(text, nullptr);
  std::wstring copy = text == nullptr ? L"" : text;
  SysFreeString(text);
  return copy;
}

TEST(Identity, NamesTheFormatWithACyrillicEm) {
  auto plugin = Plugin::Ref<IGroundBasedMIP>::adopt(CreatePlugin());
  const std::wstring name = Take(plugin->GetName());
  ASSERT_EQ(name.size(), 17u);
  EXPECT_EQ(name[0], L'\x041C');
  EXPECT_EQ(name.substr(1), L"5 - Trimble 3600");
  EXPECT_EQ(Take(plugin->GetFormatName()), name);
  EXPECT_EQ(Take(plugin->GetFileFilter()), L"*.dat;*.txt");
  EXPECT_EQ(plugin->GetKind(), 2);
}

TEST(Identity, EveryTextIsANewString) {
  auto plugin = Plugin::Ref<IGroundBasedMIP>::adopt(CreatePlugin());
  using TextOperation = BSTR (IGroundBasedMIP::*)();
  const TextOperation operations[] = {&IGroundBasedMIP::GetName, &IGroundBasedMIP::GetFormatName,
                                      &IGroundBasedMIP::GetFileFilter};
  for (TextOperation get : operations) {
    BSTR first = (plugin.get()->*get)();
    BSTR second = (plugin.get()->*get)();
    EXPECT_NE(first, second);
    SysFreeString(first);
    SysFreeString(second);
  }
}

TEST(Identity, ClassIdLiesInMemoryAsTheHostCompares) {
  auto plugin = Plugin::Ref<IGroundBasedMIP>::adopt(CreatePlugin());
  const GUID id = plugin->GetClassId();
  const std::uint8_t expected[16] = {0x69, 0x6B, 0x3C, 0xCD, 0x75, 0xB8, 0xD1, 0x4B,
                                     0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35};
  static_assert(sizeof(GUID) == sizeof expected, "a GUID is 16 bytes");
  EXPECT_EQ(std::memcmp(&id, expected, sizeof expected), 0);
}

}  // namespace
