// The host's property list for the tests, the fuzz targets and the benchmark: it answers
// each item's text and choice as the caller sets them, may keep what the page fills it
// with and the choice items it is given, and may write every call as one line.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sdk/host_interfaces.h"
#include "sdk/ref.h"

namespace m5test {

// Written: every call becomes a line of Calls(). Counted: only the counters move, and the
// view allocates nothing of its own while the plug-in calls it, so an allocation failed
// on purpose falls in the plug-in.
enum class CallLog { Written, Counted };

// Forgotten: the answers stay what the caller set. Kept: what the page fills an item with
// becomes its answer, as on a real page that the user has not touched.
enum class FilledItems { Forgotten, Kept };

enum class ChoiceItem { Left, Kept };

// A text as the view writes it in its lines: in quotes, a line break as \n; "null" for none.
std::string Quote(const wchar_t* text);

class PropertyListView : public IPropertyListView {
 public:
  explicit PropertyListView(CallLog log = CallLog::Written,
                            FilledItems filled = FilledItems::Forgotten)
      : m_log(log), m_filled(filled) {}
  // Tests derive views that fail in their own ways, and the fuzz target owns one by pointer.
  virtual ~PropertyListView() = default;

  // The text of each item; an item without one gets everyText, else none.
  std::map<int, std::wstring> texts;
  const wchar_t* everyText = nullptr;
  // The choice of each item; an item without one gets everyChoice, else keeps its preset.
  std::map<int, int> choices;
  std::optional<int> everyChoice;
  // Sees each choice item while the page offers it; the ones it keeps are held in kept.
  std::function<ChoiceItem(Plugin::IComboItem*)> onChoiceItem;
  std::vector<Plugin::Ref<Plugin::IComboItem>> kept;

  int itemsAdded = 0;
  int messages = 0;
  bool previewShown = false;

  const std::vector<std::string>& Calls() const { return m_calls; }
  void ClearCalls() { m_calls.clear(); }

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
  bool Writes() const { return m_log == CallLog::Written; }

  CallLog m_log;
  FilledItems m_filled;
  std::vector<std::string> m_calls;
};

}  // namespace m5test
