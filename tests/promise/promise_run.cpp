#include "tests/promise/promise_run.h"

#include <gtest/gtest.h>

#include "host/session/settings_store.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/recording_host.h"
#include "tests/support/settings_store.h"

namespace m5test {

ImportSettings SettingsFromIni(const std::filesystem::path& ini) {
  std::string error;
  std::optional<m5host::SettingsStore> store =
      m5host::LoadSettingsFile(ini.string(), m5host::AbsentFile::IsAnError, error);
  EXPECT_TRUE(store.has_value()) << ini << ": " << error;
  ImportSettings settings;
  if (store) {
    settings.Load(&*store);
  }
  return settings;
}

PromiseRun ImportAndCheck(const std::filesystem::path& file, const ImportSettings& settings) {
  RecordingSink sink;
  sink.RecordFactoryCalls(false);
  {
    auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
    m5test::SettingsStore store;
    settings.Save(&store);
    plugin->LoadSettings(&store);
    FileList files({file.wstring()});
    plugin->Import(&files, &sink);
  }
  PromiseRun run;
  run.trace = sink.Calls();
  const auto lines = ReadLinesAsImported(file.wstring(), settings);
  EXPECT_TRUE(lines.has_value()) << file;
  if (lines) {
    run.lost = FindLostPoints(*lines, settings, run.trace);
    const std::vector<LostPoint> blocks = FindUnnamedBlocks(*lines, settings, run.trace);
    run.lost.insert(run.lost.end(), blocks.begin(), blocks.end());
  }
  return run;
}

ImportSettings WithEncoding(ImportSettings settings, int codeStr) {
  settings.CodeStr = codeStr;
  return settings;
}

}  // namespace m5test
