// The host's settings store: an INI file with one section, [M5], holding the plug-in's
// integer settings, e.g.
//   [M5]
//   PointStart=1   ; where the name begins
//   CodeStr=UTF-8
// Section and keys match without regard to case; ';' and '#' start a comment; a choice may
// be written as its text on the settings page. The plug-in reads and writes the store
// through ISettingsReader and ISettingsWriter. A file that cannot be read exactly is an
// error, never a silent default.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sdk/host_interfaces.h"

namespace m5host {

// A choice of a settings page item: its id (the stored value) and its text.
using SettingChoice = std::pair<int, std::string>;

// Whether two settings keys (or section names) are the same, without regard to ASCII case,
// as the settings file and settings --set take them.
bool SameKey(std::string_view a, std::string_view b);

// The choice a value names: its id as a whole number, or its text as the settings page
// shows it; nothing when it names none.
std::optional<int> FindChoice(const std::vector<SettingChoice>& choices, std::string_view value);

// Why a value names none of a key's choices, with the choices the page offers:
//   AngleMode offers no choice "7" (0 Абсолютный отсчет, 1 Ориентированное направление)
std::string NoSuchChoice(const std::string& key, std::string_view value,
                         const std::vector<SettingChoice>& choices);

// A setting the plug-in keeps in the store: its key, what it takes when the store has none,
// and the page item that edits it with the item's choices, when the page has one.
struct SettingKey {
  std::string key;
  int defaultValue = 0;
  std::optional<int> item;
  std::vector<SettingChoice> choices;
};

// Learns the plug-in's settings as any host must: by recording what LoadSettings reads. It
// answers every key with a probe value of its own, so that a page filled from these
// settings shows which item edits which key; load the real settings after it.
class SettingsRecorder final : public ISettingsReader {
 public:
  const std::vector<SettingKey>& Keys() const { return m_keys; }
  // The value the key read in this position was answered with.
  static int ProbeValue(std::size_t position);

  int ReadInt(const wchar_t* key, int defaultValue) override;

 private:
  std::vector<SettingKey> m_keys;
};

class SettingsStore final : public ISettingsReader, public ISettingsWriter {
 public:
  // Parses the text of a settings file; on failure sets error (with the line number). Only
  // the keys the plug-in reads are allowed, stored as the plug-in spells them; a value is a
  // whole number, or for a key the page offers choices for, one of them (by id or text),
  // as the page would take it.
  static std::optional<SettingsStore> Parse(std::string_view text,
                                            const std::vector<SettingKey>& known,
                                            std::string& error);
  // The same taking any key of the right form.
  static std::optional<SettingsStore> ParseAnyKey(std::string_view text, std::string& error);
  // The file as it is written: the section, then the keys in the order first written.
  std::string Serialize() const;

  // Keys match without regard to case.
  std::optional<int> Get(const std::string& key) const;
  void Set(const std::string& key, int value);

  int ReadInt(const wchar_t* key, int defaultValue) override;
  void WriteInt(const wchar_t* key, int value) override;

 private:
  // known null: any key.
  static std::optional<SettingsStore> ParseKeys(std::string_view text,
                                                const std::vector<SettingKey>* known,
                                                std::string& error);

  std::vector<std::pair<std::string, int>> m_values;  // in file order
};

// <config folder>/m5import/settings.ini, or nothing when the system has no config folder.
std::optional<std::string> DefaultSettingsPath();

// Whether a settings file may be missing: the default one may (the plug-in's defaults
// hold until the first save), one the user named may not, or a mistyped name would import
// with the defaults.
enum class AbsentFile { MeansDefaults, IsAnError };

// A missing file gives an empty store where absent allows it; an unreadable or malformed
// one, or one with a key the plug-in does not read, an error with the system's reason or
// the line at fault.
std::optional<SettingsStore> LoadSettingsFile(const std::string& path,
                                              const std::vector<SettingKey>& known,
                                              AbsentFile absent, std::string& error);
// The same taking any key of the right form, for a reader that asks for keys by name.
std::optional<SettingsStore> LoadSettingsFile(const std::string& path, AbsentFile absent,
                                              std::string& error);
// Writes through a temporary file, so a failed write leaves the old settings intact.
bool SaveSettingsFile(const SettingsStore& store, const std::string& path, std::string& error);

}  // namespace m5host
