// A day's files at once: a folder and wildcards as a shell user expects them, one output per
// input named after it.
#include <gtest/gtest.h>

#include "host/cli/batch_outputs.h"
#include "host/cli/input_names.h"
#include "tests/support/temp_folder.h"

namespace m5host {
namespace {

TEST(InputNames, WildcardsMatchAsAShellDoes) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.dat", "day1.dat", true},
      {"*.dat", "day1.DAT", true},
      {"*.dat", "day1.data", false},
      {"day?.dat", "day1.dat", true},
      {"day?.dat", "day12.dat", false},
      {"*", "", true},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYcZ", false},
      {"?", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name, NameCase::Ignored), c.matches)
        << c.pattern << " " << c.name;
  }
  EXPECT_FALSE(MatchesWildcard("*.dat", "a.DAT", NameCase::Exact));
}

TEST(InputNames, FolderStandsForItsSurveyFilesAndPatternsForTheirMatches) {
  const m5test::TempFolder folder;
  for (const char* name : {"b.dat", "A.DAT", "c.m5", "notes.txt", ".hidden.dat"}) {
    folder.Write(name, "x");
  }
  std::filesystem::create_directory(folder.Path() / "sub.dat");
  const std::string dir = folder.Path().u8string();
  const auto in = [&folder](const char* name) { return (folder.Path() / name).u8string(); };
  const InputNames inFolder = ExpandInputNames({dir}, Wildcards::LeftToTheShell);
  EXPECT_TRUE(inFolder.hasFolder);
  EXPECT_EQ(inFolder.files,
            (std::vector<std::string>{in(".hidden.dat"), in("A.DAT"), in("b.dat"), in("c.m5")}));
  // A folder named with "/" keeps it on Windows too.
  const std::string slashed = folder.Path().generic_u8string();
  EXPECT_EQ(ExpandInputNames({slashed}, Wildcards::Expanded).files[2], slashed + "/b.dat");

  const InputNames matched = ExpandInputNames({in("*.dat"), in("none*"), "-"}, Wildcards::Expanded);
  EXPECT_FALSE(matched.hasFolder);
  EXPECT_EQ(matched.files, (std::vector<std::string>{in("A.DAT"), in("b.dat"), in("none*"), "-"}));
  EXPECT_EQ(ExpandInputNames({in("*.dat")}, Wildcards::LeftToTheShell).files.size(), 1u);

  const m5test::TempFolder empty;
  EXPECT_EQ(ExpandInputNames({empty.Path().u8string()}, Wildcards::Expanded).empty.size(), 1u);
}

TEST(BatchOutputs, EachInputItsOwnName) {
  std::set<std::string> taken;
  const OutputFormat& landxml = *FindOutputFormat("landxml");
  const auto out = [](const char* name) {
    return (std::filesystem::path("out") / name).u8string();
  };
  EXPECT_EQ(OutputPathFor("out", "day/s1.dat", landxml, taken), out("s1.xml"));
  EXPECT_EQ(OutputPathFor("out", "night/s1.DAT", landxml, taken), out("s1-2.xml"));
  EXPECT_EQ(OutputPathFor("out", "-", landxml, taken), out("standard-input.xml"));
  EXPECT_STREQ(FileExtension(*FindOutputFormat("text")), "txt");
  EXPECT_STREQ(FileExtension(*FindOutputFormat("geojson")), "geojson");
}

}  // namespace
}  // namespace m5host
