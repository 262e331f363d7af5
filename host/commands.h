// The two things m5import does. Each returns the process exit status:
// 0 no error reported, 1 the plug-in reported errors (or rejected a setting),
// 2 usage or loading errors.
#pragma once

#include <optional>
#include <string>

#include "host/command_line.h"
#include "host/plugin_loader.h"
#include "host/session.h"

namespace m5host {

enum ExitStatus { kExitOk = 0, kExitReported = 1, kExitUsage = 2 };

// Both run in a session (session.h) opened for their options.
int RunImport(Session& session, const Options& options);
int RunSettings(Session& session, const Options& options);

// What both commands share: a complaint on stderr, and the plug-in that --plugin names (or
// the default one), loaded; nothing, after a complaint, when it cannot be. buildTreePlugin:
// the plug-in library of the build tree, used when none lies beside the program and no
// --plugin is given.
void Complain(const std::string& text);
std::optional<LoadedPlugin> LoadChosenPlugin(const Options& options,
                                             const std::string& buildTreePlugin);

}  // namespace m5host
