#include "host/commands.h"

#include <iostream>

namespace m5host {

void Complain(const std::string& text) {
  std::cerr << "m5import: " << text << '\n';
}

std::optional<LoadedPlugin> LoadChosenPlugin(const Options& options,
                                             const std::string& buildTreePlugin) {
  std::string error;
  const std::string path = options.pluginPath.value_or(DefaultPluginPath(buildTreePlugin));
  std::optional<LoadedPlugin> plugin = LoadPlugin(path, error);
  if (!plugin) {
    Complain(error);
  }
  return plugin;
}

}  // namespace m5host
