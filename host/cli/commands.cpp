#include "host/cli/commands.h"

#include <iostream>

#include "m5_version.h"

namespace m5host {

void Complain(const std::string& text) {
  std::cerr << "m5import: " << text << '\n';
}

std::optional<LoadedPlugin> LoadChosenPlugin(const Options& options) {
  const PluginLocation location = FindPlugin(options.pluginPath);
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

std::string VersionText(const Options& options) {
  return "m5import " M5_VERSION "\nplug-in: " + Describe(FindPlugin(options.pluginPath)) + "\n";
}

}  // namespace m5host
