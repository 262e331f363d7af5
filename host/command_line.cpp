#include "host/command_line.h"

namespace m5host {

namespace {

template <class T>
struct Choice {
  const char* name;
  T value;
};

constexpr Choice<OutputFormat> kFormats[] = {{"text", OutputFormat::Text},
                                             {"json", OutputFormat::Json},
                                             {"csv", OutputFormat::Csv},
                                             {"pnezd", OutputFormat::Pnezd},
                                             {"trace", OutputFormat::Trace}};

constexpr Choice<AngleUnit> kAngleUnits[] = {
    {"gon", AngleUnit::Gon}, {"deg", AngleUnit::Degrees}, {"dms", AngleUnit::Dms}};

template <class T, std::size_t N>
std::optional<T> Lookup(const Choice<T> (&table)[N], const std::string& name) {
  for (const Choice<T>& choice : table) {
    if (name == choice.name) {
      return choice.value;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Options options;
  std::size_t i = 0;
  if (!args.empty() && args[0] == "settings") {
    options.command = Command::Settings;
    ++i;
  }
  bool onlyFiles = false;
  for (; i < args.size(); ++i) {
    std::string arg = args[i];
    if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
      options.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
      continue;
    }
    // "--name=value" and "--name value" both work.
    std::optional<std::string> inlineValue;
    if (const auto equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue = arg.substr(equals + 1);
      arg.resize(equals);
    }
    auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) {
        return inlineValue;
      }
      if (i + 1 < args.size()) {
        return args[++i];
      }
      error = arg + " needs a value";
      return std::nullopt;
    };
    if (arg == "-h" || arg == "--help") {
      options.command = Command::Help;
      return options;
    }
    if (arg == "--version") {
      // Reads on: the version names the plug-in that --plugin would load.
      options.command = Command::Version;
      continue;
    }
    if (options.command == Command::Settings && (arg == "--detect" || arg == "--save")) {
      (arg == "--detect" ? options.detect : options.save) = true;
      continue;
    }
    if (arg == "--check-refs" || arg == "--no-progress") {
      if (inlineValue) {
        error = arg + " takes no value";
        return std::nullopt;
      }
      if (arg == "--check-refs") {
        options.checkReferences = true;
      } else {
        options.progress = false;
      }
      continue;
    }
    const std::optional<std::string> text = value();
    if (!text) {
      return std::nullopt;
    }
    if (arg == "--format" || arg == "-f") {
      const auto format = Lookup(kFormats, *text);
      if (!format) {
        error = "unknown format \"" + *text + "\" (text, json, csv, pnezd, trace)";
        return std::nullopt;
      }
      options.format = *format;
    } else if (arg == "--angles") {
      const auto unit = Lookup(kAngleUnits, *text);
      if (!unit) {
        error = "unknown angle unit \"" + *text + "\" (gon, deg, dms)";
        return std::nullopt;
      }
      options.angles = *unit;
    } else if (arg == "--plugin") {
      options.pluginPath = *text;
    } else if (arg == "--settings") {
      options.settingsPath = *text;
    } else if (arg == "--svg") {
      options.svgPath = *text;
    } else if (arg == "--set" && options.command == Command::Settings) {
      const auto equals = text->find('=');
      if (equals == std::string::npos || equals == 0) {
        error = "--set needs KEY=VALUE, not \"" + *text + "\"";
        return std::nullopt;
      }
      options.edits.emplace_back(text->substr(0, equals), text->substr(equals + 1));
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  if (options.command == Command::Version) {
    return options;
  }
  if (options.command == Command::Import && options.files.empty()) {
    error = "no survey files given";
    return std::nullopt;
  }
  if (options.command == Command::Settings && !options.detect && !options.files.empty()) {
    error = "settings takes no files";
    return std::nullopt;
  }
  if (options.detect && (options.files.empty() || !options.edits.empty())) {
    error = "settings --detect takes files, and no --set";
    return std::nullopt;
  }
  if (options.save && !options.detect) {
    error = "--save goes with --detect";
    return std::nullopt;
  }
  return options;
}

std::string UsageText() {
  return R"(Usage:
  m5import [options] FILE...                 import M5 survey files and show them
  m5import settings [--set KEY=VALUE]...     show or edit the plug-in's settings page
  m5import settings --detect [--save] FILE... propose where names and codes lie in the
                                             files' point records; --save stores it

Import options:
  --format text|json|csv|pnezd|trace  what to write on standard output (default text)
  --angles gon|deg|dms                angle unit of the text report (default gon)
  --svg FILE                          also draw a plan of the points with coordinates
  --check-refs                        treat unbalanced converter references as an error
  --no-progress                       no progress bar on the terminal

Common options:
  --plugin PATH     the plug-in library (default: $M5_PLUGIN, else the one m5import
                    was installed with)
  --settings FILE   the settings file (default: the user's m5import/settings.ini)
  --version         the version of m5import and the plug-in library it would load

Settings keys: PointStart, PointLen, CodeStart, CodeLen (numbers), AngleMode, CodeStr
(a choice id or its text).

Exit status: 0 no error reported, 1 the plug-in reported errors or rejected a setting,
2 usage or loading error.
)";
}

}  // namespace m5host
