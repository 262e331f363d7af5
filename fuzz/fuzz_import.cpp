// Whole-file import: the first byte picks the settings, the rest is the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/recording_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const ImportSettings settings = m5fuzz::SettingsFromByte(data[0]);
  const std::wstring path = m5fuzz::WriteScratchFile(data + 1, size - 1);

  m5test::RecordingSink sink;
  {
    auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
    m5test::SettingsStore store = m5fuzz::StoreOf(settings);
    plugin->LoadSettings(&store);
    m5test::FileList files({path});
    plugin->Import(&files, &sink);
  }
  m5fuzz::CheckReferences(sink);
  m5fuzz::CheckEveryPointKept(path, settings, sink);
  return 0;
}
