// The command line of m5import.
//   m5import [options] FILE...          import the files and show the survey
//   m5import settings [--set KEY=VALUE]... show or edit the plug-in's settings page
//   m5import settings --detect [--save] FILE... propose the name/code layout of the files
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace m5host {

enum class Command { Import, Settings, Help, Version };
enum class OutputFormat { Text, Json, Csv, Pnezd, Trace };
enum class AngleUnit { Gon, Degrees, Dms };

struct Options {
  Command command = Command::Import;
  std::vector<std::string> files;
  OutputFormat format = OutputFormat::Text;
  AngleUnit angles = AngleUnit::Gon;
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

std::string UsageText();

}  // namespace m5host
