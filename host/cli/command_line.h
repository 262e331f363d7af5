// The command line of m5import.
//   m5import [options] FILE...          import the files and show the survey ("-": stdin)
//   m5import settings [--set KEY=VALUE]... show or edit the plug-in's settings page
//   m5import settings --detect [--save] FILE... propose the name/code layout of the files
// Options are declared once (command_line.cpp) and parsed by CLI11, which also writes --help.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/outputs/output_options.h"
#include "host/outputs/output_registry.h"

namespace m5host {

enum class Command { Import, Settings, Help, Version };

struct Options {
  Command command = Command::Import;
  Command usageOf = Command::Import;  // --help: the command whose usage is asked for
  std::vector<std::string> files;
  const OutputFormat* format = &DefaultOutputFormat();  // --format, a row of the registry
  OutputOptions output;
  std::optional<std::string> outputPath;                   // -o, else standard output ("-")
  std::optional<std::string> outputDir;                    // --output-dir: one output per file
  std::optional<std::string> pluginPath;                   // --plugin
  std::optional<std::string> settingsPath;                 // --settings
  std::optional<std::string> svgPath;                      // --svg
  bool checkReferences = false;                            // --check-refs
  bool progress = true;                                    // --no-progress turns the bar off
  bool detect = false;                                     // settings --detect FILE...
  bool save = false;                                       // settings --detect --save
  std::vector<std::pair<std::string, std::string>> edits;  // settings --set KEY=VALUE
};

// The options, or nothing with error set to a one-line reason.
std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

// The usage of a command, as --help shows it, with the exit statuses.
std::string UsageText(Command command = Command::Import);

}  // namespace m5host
