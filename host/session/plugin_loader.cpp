#include "host/session/plugin_loader.h"

#include <filesystem>
#include <system_error>
#include <utility>

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

PluginLocation ChoosePlugin(const PluginSearch& search,
                            const std::function<bool(const std::string&)>& exists) {
  if (search.option) {
    return {*search.option, PluginSource::Option};
  }
  if (search.environment && !search.environment->empty()) {
    return {*search.environment, PluginSource::Environment};
  }
  if (search.programFolder.empty()) {
    return {os::PluginFileName(), PluginSource::NotFound};
  }
  // Shown by --version and in complaints, so without a "bin/.." detour.
  const auto inFolder = [&](const std::string& relative) {
    return std::filesystem::u8path(search.programFolder + "/" + relative + "/" +
                                   os::PluginFileName())
        .lexically_normal()
        .u8string();
  };
  std::string beside = inFolder(".");
  if (exists(beside)) {
    return {std::move(beside), PluginSource::BesideProgram};
  }
  std::string installed = inFolder(search.pluginFolder);
  if (exists(installed)) {
    return {std::move(installed), PluginSource::PluginFolder};
  }
  return {std::move(installed), PluginSource::NotFound};
}

PluginLocation FindPlugin(const std::optional<std::string>& option) {
  PluginSearch search;
  search.option = option;
  search.environment = os::EnvironmentVariable("M5_PLUGIN");
  search.programFolder = os::ExecutableFolder();
  search.pluginFolder = M5_PLUGIN_FOLDER_FROM_PROGRAM;
  return ChoosePlugin(search, [](const std::string& path) {
    std::error_code code;
    return std::filesystem::is_regular_file(std::filesystem::u8path(path), code);
  });
}

std::string Describe(const PluginLocation& location) {
  switch (location.source) {
    case PluginSource::Option:
      return location.path + " (from --plugin)";
    case PluginSource::Environment:
      return location.path + " (from M5_PLUGIN)";
    case PluginSource::BesideProgram:
    case PluginSource::PluginFolder:
      return location.path;
    case PluginSource::NotFound:
      break;
  }
  return "none found beside m5import nor at " + location.path +
         "; name one with --plugin or M5_PLUGIN";
}

}  // namespace m5host
