// The host's settings store: an INI file with one section, [M5], holding the plug-in's
// integer settings, e.g.
//   [M5]
//   PointStart=1
//   PointLen=14
// The plug-in reads and writes it through ISettingsReader and ISettingsWriter. A file
// that cannot be read exactly is an error, never a silent default.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sdk/host_interfaces.h"

namespace m5host {

class SettingsStore final : public ISettingsReader, public ISettingsWriter {
 public:
  // The keys the [M5] section may hold.
  static const std::vector<std::string>& Keys();

  // Parses the text of a settings file; on failure sets error (with the line number).
  static std::optional<SettingsStore> Parse(std::string_view text, std::string& error);
  // The file as it is written: the section, then the keys in the order first written.
  std::string Serialize() const;

  std::optional<int> Get(const std::string& key) const;
  void Set(const std::string& key, int value);

  int ReadInt(const wchar_t* key, int defaultValue) override;
  void WriteInt(const wchar_t* key, int value) override;

 private:
  std::vector<std::pair<std::string, int>> m_values;  // in file order
};

// <config folder>/m5import/settings.ini, or nothing when the system has no config folder.
std::optional<std::string> DefaultSettingsPath();

// A missing file gives an empty store; an unreadable or malformed one an error.
std::optional<SettingsStore> LoadSettingsFile(const std::string& path, std::string& error);
// Writes through a temporary file, so a failed write leaves the old settings intact.
bool SaveSettingsFile(const SettingsStore& store, const std::string& path, std::string& error);

}  // namespace m5host
