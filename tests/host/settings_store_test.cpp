#include <gtest/gtest.h>

#include "host/settings_store.h"
#include "tests/support/temp_folder.h"

namespace m5host {
namespace {

// The keys a plug-in might read, as a recorder learns them.
const std::vector<SettingKey> kKnown = {{"PointStart", 1}, {"PointLen", 14}, {"CodeStart", 15},
                                        {"CodeLen", 13},   {"AngleMode", 1}, {"CodeStr", 0}};

TEST(SettingsStore, ReadsTheM5Section) {
  std::string error;
  const auto store = SettingsStore::Parse(
      "\xEF\xBB\xBF; comment\r\n[M5]\r\n  PointLen = 12 \r\n# another\r\nAngleMode=0\r\n"
      "CodeStart=-2147483648\n",
      kKnown, error);
  ASSERT_TRUE(store) << error;
  SettingsStore copy = *store;
  EXPECT_EQ(copy.ReadInt(L"PointLen", 14), 12);
  EXPECT_EQ(copy.ReadInt(L"AngleMode", 1), 0);
  EXPECT_EQ(copy.ReadInt(L"CodeStart", 15), -2147483647 - 1);
  EXPECT_EQ(copy.ReadInt(L"CodeLen", 13), 13);  // absent: the plug-in's default
}

TEST(SettingsStore, MalformedFilesAreErrorsWithTheLine) {
  struct Case {
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {"PointLen=12\n", "line 1: PointLen stands outside the section [M5]"},
      {"[M5]\nPointLen\n", "line 2: expected key=value"},
      {"[M5]\nPointLen=abc\n", "line 2: PointLen: \"abc\" is not a whole number"},
      {"[M5]\nPointLen=\n", "line 2: PointLen: \"\" is not"},
      {"[M5]\nPointLen=1.5\n", "is not a whole number"},
      {"[M5]\nPointLen=2147483648\n", "is not a whole number"},
      {"[M5]\nPointLen=+-1\n", "is not a whole number"},
      {"[M5]\nPointLen=1 2\n", "is not a whole number"},
      {"[M5]\nPointLength=12\n", "line 2: unknown key \"PointLength\""},
      {"[M5]\nPointLen=1\nPointLen=2\n", "line 3: PointLen is given twice"},
      {"[Other]\n", "line 1: only the section [M5] is known"},
      {"[M5\n", "line 1: only the section [M5] is known"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(SettingsStore::Parse(c.text, kKnown, error)) << c.text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.text << " gave: " << error;
  }
}

TEST(SettingsStore, WritesWhatThePluginSavedAndReadsItBack) {
  SettingsStore store;
  const wchar_t* keys[] = {L"PointStart", L"PointLen",  L"CodeStart",
                           L"CodeLen",    L"AngleMode", L"CodeStr"};
  int value = 1;
  for (const wchar_t* key : keys) {
    store.WriteInt(key, value++);
  }
  store.WriteInt(L"PointLen", -7);
  const std::string text = store.Serialize();
  EXPECT_EQ(text,
            "[M5]\nPointStart=1\nPointLen=-7\nCodeStart=3\nCodeLen=4\nAngleMode=5\nCodeStr=6\n");
  std::string error;
  const auto again = SettingsStore::Parse(text, kKnown, error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(again->Serialize(), text);
}

TEST(SettingsRecorder, LearnsKeysAndDefaultsInTheOrderRead) {
  SettingsRecorder recorder;
  const int first = recorder.ReadInt(L"PointLen", 14);
  const int second = recorder.ReadInt(L"CodeStr", 0);
  EXPECT_EQ(recorder.ReadInt(nullptr, 7), 7);
  ASSERT_EQ(recorder.Keys().size(), 2u);
  EXPECT_EQ(recorder.Keys()[1].key, "CodeStr");
  EXPECT_EQ(recorder.Keys()[0].defaultValue, 14);
  // Distinct probes, none a value a settings page shows of its own accord.
  EXPECT_EQ(first, SettingsRecorder::ProbeValue(0));
  EXPECT_NE(first, second);
  EXPECT_GT(first, 1000);
}

TEST(SettingsStore, MissingFileIsEmptyAndSavedFileLoads) {
  const m5test::TempFolder folder;
  const std::string path = (folder.Path() / "nested" / "settings.ini").string();
  std::string error;
  auto store = LoadSettingsFile(path, kKnown, error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->ReadInt(L"PointLen", 14), 14);
  store->WriteInt(L"PointLen", 20);
  ASSERT_TRUE(SaveSettingsFile(*store, path, error)) << error;
  auto loaded = LoadSettingsFile(path, kKnown, error);
  ASSERT_TRUE(loaded) << error;
  EXPECT_EQ(loaded->ReadInt(L"PointLen", 14), 20);
}

}  // namespace
}  // namespace m5host
