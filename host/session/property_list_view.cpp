#include "host/session/property_list_view.h"

#include "host/os/text_encoding.h"

namespace m5host {

namespace {

std::string Text(const wchar_t* text) {
  return text != nullptr ? ToUtf8(text) : std::string();
}

}  // namespace

PropertyItem* TerminalPropertyList::Find(int id) {
  for (PropertyGroup& group : m_groups) {
    for (PropertyItem& item : group.items) {
      if (item.id == id) {
        return &item;
      }
    }
  }
  return nullptr;
}

PropertyGroup& TerminalPropertyList::LastGroup() {
  if (m_groups.empty()) {
    m_groups.emplace_back();  // items before any group still show
  }
  return m_groups.back();
}

void TerminalPropertyList::AddGroup(const wchar_t* caption) {
  m_groups.push_back({Text(caption), {}});
}

bool TerminalPropertyList::AddTextItem(int id, bool enabled, const wchar_t* caption,
                                       const wchar_t* text) {
  PropertyItem item;
  item.id = id;
  item.enabled = enabled;
  item.caption = Text(caption);
  item.text = Text(text);
  LastGroup().items.push_back(std::move(item));
  return true;
}

bool TerminalPropertyList::AddComboItem(int id, bool enabled, const wchar_t* caption,
                                        Plugin::IEnumerator<Plugin::IComboItem*>* items,
                                        int selectedId) {
  PropertyItem item;
  item.id = id;
  item.enabled = enabled;
  item.caption = Text(caption);
  item.selected = selectedId;
  // The choices live only for this call: copy them instead of keeping references.
  for (; items != nullptr && items->IsValid(); items->Next()) {
    if (Plugin::IComboItem* choice = items->Current()) {
      item.choices.emplace_back(choice->GetId(), TakeSystemString(choice->GetText()));
    }
  }
  LastGroup().items.push_back(std::move(item));
  return true;
}

void TerminalPropertyList::GetItemText(int id, BSTR* text) {
  if (text == nullptr) {
    return;
  }
  if (const PropertyItem* item = Find(id)) {
    *text = SysAllocString(FromUtf8(item->text).c_str());
  }
}

void TerminalPropertyList::GetComboValue(int id, int* value) {
  if (value == nullptr) {
    return;
  }
  if (const PropertyItem* item = Find(id); item != nullptr && item->IsChoice()) {
    *value = item->selected;
  }
}

void TerminalPropertyList::ShowMessage(const wchar_t* text, const wchar_t* caption) {
  m_messages.push_back({Text(caption), Text(text)});
}

void TerminalPropertyList::SetPreviewText(const wchar_t* text) {
  m_preview = Text(text);
}

void TerminalPropertyList::Render(std::ostream& out,
                                  const std::function<std::string(int)>& label) const {
  for (const PropertyGroup& group : m_groups) {
    out << group.caption << '\n';
    for (const PropertyItem& item : group.items) {
      out << "  " << item.caption;
      if (const std::string name = label ? label(item.id) : std::string(); !name.empty()) {
        out << " [" << name << "]";
      }
      if (!item.enabled) {
        out << " (read-only)";
      }
      if (!item.IsChoice()) {
        out << ": " << item.text << '\n';
        continue;
      }
      out << '\n';
      for (const auto& [choiceId, choiceText] : item.choices) {
        out << "    " << (choiceId == item.selected ? "(*) " : "( ) ") << choiceId << ' '
            << choiceText << '\n';
      }
    }
  }
  if (m_previewEnabled) {
    out << '\n';
    std::string::size_type start = 0;
    // The preview is several lines of fixed-width text; indent each.
    while (start <= m_preview.size()) {
      const auto end = m_preview.find('\n', start);
      out << "  | " << m_preview.substr(start, end - start) << '\n';
      if (end == std::string::npos) {
        break;
      }
      start = end + 1;
    }
  }
}

bool ShowMessages(TerminalPropertyList& view, std::ostream& out) {
  const std::vector<PropertyMessage> messages = view.TakeMessages();
  for (const PropertyMessage& message : messages) {
    out << message.caption << ": " << message.text << '\n';
  }
  return !messages.empty();
}

}  // namespace m5host
