// Loads the plug-in library the way any host does: find CreatePlugin, create the object,
// check that it is a ground-based measurement import plug-in (kind 2), and hold it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/os/host_platform.h"
#include "sdk/plugin_interfaces.h"
#include "sdk/ref.h"

namespace m5host {

class LoadedPlugin {
 public:
  LoadedPlugin(os::Library library, Plugin::Ref<Plugin::IGroundBasedMIP> plugin)
      : m_library(std::move(library)), m_plugin(std::move(plugin)) {}

  Plugin::IGroundBasedMIP* operator->() const { return m_plugin.get(); }
  Plugin::IGroundBasedMIP* get() const { return m_plugin.get(); }

 private:
  // Declared first so that the object is released before its code is unloaded.
  os::Library m_library;
  Plugin::Ref<Plugin::IGroundBasedMIP> m_plugin;
};

// The plug-in at path, or nothing with error set.
std::optional<LoadedPlugin> LoadPlugin(const std::string& path, std::string& error);

// Where the plug-in library came from. The build tree and Windows keep it beside the
// program; an installation keeps it in its plug-in folder, found from the program's own
// folder, so an installed tree can be moved as a whole.
enum class PluginSource { Option, Environment, BesideProgram, PluginFolder, NotFound };

struct PluginSearch {
  std::optional<std::string> option;       // --plugin
  std::optional<std::string> environment;  // M5_PLUGIN
  std::string programFolder;               // empty when unknown
  std::string pluginFolder;                // the installed plug-in folder, from programFolder
};

struct PluginLocation {
  std::string path;  // with NotFound, the last place looked at
  PluginSource source = PluginSource::NotFound;
};

// --plugin, else M5_PLUGIN, else the library beside the program, else the one in the
// plug-in folder, whichever exists first.
PluginLocation ChoosePlugin(const PluginSearch& search,
                            const std::function<bool(const std::string&)>& exists);

// The same for this process: its environment, its folder and the file system.
PluginLocation FindPlugin(const std::optional<std::string>& option);

// "/path (from M5_PLUGIN)" and the like, for --version and complaints.
std::string Describe(const PluginLocation& location);

}  // namespace m5host
