#include "host/session.h"

#include "host/commands.h"

namespace m5host {

std::optional<Session> OpenSession(const Options& options) {
  std::optional<LoadedPlugin> plugin = LoadChosenPlugin(options);
  if (!plugin) {
    return std::nullopt;
  }
  SettingsRecorder recorder;
  (*plugin)->LoadSettings(&recorder);

  std::optional<std::string> path =
      options.settingsPath ? options.settingsPath : DefaultSettingsPath();
  std::string error;
  std::optional<SettingsStore> store =
      path ? LoadSettingsFile(*path, recorder.Keys(), error) : SettingsStore();
  if (!store) {
    Complain(error);
    return std::nullopt;
  }
  // The recorder left probe values in the plug-in; the store's settings replace them all.
  (*plugin)->LoadSettings(&*store);
  return Session{std::move(*plugin), recorder.Keys(), std::move(*store), std::move(path)};
}

}  // namespace m5host
