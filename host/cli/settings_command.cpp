#include <filesystem>
#include <iostream>
#include <system_error>

#include "host/cli/commands.h"
#include "host/cli/layout_report.h"
#include "host/cli/suggestion.h"
#include "host/os/text_encoding.h"
#include "host/session/property_list_view.h"
#include "host/session/settings_store.h"

namespace m5host {

namespace {

std::optional<int> ItemOf(const std::vector<SettingKey>& keys, const std::string& key) {
  for (const SettingKey& setting : keys) {
    if (SameKey(key, setting.key)) {
      return setting.item;
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

// Each edit typed into its item and judged by the plug-in, stopping at the first refused.
int ApplyEdits(const Session& session,
               const std::vector<std::pair<std::string, std::string>>& edits,
               Plugin::IPropertyListViewController& page, TerminalPropertyList& view) {
  for (const auto& [key, value] : edits) {
    const std::optional<int> id = ItemOf(session.keys, key);
    PropertyItem* item = id ? view.Find(*id) : nullptr;
    if (item == nullptr) {
      std::vector<std::string> names;
      for (const SettingKey& setting : session.keys) {
        names.push_back(setting.key);
      }
      Complain("unknown setting \"" + key + "\" (" + KeyList(session.keys) + ")" +
               DidYouMean(key, names));
      return kExitUsage;
    }
    if (item->IsChoice()) {
      const std::optional<int> choice = FindChoice(item->choices, value);
      if (!choice) {
        std::vector<std::string> texts;
        for (const SettingChoice& offered : item->choices) {
          texts.push_back(offered.second);
        }
        Complain(NoSuchChoice(key, value, item->choices) + DidYouMean(value, texts));
        return kExitUsage;
      }
      item->selected = *choice;
    } else {
      item->text = value;
    }
    if (!page.ValidateItem(*id)) {
      ShowMessages(view, std::cerr);
      Complain(key + "=" + value + " was rejected");
      return kExitReported;
    }
    ShowMessages(view, std::cerr);
  }
  return kExitOk;
}

// The whole layout judged, then applied and written to the settings file.
int SaveWhenAccepted(Session& session, Plugin::IPropertyListViewController& page,
                     TerminalPropertyList& view) {
  if (!page.ValidateAll()) {
    ShowMessages(view, std::cerr);
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

void RenderPage(const TerminalPropertyList& view, const std::vector<SettingKey>& keys,
                const std::string& path, bool saved) {
  view.Render(std::cout, [&keys](int id) {
    for (const SettingKey& setting : keys) {
      if (setting.item == id) {
        return setting.key;
      }
    }
    return std::string();
  });
  // A file named that is not there yet shows the defaults: say so, lest a mistyped name
  // pass for a file holding them.
  std::error_code ignored;
  const bool there = std::filesystem::exists(std::filesystem::u8path(path), ignored);
  std::cout << "\nSettings file: " << path
            << (saved   ? " (saved)"
                : there ? ""
                        : " (not written yet: the plug-in's defaults)")
            << '\n';
}

}  // namespace

int RunSettings(Session& session, const Options& options) {
  // A detected layout is stored as if typed into the page, so the plug-in judges it.
  std::vector<std::pair<std::string, std::string>> edits = options.edits;
  if (options.detect) {
    const std::optional<DetectedSettings> detected = DetectSettings(options.files, std::cout);
    if (!detected) {
      return kExitReported;
    }
    if (!options.save) {
      std::cout << "To store them: m5import settings --detect --save FILE...\n";
      return kExitOk;
    }
    std::cout << '\n';
    edits = AsEdits(*detected);
  }
  if (!session.settingsPath) {
    Complain("no configuration folder is known; give --settings FILE");
    return kExitUsage;
  }
  Plugin::IPropertyListViewController* page = session.plugin->GetSettingsController();
  if (page == nullptr) {
    Complain("the plug-in has no settings page");
    return kExitUsage;
  }
  // The controller keeps the view until the plug-in goes; the view outlives every call.
  TerminalPropertyList view;
  page->Populate(&view);
  ShowMessages(view, std::cerr);

  int status = ApplyEdits(session, edits, *page, view);
  const bool edited = !edits.empty();
  if (status == kExitOk && edited) {
    status = SaveWhenAccepted(session, *page, view);
  }
  if (status == kExitOk) {
    RenderPage(view, session.keys, *session.settingsPath, edited);
  }
  page->Close();
  return status;
}

}  // namespace m5host
