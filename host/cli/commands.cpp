#include "host/cli/commands.h"

#include "m5_version.h"

namespace m5host {

SessionOptions SessionOptionsOf(const Options& options) {
  return {
      options.pluginPath, options.settingsPath,
      options.command == Command::Import ? SessionPurpose::Import : SessionPurpose::EditSettings};
}

std::string VersionText(const Options& options) {
  return "m5import " M5_VERSION "\nplug-in: " + Describe(FindPlugin(options.pluginPath)) + "\n";
}

}  // namespace m5host
