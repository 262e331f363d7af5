#include "host/command_line.h"

#include <cctype>

namespace m5host {

namespace {

template <class T>
struct Choice {
  const char* name;
  T value;
};

constexpr Choice<OutputFormat> kFormats[] = {
    {"text", OutputFormat::Text},       {"json", OutputFormat::Json},
    {"csv", OutputFormat::Csv},         {"pnezd", OutputFormat::Pnezd},
    {"dxf", OutputFormat::Dxf},         {"landxml", OutputFormat::LandXml},
    {"geojson", OutputFormat::GeoJson}, {"trace", OutputFormat::Trace}};

constexpr Choice<AngleUnit> kAngleUnits[] = {{"gon", AngleUnit::Gon},
                                             {"deg", AngleUnit::Degrees},
                                             {"dms", AngleUnit::Dms},
                                             {"rad", AngleUnit::Radians}};

constexpr Choice<LengthUnit> kLengthUnits[] = {
    {"m", LengthUnit::Metre}, {"ft", LengthUnit::Foot}, {"usft", LengthUnit::UsSurveyFoot}};

// Characters that cannot be mistaken for part of a number, a name or a quoted field.
constexpr Choice<char> kDelimiters[] = {{",", ','},    {";", ';'},   {"|", '|'},
                                        {"tab", '\t'}, {"\t", '\t'}, {"\\t", '\t'}};

// The formats each output option serves; anything else is a usage error.
struct OptionScope {
  const char* option;
  const char* formats;
};
constexpr OptionScope kOptionScopes[] = {
    {"--units", "text json csv pnezd dxf landxml geojson"},
    {"--angles", "text json csv landxml"},
    {"--delimiter", "csv pnezd"},
    {"--no-header", "csv"},
    {"--bom", "csv pnezd"},
    {"--crs", "geojson landxml"},
};

const char* FormatName(OutputFormat format) {
  for (const Choice<OutputFormat>& choice : kFormats) {
    if (choice.value == format) {
      return choice.name;
    }
  }
  return "";
}

// The reason an output option does not fit the chosen output, or empty when it does.
std::string OutOfScope(const std::string& option, const Options& options) {
  for (const OptionScope& scope : kOptionScopes) {
    if (option != scope.option) {
      continue;
    }
    const std::string formats = std::string(" ") + scope.formats + " ";
    if (formats.find(std::string(" ") + FormatName(options.format) + " ") != std::string::npos) {
      return std::string();
    }
    if (option == "--units" && options.svgPath) {
      return std::string();  // the plan's scale bar
    }
    std::string list = scope.formats;
    for (std::size_t at = list.find(' '); at != std::string::npos; at = list.find(' ', at + 2)) {
      list.replace(at, 1, ", ");
    }
    return option + " does not apply to --format " + FormatName(options.format) + " (only to " +
           list + ")";
  }
  return std::string();
}

// "EPSG:N" in any letter case, N a whole positive number.
std::optional<std::string> ParseCrs(const std::string& text) {
  constexpr std::size_t kPrefix = 5;
  if (text.size() <= kPrefix || text.size() > kPrefix + 9) {
    return std::nullopt;
  }
  std::string prefix = text.substr(0, kPrefix);
  for (char& c : prefix) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const std::string digits = text.substr(kPrefix);
  if (prefix != "EPSG:" || digits[0] == '0' ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return "EPSG:" + digits;
}

template <class T, std::size_t N>
std::optional<T> Lookup(const Choice<T> (&table)[N], const std::string& name) {
  for (const Choice<T>& choice : table) {
    if (name == choice.name) {
      return choice.value;
    }
  }
  return std::nullopt;
}

// "1:N" with N a whole number from 1 to a billion: a scale a plan can be printed at.
std::optional<double> ParseScale(const std::string& text) {
  const std::string digits = text.rfind("1:", 0) == 0 ? text.substr(2) : std::string();
  if (digits.empty() || digits.size() > 10 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const double denominator = std::stod(digits);
  if (denominator < 1 || denominator > 1e9) {
    return std::nullopt;
  }
  return denominator;
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
  std::vector<std::string> outputOptions;  // given, to be checked against the format
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
    if (arg == "--check-refs" || arg == "--no-progress" || arg == "--no-header" || arg == "--bom") {
      if (inlineValue) {
        error = arg + " takes no value";
        return std::nullopt;
      }
      if (arg == "--check-refs") {
        options.checkReferences = true;
      } else if (arg == "--no-progress") {
        options.progress = false;
      } else if (arg == "--no-header") {
        options.output.header = HeaderRow::Omitted;
        outputOptions.push_back(arg);
      } else {
        options.output.bom = ByteOrderMark::Written;
        outputOptions.push_back(arg);
      }
      continue;
    }
    if (arg == "--svg-codes" || arg == "--svg-elevations") {
      if (inlineValue) {
        error = arg + " takes no value";
        return std::nullopt;
      }
      (arg == "--svg-codes" ? options.plan.codes : options.plan.elevations) = true;
      continue;
    }
    const std::optional<std::string> text = value();
    if (!text) {
      return std::nullopt;
    }
    if (arg == "--format" || arg == "-f") {
      const auto format = Lookup(kFormats, *text);
      if (!format) {
        error = "unknown format \"" + *text +
                "\" (text, json, csv, pnezd, dxf, landxml, geojson, trace)";
        return std::nullopt;
      }
      options.format = *format;
    } else if (arg == "--angles") {
      const auto unit = Lookup(kAngleUnits, *text);
      if (!unit) {
        error = "unknown angle unit \"" + *text + "\" (gon, deg, dms, rad)";
        return std::nullopt;
      }
      options.output.angles = *unit;
      outputOptions.push_back(arg);
    } else if (arg == "--units") {
      const auto unit = Lookup(kLengthUnits, *text);
      if (!unit) {
        error = "unknown length unit \"" + *text + "\" (m, ft, usft)";
        return std::nullopt;
      }
      options.output.length = *unit;
      outputOptions.push_back(arg);
    } else if (arg == "--delimiter") {
      const auto delimiter = Lookup(kDelimiters, *text);
      if (!delimiter) {
        error = "unknown delimiter \"" + *text + "\" (\",\" \";\" \"|\" tab)";
        return std::nullopt;
      }
      options.output.delimiter = *delimiter;
      outputOptions.push_back(arg);
    } else if (arg == "--crs") {
      options.output.crs = ParseCrs(*text);
      if (!options.output.crs) {
        error = "--crs needs EPSG:N, not \"" + *text + "\"";
        return std::nullopt;
      }
      outputOptions.push_back(arg);
    } else if (arg == "--plugin") {
      options.pluginPath = *text;
    } else if (arg == "--settings") {
      options.settingsPath = *text;
    } else if (arg == "--svg") {
      options.svgPath = *text;
    } else if (arg == "--scale") {
      options.plan.scaleDenominator = ParseScale(*text);
      if (!options.plan.scaleDenominator) {
        error =
            "--scale needs 1:N with N a whole number from 1 to 1000000000, not \"" + *text + "\"";
        return std::nullopt;
      }
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
  const PlanOptions& plan = options.plan;
  if (!options.svgPath && (plan.scaleDenominator || plan.codes || plan.elevations)) {
    error = "--scale, --svg-codes and --svg-elevations shape the plan: add --svg FILE";
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
  for (const std::string& option : outputOptions) {
    error = OutOfScope(option, options);
    if (!error.empty()) {
      return std::nullopt;
    }
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
  --format FORMAT       what to write on standard output: text (default), json, csv,
                        pnezd, dxf, landxml, geojson or trace
  --units m|ft|usft     length unit of every output: metre (default), international or
                        US survey foot
  --angles gon|deg|dms|rad
                        angle unit (default gon in the text report, rad in json, csv
                        and landxml)
  --delimiter CHAR      field separator of csv and pnezd: "," (default), ";", "|" or tab
  --no-header           csv without its row of column names
  --bom                 csv or pnezd starting with the UTF-8 byte order mark
  --crs EPSG:N          the grid the coordinates are in, recorded in geojson and landxml
  --svg FILE            also draw a plan of the points with coordinates
  --scale 1:N           the plan to scale for printing (page in mm)
  --svg-codes, --svg-elevations
                        each point's code, elevation after its name on the plan
  --check-refs          treat unbalanced converter references as an error
  --no-progress         no progress bar on the terminal

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
