// A terminal property list: keeps what the plug-in's settings page puts into it (groups,
// text items, choice items, the preview) so that the command line can edit the items and
// print the page.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "sdk/host_interfaces.h"

namespace m5host {

struct PropertyItem {
  int id = 0;
  bool enabled = true;
  std::string caption;
  std::string text;                                  // text items
  std::vector<std::pair<int, std::string>> choices;  // choice items: (id, text)
  int selected = -1;
  bool IsChoice() const { return !choices.empty(); }
};

struct PropertyGroup {
  std::string caption;
  std::vector<PropertyItem> items;
};

struct PropertyMessage {
  std::string caption;
  std::string text;
};

class TerminalPropertyList final : public IPropertyListView {
 public:
  const std::vector<PropertyGroup>& Groups() const { return m_groups; }
  PropertyItem* Find(int id);
  const std::string& Preview() const { return m_preview; }
  // Messages shown since the last call, which empties the list.
  std::vector<PropertyMessage> TakeMessages() { return std::exchange(m_messages, {}); }

  // The page as a terminal shows it: groups, items with their values, each choice with
  // the selected one marked, then the preview. label names an item by its id, e.g. by
  // the settings key to give on the command line.
  void Render(std::ostream& out, const std::function<std::string(int)>& label = {}) const;

  void AddGroup(const wchar_t* caption) override;
  bool AddTextItem(int id, bool enabled, const wchar_t* caption, const wchar_t* text) override;
  bool AddComboItem(int id, bool enabled, const wchar_t* caption,
                    Plugin::IEnumerator<Plugin::IComboItem*>* items, int selectedId) override;
  void GetItemText(int id, BSTR* text) override;
  void GetComboValue(int id, int* value) override;
  void ShowMessage(const wchar_t* text, const wchar_t* caption) override;
  void EnablePreview(bool enable) override { m_previewEnabled = enable; }
  void SetPreviewText(const wchar_t* text) override;

 private:
  PropertyGroup& LastGroup();

  std::vector<PropertyGroup> m_groups;
  std::vector<PropertyMessage> m_messages;
  bool m_previewEnabled = false;
  std::string m_preview;
};

// Shows what the plug-in said since the last call, as a message box would: "caption: text"
// a line. Whether it said anything.
bool ShowMessages(TerminalPropertyList& view, std::ostream& out);

}  // namespace m5host
