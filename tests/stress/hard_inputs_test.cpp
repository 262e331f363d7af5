// Files no instrument writes but a surveyor may still hand over: huge, binary, cut short,
// gone by the time they are opened. Each must import or be reported, never crash, and
// leave every reference balanced.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "bench/survey_generator.h"
#include "resources/string_ids.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/messages.h"
#include "tests/support/recording_host.h"

namespace {

namespace fs = std::filesystem;

// Holds the encoding and one value for every other key (0: the defaults).
class Store : public ISettingsReader {
 public:
  Store(int codeStr, int everyOther) : m_codeStr(codeStr), m_value(everyOther) {}
  int ReadInt(const wchar_t* key, int fallback) override {
    if (std::wstring(key) == L"CodeStr") {
      return m_codeStr;
    }
    return m_value == 0 ? fallback : m_value;
  }

 private:
  int m_codeStr;
  int m_value;
};

class HardInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() /
            ("m5-hard-" + std::to_string(std::random_device{}()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path path = m_dir / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<long>(bytes.size()));
    return path;
  }

  // Imports the file into the sink with the given settings.
  void Import(m5test::RecordingSink& sink, const fs::path& path, int codeStr,
              int everyOtherSetting = 0) {
    auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
    Store store(codeStr, everyOtherSetting);
    plugin->LoadSettings(&store);
    m5test::FileList files({path.wstring()});
    plugin->Import(&files, &sink);
    EXPECT_EQ(sink.OutstandingReferences(), 0);
    EXPECT_EQ(sink.OverReleases(), 0);
  }

  static bool Ends(const m5test::RecordingSink& sink, const std::string& last) {
    return !sink.Calls().empty() && sink.Calls().back() == last;
  }

  fs::path m_dir;
};

TEST_F(HardInputs, ALineOfEightMegabytes) {
  const std::string line = "For M5|Adr 00001|PI1 " + std::string(8 << 20, 'x') + "|SD 1 m|\r\n";
  const fs::path path = Write("long.dat", line);
  for (int codeStr : {0, 1}) {
    m5test::RecordingSink sink;
    sink.RecordProgress(false);
    Import(sink, path, codeStr);
  }
}

TEST_F(HardInputs, AMillionLines) {
  const fs::path path =
      Write("million.dat", m5bench::GenerateSurvey(1'000'000, m5bench::Encoding::Win1251));
  m5test::RecordingSink sink;
  sink.RecordProgress(false);
  sink.RecordFactoryCalls(false);
  Import(sink, path, 0);
  EXPECT_GT(sink.Calls().size(), 1'000'000u);
}

TEST_F(HardInputs, OrientationsWithoutAStationKeyword) {
  // Every measured point waits for the one station S until the end of the file, through
  // thousands of orientations.
  constexpr std::size_t kCycles = 5000;
  const fs::path path = Write("chain.dat", m5bench::GenerateOrientationChain(kCycles * 4));
  m5test::RecordingSink sink;
  sink.RecordProgress(false);
  sink.RecordFactoryCalls(false);
  Import(sink, path, 0);
  std::map<std::string, std::size_t> calls;
  for (const std::string& call : sink.Calls()) {
    calls[call.substr(0, call.find('('))] += 1;
    if (call.rfind("SetHorizontalDirection(", 0) == 0) {
      const double hz = std::stod(call.substr(23));
      ASSERT_TRUE(hz >= 0 && hz < 6.2831853071796) << call;
    }
  }
  EXPECT_EQ(calls["AddStation"], 1u);
  EXPECT_EQ(calls["AddTarget"], kCycles);
  EXPECT_EQ(calls["AddPoint"], kCycles);
  EXPECT_EQ(calls["SetHorizontalDirection"], kCycles);
  EXPECT_EQ(calls["ReportError"], 1u);    // no station keyword
  EXPECT_EQ(calls["ReportWarning"], 1u);  // the generated points carry no time, said once
}

TEST_F(HardInputs, SeparatorsNulsAndRandomBytes) {
  std::mt19937 random(7);
  std::string noise(1 << 20, '\0');
  for (char& byte : noise) {
    byte = static_cast<char>(random());
  }
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"separators.dat", std::string(100000, '|')},
      {"separators-lines.dat", std::string(1000, '|') + "\n" + std::string(1000, '|') + "\r\n"},
      {"nuls.dat", std::string(100000, '\0')},
      {"random.dat", noise},
      {"utf16-odd.dat", std::string("\xFF\xFE"
                                    "F\0o\0r\0 \0M\0"
                                    "5\0|\0\r\0\n\0X",
                                    21)},
      {"only-bom.dat", "\xFF\xFE"},
      {"empty.dat", ""},
  };
  for (const auto& file : files) {
    const fs::path path = Write(file.name, file.bytes);
    for (int codeStr : {0, 1}) {
      SCOPED_TRACE(std::string(file.name) + " CodeStr " + std::to_string(codeStr));
      m5test::RecordingSink sink;
      Import(sink, path, codeStr);
      EXPECT_TRUE(Ends(sink, "SetProgress(100)"));
    }
  }
}

TEST_F(HardInputs, ExtremeSettingsInEveryKey) {
  const fs::path path =
      Write("survey.dat", m5bench::GenerateSurvey(300, m5bench::Encoding::Win1251));
  for (int value : {INT_MIN, INT_MAX, -1, 0}) {
    for (int codeStr : {0, 1, INT_MIN, INT_MAX}) {
      SCOPED_TRACE(std::to_string(value) + " / CodeStr " + std::to_string(codeStr));
      m5test::RecordingSink sink;
      Import(sink, path, codeStr, value);
      EXPECT_TRUE(Ends(sink, "SetProgress(100)"));
    }
  }
}

// A host whose announcement of the file is the moment the file disappears.
class VanishingSink : public m5test::RecordingSink {
 public:
  explicit VanishingSink(fs::path path) : m_path(std::move(path)) {}
  void BeginFile(const wchar_t* path) override {
    RecordingSink::BeginFile(path);
    fs::remove(m_path);
  }

 private:
  fs::path m_path;
};

TEST_F(HardInputs, AFileGoneBetweenAnnouncementAndOpening) {
  const fs::path path = Write("gone.dat", "For M5|Adr 00001|TI  STAT. KNWN. PNT.|\r\n");
  VanishingSink sink(path);
  Import(sink, path, 0);
  ASSERT_EQ(sink.Calls().size(), 2u);
  EXPECT_EQ(sink.Calls()[1], m5test::ErrorCall(m5::msg::kCannotOpenFile));
}

TEST_F(HardInputs, AFolderInsteadOfAFile) {
  m5test::RecordingSink sink;
  Import(sink, m_dir, 0);
  ASSERT_EQ(sink.Calls().size(), 2u);
  EXPECT_EQ(sink.Calls()[1], m5test::ErrorCall(m5::msg::kCannotOpenFile));
}

// A host whose first lines are the moment the file is cut down to its first line: the file
// is read twice, and the second reading finds fewer lines than the first counted.
class CuttingSink : public m5test::RecordingSink {
 public:
  explicit CuttingSink(fs::path path) : m_path(std::move(path)) {}
  void SetCurrentLine(int line) override {
    RecordingSink::SetCurrentLine(line);
    if (line == 1) {
      fs::resize_file(m_path, 100);
    }
  }

 private:
  fs::path m_path;
};

TEST_F(HardInputs, AFileCutWhileItIsImported) {
  const fs::path path = Write("cut.dat", m5bench::GenerateSurvey(5000, m5bench::Encoding::Win1251));
  CuttingSink sink(path);
  Import(sink, path, 0);
  // What the first chunk held is imported, and the file ends there.
  const auto& calls = sink.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetCurrentLine(4999)"), 0);
  EXPECT_EQ(calls.back(), "SetProgress(100)");
}

#if !defined(_WIN32)
// A pipe cannot go back to its start: its bytes are kept for the second reading.
TEST_F(HardInputs, APipeImportsAsTheFileDoes) {
  const std::string survey = m5bench::GenerateSurvey(2000, m5bench::Encoding::Win1251);
  const fs::path file = Write("survey.dat", survey);
  const fs::path pipe = m_dir / "pipe.dat";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << survey; });
  m5test::RecordingSink fromPipe;
  Import(fromPipe, pipe, 0);
  writer.join();
  m5test::RecordingSink fromFile;
  Import(fromFile, file, 0);
  ASSERT_GT(fromFile.Calls().size(), 2000u);
  EXPECT_EQ(std::vector<std::string>(fromPipe.Calls().begin() + 1, fromPipe.Calls().end()),
            std::vector<std::string>(fromFile.Calls().begin() + 1, fromFile.Calls().end()));
}
#endif

}  // namespace
