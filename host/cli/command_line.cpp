#include "host/cli/command_line.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <memory>
#include <vector>

#include "host/cli/suggestion.h"
#include "host/outputs/wgs84_transform.h"

namespace m5host {

namespace {

template <class T>
struct Choice {
  const char* name;
  T value;
};

constexpr Choice<AngleUnit> kAngleUnits[] = {{"gon", AngleUnit::Gon},
                                             {"deg", AngleUnit::Degrees},
                                             {"dms", AngleUnit::Dms},
                                             {"rad", AngleUnit::Radians}};

constexpr Choice<LengthUnit> kLengthUnits[] = {
    {"m", LengthUnit::Metre}, {"ft", LengthUnit::Foot}, {"usft", LengthUnit::UsSurveyFoot}};

// Characters that cannot be mistaken for part of a number, a name or a quoted field.
constexpr Choice<char> kDelimiters[] = {{",", ','},    {";", ';'},   {"|", '|'},
                                        {"tab", '\t'}, {"\t", '\t'}, {"\\t", '\t'}};

// The formats' names joined by sep, the default marked when asked.
std::string FormatNames(const char* sep, const char* defaultMark = "") {
  std::string names;
  for (const OutputFormat& format : OutputFormats()) {
    names += (names.empty() ? "" : sep) + std::string(format.name);
    if (&format == &DefaultOutputFormat()) {
      names += defaultMark;
    }
  }
  return names;
}

// The formats that use an output option, "csv, pnezd", as their rows in the registry say.
std::string FormatsTaking(OutputOption option, const char* sep = ", ") {
  std::string formats;
  for (const OutputFormat& format : OutputFormats()) {
    if (format.accepts.Has(option)) {
      formats += (formats.empty() ? "" : sep) + std::string(format.name);
    }
  }
  return formats;
}

// The reason an output option does not fit the outputs chosen (the format, and the plan
// when --svg draws one beside it), or empty when it does.
std::string OutOfScope(const OutputOptionName& option, const Options& options) {
  if (options.format->accepts.Has(option.option) ||
      (options.svgPath && PlanFormat().accepts.Has(option.option))) {
    return std::string();
  }
  std::string reason = std::string(option.name) + " does not apply to --format " +
                       options.format->name + " (only to " + FormatsTaking(option.option) + ")";
  if (PlanFormat().accepts.Has(option.option) && !options.svgPath) {
    reason += std::string("; add --svg FILE to draw the plan beside ") + options.format->name;
  }
  return reason;
}

// A general view of the formats for the foot of --help: each name with its line.
std::string FormatsHelp() {
  std::string text = "\nFormats (--format):\n";
  for (const OutputFormat& format : OutputFormats()) {
    const std::string name = format.name;
    text +=
        "  " + name + std::string(name.size() < 9 ? 9 - name.size() : 1, ' ') + format.help + "\n";
  }
  return text;
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

// "1:N" with N a whole number from 1 to 10^9: the plan's scale for printing.
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

// A value as typed, in any letter case ("CSV", "FT"): the choices differ in more than case.
std::string Lowered(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

template <class T, std::size_t N>
std::optional<T> Lookup(const Choice<T> (&table)[N], const std::string& name) {
  for (const Choice<T>& choice : table) {
    if (Lowered(name) == choice.name) {
      return choice.value;
    }
  }
  return std::nullopt;
}

template <class T, std::size_t N>
std::vector<std::string> NamesOf(const Choice<T> (&table)[N]) {
  std::vector<std::string> names;
  for (const Choice<T>& choice : table) {
    names.emplace_back(choice.name);
  }
  return names;
}

std::vector<std::string> FormatNameList() {
  std::vector<std::string> names;
  for (const OutputFormat& format : OutputFormats()) {
    names.emplace_back(format.name);
  }
  return names;
}

// The building blocks of the option table below: each adds one option that fills one field.

// A text value kept as given (a path, a name).
CLI::Option* AddText(CLI::App& app, const std::string& name, std::optional<std::string>& field,
                     const char* typeName, const std::string& description) {
  return app
      .add_option_function<std::string>(
          name, [&field](const std::string& text) { field = text; }, description)
      ->type_name(typeName);
}

// A value picked by name from a table; another name is refused with the choices.
template <class T, std::size_t N, class Field>
CLI::Option* AddChoice(CLI::App& app, const std::string& name, const Choice<T> (&table)[N],
                       Field& field, const char* what, const char* choices,
                       const std::string& description) {
  return app
      .add_option_function<std::string>(
          name,
          [&table, &field, what, choices](const std::string& text) {
            const std::optional<T> value = Lookup(table, text);
            if (!value) {
              throw CLI::ValidationError(std::string("unknown ") + what + " \"" + text + "\" (" +
                                         choices + ")" + DidYouMean(text, NamesOf(table)));
            }
            field = *value;
          },
          description)
      ->type_name(choices);
}

// A switch: present or not, never with a value of its own.
CLI::Option* AddSwitch(CLI::App& app, const std::string& name, std::function<void()> turnOn,
                       const std::string& description) {
  return app.add_flag_callback(name, std::move(turnOn), description);
}

// The options of a plain import, one row each. A new option is one more row here (and, for
// an output option that serves only some formats, its name in kOutputOptionNames and a
// mark in the rows of the formats that use it).
void AddImportOptions(CLI::App& app, Options& options) {
  app.add_option_function<std::string>(
         "-f,--format",
         [&options](const std::string& text) {
           const OutputFormat* format = FindOutputFormat(Lowered(text));
           if (format == nullptr) {
             throw CLI::ValidationError("unknown format \"" + text + "\" (" + FormatNames(", ") +
                                        ")" + DidYouMean(text, FormatNameList()));
           }
           options.format = format;
         },
         FormatNames(", ", " (default)"))
      ->type_name("FORMAT");
  AddText(app, "-o,--output", options.outputPath, "FILE",
          "write it to FILE instead of standard output (- for standard output)");
  AddText(app, "--output-dir", options.outputDir, "DIR",
          "also write one output per input file in DIR, named after it; the merged output "
          "then only with -o");
  AddChoice(app, "--units", kLengthUnits, options.output.length, "length unit", "m|ft|usft",
            "length unit of every output: metre (default), foot, US survey foot");
  AddChoice(app, "--angles", kAngleUnits, options.output.angles, "angle unit", "gon|deg|dms|rad",
            "angle unit of " + FormatsTaking(OutputOption::Angles) +
                " (default gon in the text report, rad in the others)");
  AddChoice(app, "--delimiter", kDelimiters, options.output.delimiter, "delimiter",
            "\",\" \";\" \"|\" tab",
            "field separator of " + FormatsTaking(OutputOption::Delimiter) +
                ": \",\" (default), \";\", \"|\", tab")
      ->type_name("CHAR");
  AddSwitch(
      app, "--no-header", [&options] { options.output.header = HeaderRow::Omitted; },
      FormatsTaking(OutputOption::NoHeader, " or ") + " without its row of column names");
  AddSwitch(
      app, "--bom", [&options] { options.output.bom = ByteOrderMark::Written; },
      FormatsTaking(OutputOption::Bom, " or ") + " starting with the UTF-8 byte order mark");
  app.add_option_function<std::string>(
         "--crs",
         [&options](const std::string& text) {
           options.output.crs = ParseCrs(text);
           if (!options.output.crs) {
             throw CLI::ValidationError("--crs needs EPSG:N, not \"" + text + "\"");
           }
         },
         "the grid of the coordinates, recorded in " + FormatsTaking(OutputOption::Crs, " and "))
      ->type_name("EPSG:N");
  app.add_option_function<double>(
         "--tolerance",
         [&options](double value) {
           if (!(value > 0 && value < 1e6)) {
             throw CLI::ValidationError("--tolerance needs a length above 0");
           }
           options.output.tolerance = value;
         },
         "largest difference of a computed point from the instrument's (--units; 0.005 m)")
      ->type_name("LENGTH");
  AddText(app, "--svg", options.svgPath, "FILE", "also draw a plan of the points with coordinates");
  app.add_option_function<std::string>(
         "--scale",
         [&options](const std::string& text) {
           options.output.plan.scaleDenominator = ParseScale(text);
           if (!options.output.plan.scaleDenominator) {
             throw CLI::ValidationError(
                 "--scale needs 1:N with N a whole number from 1 to 1000000000, not \"" + text +
                 "\"");
           }
         },
         "the plan to scale for printing (page in mm)")
      ->type_name("1:N");
  AddSwitch(
      app, "--svg-codes", [&options] { options.output.plan.codes = true; },
      "each point's code after its name on the plan");
  AddSwitch(
      app, "--svg-elevations", [&options] { options.output.plan.elevations = true; },
      "each point's elevation after its name on the plan");
  app.add_option_function<std::string>(
         "--sheet",
         [&options](const std::string& text) {
           options.output.plan.sheet = ParseSheet(text);
           if (!options.output.plan.sheet) {
             throw CLI::ValidationError(
                 "--sheet needs A4 to A0, -portrait after it for upright, "
                 "not \"" +
                 text + "\"");
           }
         },
         "the plan on an ISO sheet, at --scale or the largest round scale that fits")
      ->type_name("A4..A0[-portrait]");
  AddSwitch(
      app, "--svg-no-sight-lines",
      [&options] { options.output.plan.sightLines = SightLines::Hidden; },
      "the plan without the lines from stations to their targets");
  AddSwitch(
      app, "--check-refs", [&options] { options.checkReferences = true; },
      "treat unbalanced converter references as an error");
  AddSwitch(
      app, "--no-progress", [&options] { options.progress = false; },
      "no progress bar on the terminal");
  app.add_option("FILE", options.files,
                 "M5 files to import; - reads standard input, a folder its *.dat and *.m5")
      ->type_name("");
}

// What both commands take, before or after the command's name.
void AddCommonOptions(CLI::App& app, Options& options) {
  AddText(app, "--plugin", options.pluginPath, "PATH",
          "the plug-in library (default $M5_PLUGIN, else the installed one)");
  AddText(app, "--settings", options.settingsPath, "FILE",
          "the settings file (default the user's m5import/settings.ini)");
  // Reads on: the version names the plug-in that --plugin would load.
  AddSwitch(
      app, "--version", [&options] { options.command = Command::Version; },
      "the version of m5import and the plug-in it would load");
}

void AddSettingsOptions(CLI::App& app, Options& options) {
  app.add_option_function<std::vector<std::string>>(
         "--set",
         [&options](const std::vector<std::string>& edits) {
           for (const std::string& text : edits) {
             const auto equals = text.find('=');
             if (equals == std::string::npos || equals == 0) {
               throw CLI::ValidationError("--set needs KEY=VALUE, not \"" + text + "\"");
             }
             options.edits.emplace_back(text.substr(0, equals), text.substr(equals + 1));
           }
         },
         "edit an item of the page; saved when the plug-in accepts all")
      ->type_name("KEY=VALUE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddSwitch(
      app, "--detect", [&options] { options.detect = true; },
      "propose where names and codes lie in the files' point records");
  AddSwitch(
      app, "--save", [&options] { options.save = true; },
      "with --detect: store the proposal when the plug-in accepts it");
  app.add_option("FILE", options.files, "M5 files to read with --detect")->type_name("");
}

constexpr const char* kExitStatuses = R"(
Exit status:
  0  no error reported
  1  the plug-in reported errors in a survey, rejected a setting or failed while judging
     it, or an output could not be written
  2  usage error (an output that would overwrite an input file or the other output is
     one), a plug-in that cannot be loaded, or a settings file that cannot be read (a
     --settings FILE that is missing too) or holds a value the settings page refuses
  3  an input file could not be read (missing, unreadable, an I/O error, a folder without
     survey files); the others are still imported, and when none could be, -o and --svg
     files are left as they were
  4  a batch run (a folder as input, or --output-dir) converted every file, some with
     warnings
)";

// The whole command line, filling options as it parses.
struct CommandLine {
  CLI::App app{"Imports M5 survey files through the M5 import plug-in and shows them.", "m5import"};
  CLI::App* settings = nullptr;

  explicit CommandLine(Options& options) {
    // As most tools do: the last of a repeated option counts, and a switch takes no value.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.option_defaults()->disable_flag_override();
    // Options begin with "-" on every system: "/data/day1.dat" is a file even on Windows.
    app.allow_windows_style_options(false);
    AddImportOptions(app, options);
    AddCommonOptions(app, options);
    app.footer(FormatsHelp() + kExitStatuses);
    settings = app.add_subcommand("settings", "show or edit the plug-in's settings page");
    AddSettingsOptions(*settings, options);
    AddCommonOptions(*settings, options);
    settings->footer(
        "\nSettings keys: PointStart, PointLen, CodeStart, CodeLen (numbers), AngleMode, "
        "CodeStr\n(a choice id or its text).\n" +
        std::string(kExitStatuses));
  }
};

// Every option name of the command line and of its settings command.
std::vector<std::string> OptionNames(const CommandLine& line) {
  std::vector<std::string> names;
  for (const CLI::App* app : {&line.app, static_cast<const CLI::App*>(line.settings)}) {
    for (const CLI::Option* option : app->get_options()) {
      for (const std::string& name : option->get_lnames()) {
        names.push_back("--" + name);
      }
    }
  }
  return names;
}

// CLI11 says that a switch was given a value in its own words; ours name the switch, and an
// argument it did not expect gets the option it may be a slip of.
std::string Reason(const CLI::ParseError& error, const CommandLine& line) {
  std::string text = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
    const std::string unexpected = text.substr(text.rfind(' ') + 1);
    if (unexpected.rfind("--", 0) == 0) {
      return text + DidYouMean(unexpected.substr(0, unexpected.find('=')), OptionNames(line));
    }
  }
  const std::string override = " was given a disallowed flag override";
  if (const auto at = text.find(override); at != std::string::npos) {
    std::string name = text.substr(0, at);
    return (name.rfind("-", 0) == 0 ? name : "--" + name) + " takes no value";
  }
  return text;
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Options options;
  CommandLine line(options);
  // CLI11 takes the arguments last one first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    line.app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.command = Command::Help;
    options.usageOf = line.settings->parsed() ? Command::Settings : Command::Import;
    return options;
  } catch (const CLI::ParseError& e) {
    error = Reason(e, line);
    return std::nullopt;
  }
  if (line.settings->parsed() && options.command != Command::Version) {
    options.command = Command::Settings;
  }
  if (options.command == Command::Version) {
    return options;
  }
  if (options.outputPath == "-") {
    options.outputPath.reset();  // standard output, as for an input
  }
  if (options.outputDir && options.format->WrittenDuringImport()) {
    error = std::string("--output-dir does not apply to --format ") + options.format->name +
            " (written while the import runs, one output for all files)";
    return std::nullopt;
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
  for (const OutputOptionName& option : kOutputOptionNames) {
    if (line.app.count(option.name) == 0) {
      continue;
    }
    error = OutOfScope(option, options);
    if (!error.empty()) {
      return std::nullopt;
    }
  }
  error = CoordinateSystemProblem(*options.format, options.output);
  if (!error.empty()) {
    return std::nullopt;
  }
  return options;
}

std::string UsageText(Command command) {
  Options options;
  CommandLine line(options);
  if (command == Command::Settings) {
    return line.settings->help("m5import");
  }
  return line.app.help();
}

}  // namespace m5host
