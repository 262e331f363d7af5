// The host's settings store holding exactly the keys of a settings record, for a plug-in to
// load them from.
#pragma once

#include <map>
#include <string>

#include "import/import_settings.h"
#include "sdk/host_interfaces.h"

namespace m5test {

class StoredSettings : public ISettingsReader, public ISettingsWriter {
 public:
  explicit StoredSettings(const ImportSettings& settings) { settings.Save(this); }
  int ReadInt(const wchar_t* key, int fallback) override {
    const auto found = m_values.find(key);
    return found == m_values.end() ? fallback : found->second;
  }
  void WriteInt(const wchar_t* key, int value) override { m_values[key] = value; }

 private:
  std::map<std::wstring, int> m_values;
};

}  // namespace m5test
