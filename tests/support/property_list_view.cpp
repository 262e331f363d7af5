#include "tests/support/property_list_view.h"

#include "tests/support/recording_host.h"

namespace m5test {

namespace {

std::string Item(const char* call, int id, bool enabled, const wchar_t* caption) {
  return std::string(call) + " " + std::to_string(id) + (enabled ? " true " : " false ") +
         Quote(caption);
}

}  // namespace

std::string Quote(const wchar_t* text) {
  if (text == nullptr) {
    return "null";
  }
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    out += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return out + "\"";
}

void PropertyListView::AddGroup(const wchar_t* caption) {
  if (Writes()) {
    m_calls.push_back("AddGroup " + Quote(caption));
  }
}

bool PropertyListView::AddTextItem(int id, bool enabled, const wchar_t* caption,
                                   const wchar_t* text) {
  ++itemsAdded;
  if (m_filled == FilledItems::Kept && text != nullptr) {
    texts[id] = text;
  }
  if (Writes()) {
    m_calls.push_back(Item("AddTextItem", id, enabled, caption) + " " + Quote(text));
  }
  return true;
}

bool PropertyListView::AddComboItem(int id, bool enabled, const wchar_t* caption,
                                    Plugin::IEnumerator<Plugin::IComboItem*>* items,
                                    int selectedId) {
  ++itemsAdded;
  if (m_filled == FilledItems::Kept) {
    if (selectedId == -1) {
      choices.erase(id);
    } else {
      choices[id] = selectedId;
    }
  }
  std::string line;
  for (; items->IsValid(); items->Next()) {
    Plugin::IComboItem* item = items->Current();
    BSTR text = item->GetText();
    if (Writes()) {
      line += std::to_string(item->GetId()) + " " + Quote(text) + ";";
    }
    SysFreeString(text);
    if (onChoiceItem && onChoiceItem(item) == ChoiceItem::Kept) {
      kept.push_back(Plugin::Ref<Plugin::IComboItem>::retain(item));
    }
  }
  if (Writes()) {
    m_calls.push_back(Item("AddComboItem", id, enabled, caption) + " [" + line + "] " +
                      std::to_string(selectedId));
  }
  return true;
}

void PropertyListView::GetItemText(int id, BSTR* text) {
  if (Writes()) {
    m_calls.push_back("GetItemText " + std::to_string(id) + (*text == nullptr ? "" : " !preset"));
  }
  const auto found = texts.find(id);
  if (found != texts.end()) {
    *text = SysAllocString(found->second.c_str());
  } else if (everyText != nullptr) {
    *text = SysAllocString(everyText);
  }
}

void PropertyListView::GetComboValue(int id, int* value) {
  if (Writes()) {
    m_calls.push_back("GetComboValue " + std::to_string(id) + (*value == -1 ? "" : " !preset"));
  }
  const auto found = choices.find(id);
  if (found != choices.end()) {
    *value = found->second;
  } else if (everyChoice) {
    *value = *everyChoice;
  }
}

void PropertyListView::ShowMessage(const wchar_t* text, const wchar_t* caption) {
  ++messages;
  if (Writes()) {
    m_calls.push_back("ShowMessage " + Quote(text) + " " + Quote(caption));
  }
}

void PropertyListView::EnablePreview(bool enable) {
  if (Writes()) {
    m_calls.push_back(std::string("EnablePreview ") + (enable ? "true" : "false"));
  }
}

void PropertyListView::SetPreviewText(const wchar_t* text) {
  previewShown = true;
  if (Writes()) {
    m_calls.push_back("SetPreviewText " + Quote(text));
  }
}

}  // namespace m5test
