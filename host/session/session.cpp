#include "host/session/session.h"

#include <charconv>
#include <iostream>

#include "host/session/property_list_view.h"

namespace m5host {

namespace {

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

}  // namespace

int Session::Value(const std::string& key) const {
  if (const std::optional<int> stored = store.Get(key)) {
    return *stored;
  }
  for (const SettingKey& setting : keys) {
    if (setting.key == key) {
      return setting.defaultValue;
    }
  }
  return 0;
}

std::vector<SettingKey> LearnSettings(Plugin::IGroundBasedMIP& plugin) {
  SettingsRecorder recorder;
  plugin.LoadSettings(&recorder);
  std::vector<SettingKey> keys = recorder.Keys();
  Plugin::IPropertyListViewController* page = plugin.GetSettingsController();
  if (page == nullptr) {
    return keys;
  }
  // A page filled from the probe values shows each key's probe in the item that edits it.
  TerminalPropertyList probe;
  page->Populate(&probe);
  for (const PropertyGroup& group : probe.Groups()) {
    for (const PropertyItem& item : group.items) {
      const std::optional<int> shown = ShownValue(item);
      for (std::size_t k = 0; shown && k < keys.size(); ++k) {
        if (*shown == SettingsRecorder::ProbeValue(k)) {
          keys[k].item = item.id;
          keys[k].choices = item.choices;
        }
      }
    }
  }
  page->Close();
  return keys;
}

PageVerdict JudgeHeldSettings(Plugin::IGroundBasedMIP& plugin, std::ostream& out) {
  Plugin::IPropertyListViewController* page = plugin.GetSettingsController();
  if (page == nullptr) {
    return PageVerdict::Accepted;  // a plug-in without a page judges nothing
  }
  TerminalPropertyList view;
  page->Populate(&view);
  const bool accepted = page->ValidateAll();
  const bool said = ShowMessages(view, out);
  page->Close();
  if (accepted) {
    return PageVerdict::Accepted;
  }
  return said ? PageVerdict::Refused : PageVerdict::Unjudged;
}

void Complain(const std::string& text) {
  std::cerr << "m5import: " << text << '\n';
}

std::optional<LoadedPlugin> LoadChosenPlugin(const std::optional<std::string>& pluginPath) {
  const PluginLocation location = FindPlugin(pluginPath);
  if (location.source == PluginSource::NotFound) {
    Complain("no plug-in: " + Describe(location));
    return std::nullopt;
  }
  std::string error;
  std::optional<LoadedPlugin> plugin = LoadPlugin(location.path, error);
  if (!plugin) {
    Complain(error);
  }
  return plugin;
}

std::optional<Session> OpenSession(const SessionOptions& options, SessionFailure& failure) {
  failure = SessionFailure::Unusable;
  std::optional<LoadedPlugin> plugin = LoadChosenPlugin(options.pluginPath);
  if (!plugin) {
    return std::nullopt;
  }
  std::vector<SettingKey> keys = LearnSettings(*plugin->get());

  std::optional<std::string> path =
      options.settingsPath ? options.settingsPath : DefaultSettingsPath();
  // A file named for an import must be there; the settings command may name the one it is
  // about to write.
  const AbsentFile absent = options.settingsPath && options.purpose == SessionPurpose::Import
                                ? AbsentFile::IsAnError
                                : AbsentFile::MeansDefaults;
  std::string error;
  std::optional<SettingsStore> store =
      path ? LoadSettingsFile(*path, keys, absent, error) : SettingsStore();
  if (!store) {
    Complain(error);
    return std::nullopt;
  }
  // The probe values left in the plug-in are all replaced by the store's settings.
  (*plugin)->LoadSettings(&*store);
  // The settings page lets no bad layout through, and neither may a hand-edited file: a name
  // cut from the wrong columns would quietly rename every point.
  const PageVerdict verdict = options.purpose == SessionPurpose::Import
                                  ? JudgeHeldSettings(*plugin->get(), std::cerr)
                                  : PageVerdict::Accepted;
  if (verdict == PageVerdict::Refused) {
    Complain(path.value_or("the default settings") +
             ": the plug-in refuses these settings; fix them with m5import settings");
    return std::nullopt;
  }
  if (verdict == PageVerdict::Unjudged) {
    Complain("the plug-in failed while judging " + path.value_or("the default settings") +
             " (its memory may have run out); nothing was imported");
    failure = SessionFailure::PluginFailed;
    return std::nullopt;
  }
  return Session{std::move(*plugin), std::move(keys), std::move(*store), std::move(path)};
}

}  // namespace m5host
