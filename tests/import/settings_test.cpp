// The format settings: what the host's store sees, which layouts are accepted, and the
// sample record shown for a layout.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "import/import_settings.h"
#include "import/plugin.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/recording_host.h"

namespace {

using m5test::ToUtf8;

// A store holding some keys; every call is written down.
class FakeStore : public ISettingsReader, public ISettingsWriter {
 public:
  explicit FakeStore(std::map<std::wstring, int> stored = {}) : m_stored(std::move(stored)) {}

  int ReadInt(const wchar_t* key, int defaultValue) override {
    m_calls.push_back("ReadInt " + ToUtf8(key) + " " + std::to_string(defaultValue));
    const auto found = m_stored.find(key);
    return found == m_stored.end() ? defaultValue : found->second;
  }
  void WriteInt(const wchar_t* key, int value) override {
    m_calls.push_back("WriteInt " + ToUtf8(key) + " " + std::to_string(value));
  }

  const std::vector<std::string>& Calls() const { return m_calls; }

 private:
  std::map<std::wstring, int> m_stored;
  std::vector<std::string> m_calls;
};

struct Fields {
  std::int32_t pointStart, pointLen, codeStart, codeLen, angleMode, pointIdWidth, codeStr;
  bool operator==(const Fields& o) const {
    return pointStart == o.pointStart && pointLen == o.pointLen && codeStart == o.codeStart &&
           codeLen == o.codeLen && angleMode == o.angleMode && pointIdWidth == o.pointIdWidth &&
           codeStr == o.codeStr;
  }
};

Fields FieldsOf(const ImportSettings& s) {
  return {s.PointStart, s.PointLen, s.CodeStart, s.CodeLen, s.AngleMode, s.PointIdWidth, s.CodeStr};
}

const Fields kDefaults{1, 14, 15, 13, 1, 27, 0};

const std::vector<std::string> kDefaultReads{
    "ReadInt PointStart 1", "ReadInt PointLen 14", "ReadInt CodeStart 15",
    "ReadInt CodeLen 13",   "ReadInt AngleMode 1", "ReadInt CodeStr 0",
};

TEST(Settings, FreshPluginHoldsTheDefaults) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  EXPECT_TRUE(FieldsOf(static_cast<CImportPluginImpl*>(plugin.get())->Settings()) == kDefaults);
}

TEST(Settings, LoadAsksForTheSixKeysInOrderWithTheirDefaults) {
  ImportSettings settings;
  settings.PointStart = 9;  // a value from an earlier load does not become the default
  FakeStore empty;
  settings.Load(&empty);
  EXPECT_EQ(empty.Calls(), kDefaultReads);
  EXPECT_TRUE(FieldsOf(settings) == kDefaults);
}

TEST(Settings, LoadTakesStoredValuesAsTheyAre) {
  ImportSettings settings;
  FakeStore store({{L"PointLen", 20}, {L"CodeStr", 7}, {L"CodeStart", -3}, {L"PointIdWidth", 5}});
  settings.Load(&store);
  EXPECT_EQ(store.Calls(), kDefaultReads);
  EXPECT_TRUE(FieldsOf(settings) == (Fields{1, 20, -3, 13, 1, 27, 7}));
}

TEST(Settings, SaveWritesTheSixKeysInOrderThroughThePlugin) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  FakeStore store({{L"PointStart", 15},
                   {L"PointLen", 13},
                   {L"CodeStart", 1},
                   {L"CodeLen", 14},
                   {L"AngleMode", 0},
                   {L"CodeStr", 1}});
  plugin->LoadSettings(&store);
  FakeStore saved;
  plugin->SaveSettings(&saved);
  EXPECT_EQ(saved.Calls(),
            (std::vector<std::string>{"WriteInt PointStart 15", "WriteInt PointLen 13",
                                      "WriteInt CodeStart 1", "WriteInt CodeLen 14",
                                      "WriteInt AngleMode 0", "WriteInt CodeStr 1"}));
}

TEST(Settings, MissingStoreChangesNothing) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  plugin->LoadSettings(nullptr);
  plugin->SaveSettings(nullptr);
  EXPECT_TRUE(FieldsOf(static_cast<CImportPluginImpl*>(plugin.get())->Settings()) == kDefaults);
}

struct LayoutCase {
  std::int32_t nameStart, nameLen, codeStart, codeLen;
  bool valid;
};

TEST(Settings, LayoutRule) {
  const LayoutCase cases[] = {
      {1, 14, 15, 13, true},   // the defaults fill the whole text
      {15, 13, 1, 14, true},   // code first, name ends at 27
      {5, 3, 10, 2, true},     // gaps around both fields
      {1, 1, 27, 1, true},     // single characters at both edges
      {1, 14, 14, 13, false},  // overlap at 14
      {15, 13, 1, 15, false},  // code first, overlap at 15
      {1, 14, 15, 14, false},  // code ends at 28
      {15, 14, 1, 14, false},  // code first, name ends at 28
      {1, 0, 15, 13, false},   // empty name
      {1, 14, 15, 0, false},   // empty code
      {1, -1, 15, 13, false},
      {5, 3, 5, 3, false},     // equal starts always overlap
      {0, 14, 15, 13, false},  // a start before the first position
      {15, 13, 0, 14, false},
      {-5, 3, 10, 2, false},
      {INT_MIN, 1, 10, 2, false},
      {1, 14, 15, INT_MAX, false},  // ends far past the width, without wrapping round
      {1, 14, INT_MAX, INT_MAX, false},
      {INT_MAX, INT_MAX, 1, 14, false},
      {INT_MAX, 1, 1, 14, false},
      {1, INT_MAX, 15, 13, false},
  };
  const ImportSettings settings;
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(settings.IsValidLayout(c.nameStart, c.nameLen, c.codeStart, c.codeLen), c.valid)
        << c.nameStart << " " << c.nameLen << " " << c.codeStart << " " << c.codeLen;
  }
}

const std::wstring kHead = L"Формат:\nFor M5| Adr 00001| PI1   ";

TEST(Settings, PreviewMarksNameAndCode) {
  const ImportSettings settings;
  EXPECT_EQ(ToUtf8(settings.PreviewText(1, 14, 15, 13)),
            ToUtf8(kHead + L"PPPPPPPPPPPPPPCCCCCCCCCCCCC"));
  EXPECT_EQ(ToUtf8(settings.PreviewText(5, 3, 10, 2)),
            ToUtf8(kHead + L"****PPP**CC****************"));
  EXPECT_EQ(ToUtf8(settings.PreviewText(15, 13, 1, 14)),
            ToUtf8(kHead + L"CCCCCCCCCCCCCCPPPPPPPPPPPPP"));
}

TEST(Settings, PreviewOfAnInvalidLayoutSaysSo) {
  const ImportSettings settings;
  const std::string invalid = ToUtf8(kHead + L"НЕКОРРЕКТНЫЙ ФОРМАТ!!!");
  for (const LayoutCase& c :
       {LayoutCase{1, 14, 14, 13, false}, LayoutCase{0, 3, 10, 2, false},
        LayoutCase{-1, 2, 10, 2, false}, LayoutCase{INT_MAX, INT_MAX, INT_MAX, INT_MAX, false}}) {
    EXPECT_EQ(ToUtf8(settings.PreviewText(c.nameStart, c.nameLen, c.codeStart, c.codeLen)), invalid)
        << c.nameStart << " " << c.nameLen << " " << c.codeStart << " " << c.codeLen;
  }
}

}  // namespace
