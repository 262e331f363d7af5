// The two things m5import does. Each returns the process exit status:
// 0 no error reported, 1 the plug-in reported errors (or rejected a setting, or an output
// could not be written), 2 usage or loading errors, 3 a survey file could not be read.
#pragma once

#include <optional>
#include <string>

#include "host/cli/command_line.h"
#include "host/session/plugin_loader.h"
#include "host/session/session.h"

namespace m5host {

// 4: a batch run (a folder, or --output-dir) converted every file, some with warnings.
enum ExitStatus {
  kExitOk = 0,
  kExitReported = 1,
  kExitUsage = 2,
  kExitUnreadableInput = 3,
  kExitWarnings = 4
};

// Both run in a session (session.h) opened for their options.
int RunImport(Session& session, const Options& options);
int RunSettings(Session& session, const Options& options);

// The program's version and the plug-in it would load, for --version.
std::string VersionText(const Options& options);

// The session the options ask for: the plug-in, the settings file, and what it is for.
SessionOptions SessionOptionsOf(const Options& options);

}  // namespace m5host
