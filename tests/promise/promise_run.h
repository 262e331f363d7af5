// One file through the whole plug-in with a recording host, and the point records of the
// file that the import lost.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "import/import_settings.h"
#include "tests/support/promise.h"
#include "tests/support/settings_store.h"

namespace m5test {

// The settings record the plug-in would load from an INI file of the reference host; fails
// the test when the file is malformed.
ImportSettings SettingsFromIni(const std::filesystem::path& ini);

struct PromiseRun {
  std::vector<std::string> trace;
  std::vector<LostPoint> lost;
};

// Imports the file through CreatePlugin with these settings and checks the promise on it.
PromiseRun ImportAndCheck(const std::filesystem::path& file, const ImportSettings& settings);

// The same settings read as the other encoding.
ImportSettings WithEncoding(ImportSettings settings, int codeStr);

}  // namespace m5test
