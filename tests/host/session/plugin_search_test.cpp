#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "host/os/host_platform.h"
#include "host/session/plugin_loader.h"

namespace m5host {
namespace {

TEST(PluginSearch, OptionThenEnvironmentThenBesideThenPluginFolder) {
  const auto native = [](const std::string& path) {
    return std::filesystem::u8path(path).make_preferred().u8string();
  };
  const std::string beside = native(std::string("/opt/m5/bin/") + os::PluginFileName());
  const std::string installed = native(std::string("/opt/m5/lib/m5import/") + os::PluginFileName());
  struct Case {
    std::optional<std::string> option;
    std::optional<std::string> environment;
    std::set<std::string> existing;
    std::string path;
    PluginSource source;
  };
  const Case cases[] = {
      {"a.so", "b.so", {beside, installed}, "a.so", PluginSource::Option},
      // Named libraries are taken as they are: loading says why one is missing.
      {std::nullopt, "b.so", {beside}, "b.so", PluginSource::Environment},
      {std::nullopt, "", {beside, installed}, beside, PluginSource::BesideProgram},
      {std::nullopt, std::nullopt, {installed}, installed, PluginSource::PluginFolder},
      {std::nullopt, std::nullopt, {}, installed, PluginSource::NotFound},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const PluginLocation found =
        ChoosePlugin({c.option, c.environment, "/opt/m5/bin", "../lib/m5import"},
                     [&](const std::string& path) { return c.existing.count(path) != 0; });
    EXPECT_EQ(found.path, c.path) << "case " << i;
    EXPECT_EQ(found.source, c.source) << "case " << i;
  }
}

TEST(PluginSearch, NotFoundSaysHowToNameOne) {
  const std::string text = Describe({"/x/libm5plugin.so", PluginSource::NotFound});
  EXPECT_NE(text.find("/x/libm5plugin.so"), std::string::npos) << text;
  EXPECT_NE(text.find("M5_PLUGIN"), std::string::npos) << text;
}

}  // namespace
}  // namespace m5host
