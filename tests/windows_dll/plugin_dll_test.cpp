// The DLL as a host built with Microsoft's compiler meets it: loaded with LoadLibraryW,
// its operations called through the table by position, its texts from its own resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sdk/create_plugin.h"
#include "tests/support/recording_host.h"

namespace {

class PluginDllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring path = m5test::FromUtf8(M5_PLUGIN_FILE);
    m_library = LoadLibraryW(path.c_str());
    ASSERT_NE(m_library, nullptr) << M5_PLUGIN_FILE << ": error " << GetLastError();
    // Through the generic function type, which converts to any other without a warning.
    const auto symbol = reinterpret_cast<void (*)()>(GetProcAddress(m_library, "CreatePlugin"));
    ASSERT_NE(symbol, nullptr);
    m_plugin = reinterpret_cast<CreatePluginFunction>(symbol)();
    ASSERT_NE(m_plugin, nullptr);
  }

  void TearDown() override {
    if (m_plugin != nullptr) {
      EXPECT_TRUE(m_plugin->Release());
    }
    if (m_library != nullptr) {
      FreeLibrary(m_library);
    }
  }

  // The operation at a 1-based position of the plug-in object's table.
  template <class Function>
  Function Slot(int position) const {
    void** table = *reinterpret_cast<void***>(m_plugin);
    return reinterpret_cast<Function>(table[position - 1]);
  }

  HMODULE m_library = nullptr;
  Plugin::IGroundBasedMIP* m_plugin = nullptr;
};

TEST_F(PluginDllTest, ExportsOnlyTheFactoryByName) {
  EXPECT_EQ(GetProcAddress(m_library, "SysAllocString"), nullptr);
  EXPECT_EQ(GetProcAddress(m_library, "_CreatePlugin"), nullptr);
  EXPECT_EQ(GetProcAddress(m_library, "LoadResourceString"), nullptr);
}

TEST_F(PluginDllTest, GetClassIdFollowsTheMicrosoftConvention) {
  // Microsoft's x64 convention for a member returning a struct: this in the first
  // register, the caller's result buffer in the second, the buffer's address returned.
  using GetClassIdSlot = GUID* (*)(void* self, GUID* result);
  GUID id;
  std::memset(&id, 0xCC, sizeof id);
  GUID* returned = Slot<GetClassIdSlot>(5)(m_plugin, &id);
  EXPECT_EQ(returned, &id);
  const unsigned char expected[16] = {0x69, 0x6B, 0x3C, 0xCD, 0x75, 0xB8, 0xD1, 0x4B,
                                      0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35};
  EXPECT_EQ(std::memcmp(&id, expected, sizeof expected), 0);

  // C++ callers keep the by-value form.
  const GUID byValue = m_plugin->GetClassId();
  EXPECT_EQ(std::memcmp(&byValue, expected, sizeof expected), 0);
}

TEST_F(PluginDllTest, NeighbouringSlotsKeepTheirPlaces) {
  using GetInterfaceSlot = void* (*)(void* self, int kind);
  using TextSlot = BSTR (*)(void* self);
  using GetKindSlot = int (*)(void* self);

  void* same = Slot<GetInterfaceSlot>(3)(m_plugin, 2);
  EXPECT_EQ(same, static_cast<void*>(m_plugin));
  EXPECT_FALSE(m_plugin->Release());

  BSTR name = Slot<TextSlot>(4)(m_plugin);
  EXPECT_EQ(std::wstring(name), L"М5 - Trimble 3600");
  SysFreeString(name);
  EXPECT_EQ(Slot<GetKindSlot>(6)(m_plugin), 2);
  BSTR filter = Slot<TextSlot>(10)(m_plugin);
  EXPECT_EQ(std::wstring(filter), L"*.dat;*.txt");
  SysFreeString(filter);
}

TEST_F(PluginDllTest, ShowsTheTextsOfItsOwnStringTable) {
  // This program has no string table, so a text can only come from the DLL's.
  wchar_t buffer[64] = {};
  ASSERT_EQ(LoadStringW(GetModuleHandleW(nullptr), 101, buffer, 64), 0);

  m5test::RecordingSink sink;
  sink.RecordFactoryCalls(false);
  m5test::FileList files({L"Z:\\no such folder\\survey.dat"});
  m_plugin->Import(&files, &sink);
  const std::string trace = sink.Trace();
  EXPECT_NE(trace.find("Не удается открыть файл"), std::string::npos) << trace;
  EXPECT_EQ(sink.OutstandingReferences(), 0);
}

}  // namespace
