#include <charconv>
#include <iostream>

#include "host/commands.h"
#include "host/property_list_view.h"
#include "host/settings_store.h"
#include "host/text_encoding.h"

namespace m5host {

namespace {

// A settings key and the id of the page item that edits it.
struct ItemKey {
  int id;
  std::string key;
};

// The value an item shows, when it is a whole number.
std::optional<int> ShownValue(const PropertyItem& item) {
  if (item.IsChoice()) {
    return item.selected;
  }
  int value = 0;
  const char* end = item.text.data() + item.text.size();
  const auto result = std::from_chars(item.text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return value;
}

// Which item edits which key: the page filled from the recorder's probe values shows each
// key's probe in the item that edits it. The real settings are loaded again afterwards.
std::vector<ItemKey> MatchItemsToKeys(Session& session, Plugin::IPropertyListViewController& page) {
  SettingsRecorder recorder;
  session.plugin->LoadSettings(&recorder);
  TerminalPropertyList probe;
  page.Populate(&probe);
  std::vector<ItemKey> items;
  for (const PropertyGroup& group : probe.Groups()) {
    for (const PropertyItem& item : group.items) {
      const std::optional<int> shown = ShownValue(item);
      for (std::size_t k = 0; shown && k < recorder.Keys().size(); ++k) {
        if (*shown == SettingsRecorder::ProbeValue(k)) {
          items.push_back({item.id, recorder.Keys()[k].key});
        }
      }
    }
  }
  session.plugin->LoadSettings(&session.store);
  return items;
}

std::optional<int> ItemOf(const std::vector<ItemKey>& items, const std::string& key) {
  for (const ItemKey& entry : items) {
    if (key == entry.key) {
      return entry.id;
    }
  }
  return std::nullopt;
}

std::string KeyList(const std::vector<SettingKey>& keys) {
  std::string list;
  for (const SettingKey& setting : keys) {
    list += (list.empty() ? "" : ", ") + setting.key;
  }
  return list;
}

// Shows what the plug-in said, as a message box would: caption, then text.
bool ShowMessages(TerminalPropertyList& view) {
  const std::vector<PropertyMessage> messages = view.TakeMessages();
  for (const PropertyMessage& message : messages) {
    std::cerr << message.caption << ": " << message.text << '\n';
  }
  return !messages.empty();
}

// A choice given by its id or by its exact text.
std::optional<int> FindChoice(const PropertyItem& item, const std::string& value) {
  for (const auto& [id, text] : item.choices) {
    if (value == text || value == std::to_string(id)) {
      return id;
    }
  }
  return std::nullopt;
}

// Each edit typed into its item and judged by the plug-in, stopping at the first refused.
int ApplyEdits(const Session& session, const Options& options,
               Plugin::IPropertyListViewController& page, TerminalPropertyList& view,
               const std::vector<ItemKey>& items) {
  for (const auto& [key, value] : options.edits) {
    const std::optional<int> id = ItemOf(items, key);
    PropertyItem* item = id ? view.Find(*id) : nullptr;
    if (item == nullptr) {
      Complain("unknown setting \"" + key + "\" (" + KeyList(session.keys) + ")");
      return kExitUsage;
    }
    if (item->IsChoice()) {
      const std::optional<int> choice = FindChoice(*item, value);
      if (!choice) {
        Complain(key + " offers no choice \"" + value + "\"");
        return kExitUsage;
      }
      item->selected = *choice;
    } else {
      item->text = value;
    }
    if (!page.ValidateItem(*id)) {
      ShowMessages(view);
      Complain(key + "=" + value + " was rejected");
      return kExitReported;
    }
    ShowMessages(view);
  }
  return kExitOk;
}

// The whole layout judged, then applied and written to the settings file.
int SaveWhenAccepted(Session& session, Plugin::IPropertyListViewController& page,
                     TerminalPropertyList& view) {
  if (!page.ValidateAll()) {
    ShowMessages(view);
    Complain("the settings were rejected; nothing was saved");
    return kExitReported;
  }
  page.Apply();
  session.plugin->SaveSettings(&session.store);
  std::string error;
  if (!SaveSettingsFile(session.store, *session.settingsPath, error)) {
    Complain(error);
    return kExitUsage;
  }
  return kExitOk;
}

void RenderPage(const TerminalPropertyList& view, const std::vector<ItemKey>& items,
                const std::string& path, bool saved) {
  view.Render(std::cout, [&items](int id) {
    for (const ItemKey& entry : items) {
      if (entry.id == id) {
        return entry.key;
      }
    }
    return std::string();
  });
  std::cout << "\nSettings file: " << path << (saved ? " (saved)" : "") << '\n';
}

}  // namespace

int RunSettings(Session& session, const Options& options) {
  if (!session.settingsPath) {
    Complain("no configuration folder is known; give --settings FILE");
    return kExitUsage;
  }
  Plugin::IPropertyListViewController* page = session.plugin->GetSettingsController();
  if (page == nullptr) {
    Complain("the plug-in has no settings page");
    return kExitUsage;
  }
  const std::vector<ItemKey> items = MatchItemsToKeys(session, *page);
  // The controller keeps the view until the plug-in goes; the view outlives every call.
  TerminalPropertyList view;
  page->Populate(&view);
  ShowMessages(view);

  int status = ApplyEdits(session, options, *page, view, items);
  const bool edited = !options.edits.empty();
  if (status == kExitOk && edited) {
    status = SaveWhenAccepted(session, *page, view);
  }
  if (status == kExitOk) {
    RenderPage(view, items, *session.settingsPath, edited);
  }
  page->Close();
  return status;
}

}  // namespace m5host
