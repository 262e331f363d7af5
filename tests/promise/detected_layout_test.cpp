// Layouts proposed by m5import settings --detect, and settings files judged by the plug-in's
// own settings page, both against the real plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "host/layout/layout_detection.h"
#include "host/layout/point_records.h"
#include "host/session/session.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/promise/promise_run.h"
#include "tests/support/corpus.h"

namespace {

constexpr const char* kUnnamedPoint = "Не задано имя точки.";

TEST(DetectedLayout, CorpusImportsWithEveryPointNamed) {
  const auto files = m5test::CorpusFiles();
  if (!files) {
    GTEST_SKIP() << "no corpus at " << m5test::CorpusFolder();
  }
  for (const std::filesystem::path& file : *files) {
    std::string error;
    const auto records = m5host::ReadPointRecords(file.string(), error);
    ASSERT_TRUE(records) << error;
    if (records->m5Lines == 0) {
      continue;  // the sample that only looks like M5
    }
    const m5host::LayoutProposal proposal = m5host::ProposeLayout(records->texts);
    ASSERT_TRUE(proposal.layout) << file.filename();
    const m5host::FieldLayout& layout = *proposal.layout;
    ImportSettings settings;
    settings.PointStart = layout.nameStart;
    settings.PointLen = layout.nameLength;
    settings.CodeStart = layout.codeStart;
    settings.CodeLen = layout.codeLength;
    settings.CodeStr = m5host::ChoiceFor(records->kind) == m5host::EncodingChoice::Utf8 ? 1 : 0;
    EXPECT_TRUE(settings.IsValidLayout(settings.PointStart, settings.PointLen, settings.CodeStart,
                                       settings.CodeLen))
        << file.filename();

    const m5test::PromiseRun run = m5test::ImportAndCheck(file, settings);
    const auto unnamed = std::count_if(run.trace.begin(), run.trace.end(), [](const auto& call) {
      return call.find(kUnnamedPoint) != std::string::npos;
    });
    EXPECT_EQ(unnamed, 0) << file.filename();
    EXPECT_TRUE(run.lost.empty()) << file.filename() << " loses:\n" << m5test::Describe(run.lost);
    EXPECT_EQ(m5host::JudgeLayout(records->texts, layout), m5host::LayoutFit::Fits)
        << file.filename();
  }
}

// A hand-written settings file reaches the import only when the settings page would accept
// what it holds.
TEST(DetectedLayout, SettingsFilesJudgedByThePage) {
  const struct {
    const char* ini;
    m5host::PageVerdict verdict;
    const char* shown;
  } cases[] = {
      {"[m5]\ncodestr=UTF-8\ncodelen = 8 ; then the time\n", m5host::PageVerdict::Accepted, ""},
      {"[M5]\nPointStart=16\nPointLen=12\nCodeStart=1\nCodeLen=15\n", m5host::PageVerdict::Accepted,
       ""},
      {"[M5]\nPointStart=20\n", m5host::PageVerdict::Refused,
       "Ошибка: Неверные настройки формата\n"},
      {"[M5]\nPointLen=0\n", m5host::PageVerdict::Refused, "Ошибка: Неверные настройки формата\n"},
  };
  for (const auto& c : cases) {
    auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
    const std::vector<m5host::SettingKey> keys = m5host::LearnSettings(*plugin.get());
    std::string error;
    std::optional<m5host::SettingsStore> store = m5host::SettingsStore::Parse(c.ini, keys, error);
    ASSERT_TRUE(store) << c.ini << ": " << error;
    plugin->LoadSettings(&*store);
    std::ostringstream shown;
    EXPECT_EQ(m5host::JudgeHeldSettings(*plugin.get(), shown), c.verdict) << c.ini;
    EXPECT_EQ(shown.str(), c.shown) << c.ini;
  }
}

TEST(DetectedLayout, ChoicesLearnedFromThePage) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  const std::vector<m5host::SettingKey> keys = m5host::LearnSettings(*plugin.get());
  const auto codeStr =
      std::find_if(keys.begin(), keys.end(), [](const auto& key) { return key.key == "CodeStr"; });
  ASSERT_NE(codeStr, keys.end());
  EXPECT_EQ(codeStr->choices, (std::vector<m5host::SettingChoice>{{0, "Win1251"}, {1, "UTF-8"}}));
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const auto& key) { return key.item; }), 6);
}

}  // namespace
