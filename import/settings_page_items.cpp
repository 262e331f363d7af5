#include "import/settings_page_items.h"

#include <cwchar>
#include <memory>
#include <vector>

#include <boost/lexical_cast.hpp>

#include "platform/system_string.h"
#include "sdk/combo_item.h"
#include "sdk/host_interfaces.h"
#include "sdk/ref.h"

namespace m5::settings {

namespace {

struct SystemStringFree {
  void operator()(wchar_t* text) const { SysFreeString(text); }
};
// A text the view handed over; ours to free whatever happens to it.
using OwnedSystemString = std::unique_ptr<wchar_t, SystemStringFree>;

}  // namespace

std::optional<std::int32_t> ParseNumber(const wchar_t* text) {
  if (text == nullptr) {
    return std::nullopt;
  }
  std::int32_t value = 0;
  if (!boost::conversion::try_lexical_convert(text, std::wcslen(text), value)) {
    return std::nullopt;
  }
  return value;
}

std::wstring DecimalText(std::int32_t value) {
  return boost::lexical_cast<std::wstring>(value);
}

std::optional<std::int32_t> ReadNumber(IPropertyListView& view, int id) {
  BSTR raw = nullptr;
  view.GetItemText(id, &raw);
  const OwnedSystemString text(raw);
  return ParseNumber(text.get());
}

std::optional<int> ReadChoice(IPropertyListView& view, int id, ChoiceList choices) {
  int value = -1;
  view.GetComboValue(id, &value);
  for (const Choice& choice : choices) {
    if (choice.id == value) {
      return value;
    }
  }
  return std::nullopt;
}

void AddChoiceItem(IPropertyListView& view, int id, const wchar_t* caption, ChoiceList choices,
                   int selectedId) {
  // Our reference on each item lasts exactly as long as the call; the host keeps an item
  // by adding its own.
  std::vector<Plugin::Ref<Plugin::IComboItem>> owned;
  std::vector<Plugin::IComboItem*> items;
  for (const Choice& choice : choices) {
    owned.push_back(Plugin::Ref<Plugin::IComboItem>::retain(
        new Plugin::Detail::CComboItem(choice.id, choice.text)));
    items.push_back(owned.back().get());
  }
  {
    Plugin::CEnumeratorImpl<std::vector<Plugin::IComboItem*>> cursor(&items);
    view.AddComboItem(id, true, caption, &cursor, selectedId);
  }
  for (Plugin::Ref<Plugin::IComboItem>& item : owned) {
    item.reset();
  }
}

}  // namespace m5::settings
