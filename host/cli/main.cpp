// m5import: the reference host. Loads the M5 import plug-in at run time and shows what it
// delivers; see UsageText() in command_line.cpp.
#include <iostream>

#include "host/cli/command_line.h"
#include "host/cli/commands.h"
#include "host/os/host_platform.h"
#include "host/session/session.h"

int main(int argc, char** argv) {
  m5host::os::PrepareConsole();
  std::string error;
  const std::optional<m5host::Options> options =
      m5host::ParseCommandLine(m5host::os::Utf8Arguments(argc, argv), error);
  if (!options) {
    std::cerr << "m5import: " << error << "\nRun m5import --help for the options.\n";
    return m5host::kExitUsage;
  }
  switch (options->command) {
    case m5host::Command::Help:
      std::cout << m5host::UsageText(options->usageOf);
      return m5host::kExitOk;
    case m5host::Command::Version:
      std::cout << m5host::VersionText(*options);
      return m5host::kExitOk;
    case m5host::Command::Settings:
    case m5host::Command::Import:
      break;
  }
  m5host::SessionFailure failure = m5host::SessionFailure::Unusable;
  std::optional<m5host::Session> session =
      m5host::OpenSession(m5host::SessionOptionsOf(*options), failure);
  if (!session) {
    return failure == m5host::SessionFailure::PluginFailed ? m5host::kExitReported
                                                           : m5host::kExitUsage;
  }
  if (options->command == m5host::Command::Settings) {
    return m5host::RunSettings(*session, *options);
  }
  return m5host::RunImport(*session, *options);
}
