#include <iostream>

#include "host/commands.h"
#include "host/plugin_loader.h"
#include "host/property_list_view.h"
#include "host/settings_store.h"
#include "host/text_encoding.h"

namespace m5host {

namespace {

// The settings keys by the id of the page item that edits them.
struct ItemKey {
  int id;
  const char* key;
};
constexpr ItemKey kItemKeys[] = {{0, "AngleMode"}, {5, "CodeStr"},   {1, "PointStart"},
                                 {2, "PointLen"},  {3, "CodeStart"}, {4, "CodeLen"}};

std::optional<int> ItemOf(const std::string& key) {
  for (const ItemKey& entry : kItemKeys) {
    if (key == entry.key) {
      return entry.id;
    }
  }
  return std::nullopt;
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

}  // namespace

int RunSettings(const Options& options) {
  std::optional<LoadedPlugin> plugin = LoadChosenPlugin(options);
  if (!plugin) {
    return kExitUsage;
  }
  std::string error;
  const std::optional<std::string> path =
      options.settingsPath ? options.settingsPath : DefaultSettingsPath();
  if (!path) {
    Complain("no configuration folder is known; give --settings FILE");
    return kExitUsage;
  }
  std::optional<SettingsStore> store = LoadSettingsFile(*path, error);
  if (!store) {
    Complain(error);
    return kExitUsage;
  }
  (*plugin)->LoadSettings(&*store);

  Plugin::IPropertyListViewController* page = (*plugin)->GetSettingsController();
  if (page == nullptr) {
    Complain("the plug-in has no settings page");
    return kExitUsage;
  }
  // The controller keeps the view until the plug-in goes; the view outlives every call.
  TerminalPropertyList view;
  page->Populate(&view);
  ShowMessages(view);

  int status = kExitOk;
  for (const auto& [key, value] : options.edits) {
    const std::optional<int> id = ItemOf(key);
    PropertyItem* item = id ? view.Find(*id) : nullptr;
    if (item == nullptr) {
      Complain("unknown setting \"" + key +
               "\" (PointStart, PointLen, CodeStart, CodeLen, AngleMode, CodeStr)");
      status = kExitUsage;
      break;
    }
    if (item->IsChoice()) {
      const std::optional<int> choice = FindChoice(*item, value);
      if (!choice) {
        Complain(key + " offers no choice \"" + value + "\"");
        status = kExitUsage;
        break;
      }
      item->selected = *choice;
    } else {
      item->text = value;
    }
    if (!page->ValidateItem(*id)) {
      ShowMessages(view);
      Complain(key + "=" + value + " was rejected");
      status = kExitReported;
      break;
    }
    ShowMessages(view);
  }
  if (status == kExitOk && !options.edits.empty()) {
    if (!page->ValidateAll()) {
      ShowMessages(view);
      Complain("the settings were rejected; nothing was saved");
      status = kExitReported;
    } else {
      page->Apply();
      (*plugin)->SaveSettings(&*store);
      if (!SaveSettingsFile(*store, *path, error)) {
        Complain(error);
        status = kExitUsage;
      }
    }
  }
  if (status == kExitOk) {
    view.Render(std::cout, [](int id) {
      for (const ItemKey& entry : kItemKeys) {
        if (entry.id == id) {
          return std::string(entry.key);
        }
      }
      return std::string();
    });
    std::cout << "\nSettings file: " << *path << (options.edits.empty() ? "" : " (saved)") << '\n';
  }
  page->Close();
  return status;
}

}  // namespace m5host
