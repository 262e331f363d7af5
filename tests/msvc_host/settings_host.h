// The host's side of the settings: its store (read by LoadSettings, written by
// SaveSettings) and its property list (filled by Populate, judged by the controller).
#pragma once

#include "checks.h"
#include "plugin_watch.h"
#include "sdk/host_interfaces.h"

namespace msvchost {

enum class SettingKey { PointStart, PointLen, CodeStart, CodeLen, AngleMode, CodeStr, Count };
constexpr int kSettingCount = static_cast<int>(SettingKey::Count);

class SettingsStore final : public ISettingsReader, public ISettingsWriter {
 public:
  // False when the key is not one of the six.
  bool Store(const wchar_t* key, int value);

  // What the plug-in was given for each key by the last LoadSettings, and what it saved.
  int Loaded(SettingKey key) const { return m_loaded[static_cast<int>(key)]; }
  int Saved(SettingKey key) const { return m_saved[static_cast<int>(key)]; }
  bool AllSaved() const;
  void ForgetSaved();

  int ReadInt(const wchar_t* key, int defaultValue) override;
  void WriteInt(const wchar_t* key, int value) override;

 private:
  bool m_stored[kSettingCount] = {};
  int m_values[kSettingCount] = {};
  int m_loaded[kSettingCount] = {};
  bool m_wasSaved[kSettingCount] = {};
  int m_saved[kSettingCount] = {};
};

class PropertyPage final : public IPropertyListView {
 public:
  PropertyPage(Checks& checks, StringLedger& strings) : m_checks(checks), m_strings(strings) {}
  ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // What the user would type into a text item.
  void Edit(int id, const wchar_t* text);
  int Messages() const { return m_messages; }
  int Groups() const { return m_groups; }
  int Items() const { return m_itemCount; }
  bool PreviewShown() const { return m_previewEnabled && m_previewTexts > 0; }
  // Uses the choices the host kept past Populate, then drops them: each must be destroyed by
  // the host's release, its last reference.
  void ReleaseKeptChoices();

  void AddGroup(const wchar_t* caption) override;
  bool AddTextItem(int id, bool enabled, const wchar_t* caption, const wchar_t* text) override;
  bool AddComboItem(int id, bool enabled, const wchar_t* caption,
                    Plugin::IEnumerator<Plugin::IComboItem*>* items, int selectedId) override;
  void GetItemText(int id, BSTR* text) override;
  void GetComboValue(int id, int* value) override;
  void ShowMessage(const wchar_t* text, const wchar_t* caption) override;
  void EnablePreview(bool enable) override;
  void SetPreviewText(const wchar_t* text) override;

 private:
  static constexpr int kMaxItems = 16;
  static constexpr int kMaxText = 16;
  struct Item {
    int id;
    bool combo;
    wchar_t text[kMaxText];
    int selected;
    Plugin::IComboItem* kept;
  };
  Item* Find(int id);
  Item* Add(int id, bool combo);

  Checks& m_checks;
  StringLedger& m_strings;
  Item m_items[kMaxItems] = {};
  int m_itemCount = 0;
  int m_groups = 0;
  int m_messages = 0;
  bool m_previewEnabled = false;
  int m_previewTexts = 0;
};

// Loads the settings, walks the whole settings page through every operation of its
// controller (edits refused and accepted, applied and saved), and leaves the plug-in with
// the settings it was loaded with.
void ExerciseSettings(Plugin::IPlugin& plugin, SettingsStore& store, Checks& checks,
                      StringLedger& strings);

}  // namespace msvchost
