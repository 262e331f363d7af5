#include <gtest/gtest.h>

#include "host/cli/command_line.h"

namespace m5host {
namespace {

std::optional<Options> Parse(std::vector<std::string> args, std::string* reason = nullptr) {
  std::string error;
  auto options = ParseCommandLine(args, error);
  if (reason != nullptr) {
    *reason = error;
  }
  return options;
}

TEST(CommandLine, ImportOptionsInBothSpellings) {
  const auto options = Parse({"--format=json", "a.dat", "--angles", "dms", "--svg", "plan.svg",
                              "--check-refs", "--plugin", "lib.so", "--", "--odd.dat"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->command, Command::Import);
  EXPECT_STREQ(options->format->name, "json");
  EXPECT_EQ(options->output.angles, AngleUnit::Dms);
  EXPECT_EQ(options->svgPath, "plan.svg");
  EXPECT_EQ(options->pluginPath, "lib.so");
  EXPECT_TRUE(options->checkReferences);
  EXPECT_EQ(options->files, (std::vector<std::string>{"a.dat", "--odd.dat"}));
}

TEST(CommandLine, SettingsEdits) {
  const auto options = Parse({"settings", "--set", "PointLen=12", "--set=AngleMode=0"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->command, Command::Settings);
  ASSERT_EQ(options->edits.size(), 2u);
  EXPECT_EQ(options->edits[1], (std::pair<std::string, std::string>{"AngleMode", "0"}));
  // An empty value is passed on: the plug-in judges it.
  EXPECT_TRUE(Parse({"settings", "--set", "PointLen="}));
}

TEST(CommandLine, DetectTakesFiles) {
  const auto options = Parse({"settings", "--detect", "a.dat", "--save", "b.dat"});
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->detect && options->save);
  EXPECT_EQ(options->files, (std::vector<std::string>{"a.dat", "b.dat"}));
}

TEST(CommandLine, VersionNeedsNoFilesAndKeepsThePlugin) {
  const auto options = Parse({"--version", "--plugin", "lib.so"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->command, Command::Version);
  EXPECT_EQ(options->pluginPath, "lib.so");
  EXPECT_FALSE(Parse({"--version", "--format", "xml"}));
}

TEST(CommandLine, OutputOptionsOfTheirFormats) {
  auto options = Parse({"--format", "csv", "--units=usft", "--angles", "rad", "--delimiter", "tab",
                        "--no-header", "--bom", "a.dat"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->output.length, LengthUnit::UsSurveyFoot);
  EXPECT_EQ(options->output.angles, AngleUnit::Radians);
  EXPECT_EQ(options->output.delimiter, '\t');
  EXPECT_EQ(options->output.header, HeaderRow::Omitted);
  EXPECT_EQ(options->output.bom, ByteOrderMark::Written);

  options = Parse({"--format", "landxml", "--crs", "epsg:2193", "a.dat"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->output.crs, "EPSG:2193");
  EXPECT_FALSE(options->output.angles);  // each format keeps its own default
  // The plan's scale bar takes the unit even where the format has no lengths.
  EXPECT_TRUE(Parse({"--format", "trace", "--svg", "p.svg", "--units", "ft", "a.dat"}));
}

TEST(CommandLine, StandardInputAndOutputFile) {
  const auto options =
      Parse({"-o", "out.csv", "--format", "csv", "-", "/data/b.dat", "--output=x.csv"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->files, (std::vector<std::string>{"-", "/data/b.dat"}));  // on any system
  EXPECT_EQ(options->outputPath, "x.csv");                // the last of a repeated option counts
  EXPECT_FALSE(Parse({"-o", "-", "a.dat"})->outputPath);  // "-" is standard output
}

TEST(CommandLine, ValuesInAnyLetterCase) {
  const auto options =
      Parse({"--format", "CSV", "--units", "FT", "--angles", "Deg", "--delimiter", "TAB", "a.dat"});
  ASSERT_TRUE(options);
  EXPECT_STREQ(options->format->name, "csv");
  EXPECT_EQ(options->output.length, LengthUnit::Foot);
  EXPECT_EQ(options->output.angles, AngleUnit::Degrees);
  EXPECT_EQ(options->output.delimiter, '\t');
}

TEST(CommandLine, HelpOfEachCommand) {
  struct Case {
    std::vector<std::string> args;
    Command usage;
    const char* shows;
    const char* lacks;
  };
  const Case cases[] = {
      {{"--help"}, Command::Import, "--format", "KEY=VALUE"},
      {{"a.dat", "-h", "--bogus"}, Command::Import, "--no-progress", "KEY=VALUE"},
      {{"settings", "--help"}, Command::Settings, "--set", "--format"},
  };
  for (const Case& c : cases) {
    const auto options = Parse(c.args);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->command, Command::Help);
    EXPECT_EQ(options->usageOf, c.usage);
    const std::string text = UsageText(options->usageOf);
    EXPECT_NE(text.find(c.shows), std::string::npos) << text;
    EXPECT_EQ(text.find(c.lacks), std::string::npos) << text;
    EXPECT_NE(text.find("Exit status"), std::string::npos);
  }
}

TEST(CommandLine, UsageErrorsSayWhat) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{}, "no survey files"},
      {{"--format", "xml", "a.dat"}, "unknown format \"xml\""},
      {{"--angles", "grad", "a.dat"}, "unknown angle unit"},
      {{"--units", "yd", "a.dat"}, "unknown length unit \"yd\""},
      {{"--delimiter", "x", "--format", "csv", "a.dat"}, "unknown delimiter \"x\""},
      {{"--format", "geojson", "--crs", "4326", "a.dat"}, "--crs needs EPSG:N"},
      {{"--format", "geojson", "--crs", "EPSG:0123", "a.dat"}, "--crs needs EPSG:N"},
      {{"--format", "csv", "--bom=yes", "a.dat"}, "takes no value"},
      // An option the chosen output would not use is refused, not ignored.
      {{"--delimiter", ";", "a.dat"},
       "--delimiter does not apply to --format text (only to "
       "csv, pnezd)"},
      {{"--format", "json", "--no-header", "a.dat"}, "--no-header does not apply"},
      {{"--format", "dxf", "--angles", "deg", "a.dat"}, "--angles does not apply"},
      {{"--format", "csv", "--crs", "EPSG:2193", "a.dat"}, "--crs does not apply"},
      {{"--format", "trace", "--units", "ft", "a.dat"}, "--units does not apply"},
      {{"a.dat", "--svg"}, "--svg: 1 required FILE missing"},
      {{"--bogus", "a.dat"}, "not expected: --bogus"},
      {{"--check-refs=yes", "a.dat"}, "takes no value"},
      {{"settings", "--set", "=5"}, "--set needs KEY=VALUE"},
      {{"settings", "a.dat"}, "settings takes no files"},
      {{"a.dat", "settings"}, "settings takes no files"},
      {{"--set", "PointLen=5", "a.dat"}, "not expected: --set"},
      {{"settings", "--detect"}, "--detect takes files"},
      {{"settings", "--detect", "a.dat", "--set", "PointLen=5"}, "and no --set"},
      {{"settings", "--save"}, "--save goes with --detect"},
      {{"--detect", "a.dat"}, "not expected: --detect"},
      {{"--format", "trace", "--output-dir", "out", "a.dat"}, "--output-dir does not apply"},
      // A slip gets the option or value it is nearest to.
      {{"--formt", "csv", "a.dat"}, "not expected: --formt; did you mean --format?"},
      {{"--no-progres", "a.dat"}, "did you mean --no-progress?"},
      {{"--format", "jsn", "a.dat"}, "; did you mean json?"},
      {{"--angles", "DEGs", "a.dat"}, "(gon|deg|dms|rad); did you mean deg?"},
      {{"--units", "fet", "a.dat"}, "did you mean ft?"},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_FALSE(Parse(c.args, &reason));
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

// The checks come from the registry's rows: the plan is a format of its own, and an option
// of the plan alone is right beside any format once --svg draws one.
TEST(CommandLine, OutputOptionsFollowTheFormatsRows) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;  // empty: accepted
  };
  const Case cases[] = {
      {{"--format", "svg", "--scale", "1:500", "--svg-codes", "--units", "ft", "a.dat"}, ""},
      {{"--format", "dxf", "--svg", "p.svg", "--svg-elevations", "a.dat"}, ""},
      {{"--format", "svg", "--angles", "deg", "a.dat"},
       "--angles does not apply to --format svg (only to text, json, csv, landxml)"},
      {{"--format", "trace", "--units", "ft", "a.dat"},
       "--units does not apply to --format trace (only to text, json, csv, pnezd, dxf, landxml, "
       "geojson, svg); add --svg FILE to draw the plan beside trace"},
      {{"--format", "pnezd", "--svg", "p.svg", "--no-header", "a.dat"},
       "--no-header does not apply to --format pnezd (only to csv)"},
  };
  for (const Case& c : cases) {
    std::string reason;
    const auto options = Parse(c.args, &reason);
    EXPECT_EQ(reason, c.reason);
    EXPECT_EQ(options.has_value(), std::string(c.reason).empty()) << reason;
  }
  const std::string help = UsageText();
  for (const OutputFormat& format : OutputFormats()) {
    EXPECT_NE(help.find(std::string("  ") + format.name + " "), std::string::npos) << format.name;
    EXPECT_NE(help.find(format.help), std::string::npos) << format.help;
  }
  EXPECT_NE(help.find("text (default), json, csv, pnezd, dxf, landxml, geojson, kml, svg, trace"),
            std::string::npos)
      << help;
}

TEST(CommandLine, PlanOptions) {
  std::string error;
  const auto options = ParseCommandLine(
      {"--svg", "p.svg", "--scale", "1:500", "--svg-codes", "--svg-elevations", "a.dat"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->output.plan.scaleDenominator, 500);
  EXPECT_TRUE(options->output.plan.codes);
  EXPECT_TRUE(options->output.plan.elevations);
  for (const char* scale : {"500", "1:0", "1:-5", "1:2.5", "2:500", "1:", "1:99999999999"}) {
    EXPECT_FALSE(ParseCommandLine({"--svg", "p.svg", "--scale", scale, "a.dat"}, error));
    EXPECT_NE(error.find("--scale needs 1:N"), std::string::npos) << error;
  }
  EXPECT_FALSE(ParseCommandLine({"--svg-codes", "a.dat"}, error));
  EXPECT_NE(error.find("add --svg FILE"), std::string::npos) << error;
  EXPECT_FALSE(ParseCommandLine({"--svg", "p.svg", "--svg-codes=yes", "a.dat"}, error));
}

}  // namespace
}  // namespace m5host
