#include "host/plugin_loader.h"

#include <filesystem>
#include <system_error>

#include "sdk/create_plugin.h"

namespace m5host {

namespace {

// The kind of plug-in this host drives: a file import of ground-based measurements.
constexpr int kGroundBasedImport = 2;

}  // namespace

std::optional<LoadedPlugin> LoadPlugin(const std::string& path, std::string& error) {
  std::string reason;
  std::optional<os::Library> library = os::Library::Open(path, reason);
  if (!library) {
    error = "cannot load the plug-in " + path + ": " + reason;
    return std::nullopt;
  }
  auto create = reinterpret_cast<CreatePluginFunction>(library->Symbol("CreatePlugin"));
  if (create == nullptr) {
    error = path + " is not a plug-in: it exports no CreatePlugin";
    return std::nullopt;
  }
  auto created = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(create());
  if (!created) {
    error = "the plug-in " + path + " could not create its object";
    return std::nullopt;
  }
  const int kind = created->GetKind();
  if (kind < kGroundBasedImport) {
    error = "the plug-in " + path + " is of kind " + std::to_string(kind) +
            ", not a measurement import (kind 2)";
    return std::nullopt;
  }
  // Kind 2 names the import interface; ask for it as a host must, not by cast alone.
  Plugin::IPlugin* asked = created->GetInterface(kGroundBasedImport);
  if (asked == nullptr) {
    error = "the plug-in " + path + " does not answer for kind 2";
    return std::nullopt;
  }
  auto plugin =
      Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(static_cast<Plugin::IGroundBasedMIP*>(asked));
  return LoadedPlugin(std::move(*library), std::move(plugin));
}

std::string DefaultPluginPath(const std::string& buildTreePath) {
  const std::string folder = os::ExecutableFolder();
  if (!folder.empty()) {
    const std::string beside = folder + "/" + os::PluginFileName();
    std::error_code code;
    if (std::filesystem::exists(std::filesystem::u8path(beside), code)) {
      return beside;
    }
  }
  return buildTreePath;
}

}  // namespace m5host
