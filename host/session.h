// What both commands of m5import work with, built once: the loaded plug-in, the settings it
// keeps (learned from it), the store read from the settings file, and where that file lies.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/plugin_loader.h"
#include "host/settings_store.h"

namespace m5host {

struct Session {
  LoadedPlugin plugin;
  std::vector<SettingKey> keys;  // in the order the plug-in reads them
  SettingsStore store;
  // None when the system has no configuration folder and no --settings was given; the
  // store is then empty and the plug-in keeps its defaults.
  std::optional<std::string> settingsPath;
};

// The plug-in loaded and its settings read from the store; nothing, after a complaint, when
// the plug-in or the settings file cannot be loaded.
std::optional<Session> OpenSession(const Options& options);

}  // namespace m5host
