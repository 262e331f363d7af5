#include <gtest/gtest.h>

#include "host/session/settings_store.h"
#include "tests/support/temp_folder.h"

namespace m5host {
namespace {

SettingKey Number(const char* key, int defaultValue, int item) {
  return {key, defaultValue, item, {}};
}

// The keys a plug-in might read, as a session learns them with their page items.
const std::vector<SettingKey> kKnown = {
    Number("PointStart", 1, 1),
    Number("PointLen", 14, 2),
    Number("CodeStart", 15, 3),
    Number("CodeLen", 13, 4),
    {"AngleMode", 1, 0, {{0, "Абсолютный отсчет"}, {1, "Ориентированное направление"}}},
    {"CodeStr", 0, 5, {{0, "Win1251"}, {1, "UTF-8"}}}};

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
      {"[M5]\npointlen=1\nPointLen=2\n", "line 3: PointLen is given twice"},
      // A choice the page does not offer, as settings --set refuses it.
      {"[M5]\nCodeStr=utf8\n", "line 2: CodeStr offers no choice \"utf8\" (0 Win1251, 1 UTF-8)\n"},
      {"[M5]\nAngleMode=7\n",
       "line 2: AngleMode offers no choice \"7\" (0 Абсолютный отсчет, 1 Ориентированное "
       "направление)\n"},
      {"[M5]\nangleMode=-1\n", "line 2: AngleMode offers no choice \"-1\""},
      {"[M5]\nPointLen=UTF-8\n",
       "\"UTF-8\" is not a whole number from -2147483648 to "
       "2147483647\n"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(SettingsStore::Parse(c.text, kKnown, error)) << c.text;
    EXPECT_NE((error + "\n").find(c.reason), std::string::npos) << c.text << " gave: " << error;
  }
}

// Files written by hand: keys and section in any case, comments after a value too, and a
// choice by the text the settings page shows for it.
TEST(SettingsStore, HandWrittenFiles) {
  struct Case {
    const char* text;
    const char* key;
    int value;
  };
  const Case cases[] = {
      {"[m5]\npointlen=12\n", "PointLen", 12},
      {"[ M5 ]\nPOINTLEN = 12\n", "PointLen", 12},
      {"; settings\n# of m5import\n[M5]\n  ; indented\nPointLen=12 ; name length\n", "PointLen",
       12},
      {"[M5]\nPointLen=12# name length\n", "PointLen", 12},
      {"[M5]\nCodeStr=UTF-8\n", "CodeStr", 1},
      {"[M5]\ncodestr = Win1251 ; default\n", "CodeStr", 0},
      {"[M5]\nCodeStr=utf-8\n", "CodeStr", 1},
      {"[M5]\nCodeStr=WIN1251\n", "CodeStr", 0},
      {"[M5]\nCodeStr=1\n", "CodeStr", 1},
      {"[M5]\nAngleMode=Абсолютный отсчет\n", "AngleMode", 0},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto store = SettingsStore::Parse(c.text, kKnown, error);
    ASSERT_TRUE(store) << c.text << ": " << error;
    EXPECT_EQ(store->Get(c.key), c.value) << c.text;
    // Saved again as the plug-in spells the key, with the value it reads.
    EXPECT_EQ(store->Serialize(),
              "[M5]\n" + std::string(c.key) + "=" + std::to_string(c.value) + "\n");
  }
}

TEST(SettingsStore, WritesWhatThePluginSavedAndReadsItBack) {
  SettingsStore store;
  const std::pair<const wchar_t*, int> saved[] = {{L"PointStart", 1}, {L"PointLen", 2},
                                                  {L"CodeStart", 3},  {L"CodeLen", 4},
                                                  {L"AngleMode", 0},  {L"CodeStr", 1}};
  for (const auto& [key, value] : saved) {
    store.WriteInt(key, value);
  }
  store.WriteInt(L"PointLen", -7);
  const std::string text = store.Serialize();
  EXPECT_EQ(text,
            "[M5]\nPointStart=1\nPointLen=-7\nCodeStart=3\nCodeLen=4\nAngleMode=0\nCodeStr=1\n");
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
  auto store = LoadSettingsFile(path, kKnown, AbsentFile::MeansDefaults, error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->ReadInt(L"PointLen", 14), 14);
  store->WriteInt(L"PointLen", 20);
  ASSERT_TRUE(SaveSettingsFile(*store, path, error)) << error;
  auto loaded = LoadSettingsFile(path, kKnown, AbsentFile::IsAnError, error);
  ASSERT_TRUE(loaded) << error;
  EXPECT_EQ(loaded->ReadInt(L"PointLen", 14), 20);
}

// A file the user named that is not there, or not a file, says so with the system's
// reason; an empty file is a store without settings.
TEST(SettingsStore, FilesThatCannotBeRead) {
  const m5test::TempFolder folder;
  const std::string missing = (folder.Path() / "setings.ini").string();
  const std::string directory = folder.Path().string();
  std::string error;
  EXPECT_FALSE(LoadSettingsFile(missing, kKnown, AbsentFile::IsAnError, error));
  EXPECT_EQ(error.rfind(missing + ": cannot read the settings file: ", 0), 0u) << error;
  EXPECT_GT(error.size(), missing.size() + 34) << error;  // the reason follows
  for (const AbsentFile absent : {AbsentFile::MeansDefaults, AbsentFile::IsAnError}) {
    error.clear();
    EXPECT_FALSE(LoadSettingsFile(directory, kKnown, absent, error));
    EXPECT_EQ(error.rfind(directory + ": cannot read the settings file: ", 0), 0u) << error;
  }
  const std::string empty = folder.Write("empty.ini", "").string();
  const auto store = LoadSettingsFile(empty, kKnown, AbsentFile::IsAnError, error);
  ASSERT_TRUE(store) << error;
  EXPECT_EQ(store->Serialize(), "[M5]\n");
}

}  // namespace
}  // namespace m5host
