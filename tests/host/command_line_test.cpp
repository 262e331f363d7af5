#include <gtest/gtest.h>

#include "host/command_line.h"

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
  EXPECT_EQ(options->format, OutputFormat::Json);
  EXPECT_EQ(options->angles, AngleUnit::Dms);
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

TEST(CommandLine, UsageErrorsSayWhat) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
  };
  const Case cases[] = {
      {{}, "no survey files"},
      {{"--format", "xml", "a.dat"}, "unknown format \"xml\""},
      {{"--angles", "rad", "a.dat"}, "unknown angle unit"},
      {{"a.dat", "--svg"}, "--svg needs a value"},
      {{"--bogus", "a.dat"}, "unknown option --bogus"},
      {{"--check-refs=yes", "a.dat"}, "takes no value"},
      {{"settings", "--set", "=5"}, "--set needs KEY=VALUE"},
      {{"settings", "a.dat"}, "settings takes no files"},
      {{"--set", "PointLen=5", "a.dat"}, "unknown option --set"},
      {{"settings", "--detect"}, "--detect takes files"},
      {{"settings", "--detect", "--set", "PointLen=5", "a.dat"}, "and no --set"},
      {{"settings", "--save"}, "--save goes with --detect"},
      {{"--detect", "a.dat"}, "unknown option --detect"},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_FALSE(Parse(c.args, &reason));
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
  }
}

}  // namespace
}  // namespace m5host
