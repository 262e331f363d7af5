#include "host/session/settings_store.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "host/os/host_platform.h"
#include "host/os/text_encoding.h"

namespace m5host {

namespace {

constexpr std::string_view kSection = "M5";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::optional<int> ParseInt(std::string_view text) {
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') {
      return std::nullopt;
    }
  }
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// The text before a ';' or '#' comment; no value holds either character.
std::string_view WithoutComment(std::string_view text) {
  return text.substr(0, text.find_first_of(";#"));
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::u8path(utf8);
}

}  // namespace

std::optional<int> FindChoice(const std::vector<SettingChoice>& choices, std::string_view value) {
  const std::optional<int> number = ParseInt(value);
  for (const auto& [id, text] : choices) {
    // A choice's text in any letter case: utf-8 is UTF-8.
    if (SameKey(value, text) || number == id) {
      return id;
    }
  }
  return std::nullopt;
}

std::string NoSuchChoice(const std::string& key, std::string_view value,
                         const std::vector<SettingChoice>& choices) {
  std::string list;
  for (const auto& [id, text] : choices) {
    list += (list.empty() ? "" : ", ") + std::to_string(id) + " " + text;
  }
  return key + " offers no choice \"" + std::string(value) + "\" (" + list + ")";
}

bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int SettingsRecorder::ProbeValue(std::size_t position) {
  // Far from any value a page shows of its own accord.
  constexpr int kFirstProbe = 730001;
  return kFirstProbe + static_cast<int>(position);
}

int SettingsRecorder::ReadInt(const wchar_t* key, int defaultValue) {
  if (key == nullptr) {
    return defaultValue;
  }
  m_keys.push_back({ToUtf8(key), defaultValue, std::nullopt, {}});
  return ProbeValue(m_keys.size() - 1);
}

std::optional<SettingsStore> SettingsStore::Parse(std::string_view text,
                                                  const std::vector<SettingKey>& known,
                                                  std::string& error) {
  return ParseKeys(text, &known, error);
}

std::optional<SettingsStore> SettingsStore::ParseAnyKey(std::string_view text, std::string& error) {
  return ParseKeys(text, nullptr, error);
}

std::optional<SettingsStore> SettingsStore::ParseKeys(std::string_view text,
                                                      const std::vector<SettingKey>* known,
                                                      std::string& error) {
  SettingsStore store;
  bool inSection = false;
  int number = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);  // editors on Windows like to add a byte-order mark
  }
  std::size_t position = 0;
  while (position < text.size()) {
    const auto end = text.find('\n', position);
    const std::string_view raw =
        text.substr(position, end == std::string_view::npos ? end : end - position);
    position = end == std::string_view::npos ? text.size() : end + 1;
    ++number;
    const std::string_view line = Trim(WithoutComment(raw));
    const std::string where = "line " + std::to_string(number) + ": ";
    if (line.empty()) {
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']' || !SameKey(Trim(line.substr(1, line.size() - 2)), kSection)) {
        error = where + "only the section [M5] is known, not " + std::string(line);
        return std::nullopt;
      }
      inSection = true;
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
      error = where + "expected key=value, found \"" + std::string(line) + "\"";
      return std::nullopt;
    }
    std::string key(Trim(line.substr(0, equals)));
    const std::string_view valueText = Trim(line.substr(equals + 1));
    if (!inSection) {
      error = where + key + " stands outside the section [M5]";
      return std::nullopt;
    }
    const SettingKey* setting = nullptr;
    if (known != nullptr) {
      const auto found =
          std::find_if(known->begin(), known->end(),
                       [&key](const SettingKey& entry) { return SameKey(entry.key, key); });
      if (found == known->end()) {
        error = where + "unknown key \"" + key + "\"";
        return std::nullopt;
      }
      setting = &*found;
      key = setting->key;
    }
    if (store.Get(key)) {
      error = where + key + " is given twice";
      return std::nullopt;
    }
    // A key the page offers choices for takes only those: the page has no other to show.
    const bool choice = setting != nullptr && !setting->choices.empty();
    const std::optional<int> value =
        choice ? FindChoice(setting->choices, valueText) : ParseInt(valueText);
    if (!value && choice) {
      error = where + NoSuchChoice(key, valueText, setting->choices);
      return std::nullopt;
    }
    if (!value) {
      error = where + key + ": \"" + std::string(valueText) +
              "\" is not a whole number from -2147483648 to 2147483647";
      return std::nullopt;
    }
    store.m_values.emplace_back(key, *value);
  }
  return store;
}

std::string SettingsStore::Serialize() const {
  std::ostringstream out;
  out << "[M5]\n";
  for (const auto& [key, value] : m_values) {
    out << key << '=' << value << '\n';
  }
  return out.str();
}

std::optional<int> SettingsStore::Get(const std::string& key) const {
  for (const auto& [name, value] : m_values) {
    if (SameKey(name, key)) {
      return value;
    }
  }
  return std::nullopt;
}

void SettingsStore::Set(const std::string& key, int value) {
  for (auto& [name, stored] : m_values) {
    if (SameKey(name, key)) {
      stored = value;
      return;
    }
  }
  m_values.emplace_back(key, value);
}

int SettingsStore::ReadInt(const wchar_t* key, int defaultValue) {
  if (key == nullptr) {
    return defaultValue;
  }
  return Get(ToUtf8(key)).value_or(defaultValue);
}

void SettingsStore::WriteInt(const wchar_t* key, int value) {
  if (key != nullptr) {
    Set(ToUtf8(key), value);
  }
}

std::optional<std::string> DefaultSettingsPath() {
  const std::optional<std::string> folder = os::UserConfigFolder();
  if (!folder) {
    return std::nullopt;
  }
  return *folder + "/m5import/settings.ini";
}

namespace {

std::optional<SettingsStore> LoadFile(const std::string& path, const std::vector<SettingKey>* known,
                                      AbsentFile absent, std::string& error) {
  if (const std::optional<std::string> reason = os::UnreadableReason(path)) {
    std::error_code code;
    const bool missing = !std::filesystem::exists(PathOf(path), code) && !code;
    if (missing && absent == AbsentFile::MeansDefaults) {
      return SettingsStore();
    }
    error = path + ": cannot read the settings file: " + *reason;
    return std::nullopt;
  }
  std::ifstream in(PathOf(path), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in) {
    error = path + ": cannot read the settings file";
    return std::nullopt;
  }
  std::string detail;
  std::optional<SettingsStore> store = known != nullptr ? SettingsStore::Parse(text, *known, detail)
                                                        : SettingsStore::ParseAnyKey(text, detail);
  if (!store) {
    error = path + ": " + detail;
  }
  return store;
}

}  // namespace

std::optional<SettingsStore> LoadSettingsFile(const std::string& path,
                                              const std::vector<SettingKey>& known,
                                              AbsentFile absent, std::string& error) {
  return LoadFile(path, &known, absent, error);
}

std::optional<SettingsStore> LoadSettingsFile(const std::string& path, AbsentFile absent,
                                              std::string& error) {
  return LoadFile(path, nullptr, absent, error);
}

bool SaveSettingsFile(const SettingsStore& store, const std::string& path, std::string& error) {
  const std::filesystem::path target = PathOf(path);
  std::error_code code;
  if (target.has_parent_path()) {
    std::filesystem::create_directories(target.parent_path(), code);
  }
  std::filesystem::path temporary = target;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << store.Serialize();
    if (!out.flush()) {
      error = path + ": cannot write the settings file";
      return false;
    }
  }
  std::filesystem::rename(temporary, target, code);
  if (code) {
    std::filesystem::remove(temporary, code);
    error = path + ": cannot replace the settings file";
    return false;
  }
  return true;
}

}  // namespace m5host
