// Loads the plug-in library the way any host does: find CreatePlugin, create the object,
// check that it is a ground-based measurement import plug-in (kind 2), and hold it.
#pragma once

#include <optional>
#include <string>

#include "host/host_platform.h"
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

// Where the plug-in is looked for when no --plugin is given: beside the program (an
// installed copy), then the library of the build tree the program was built in.
std::string DefaultPluginPath(const std::string& buildTreePath);

}  // namespace m5host
