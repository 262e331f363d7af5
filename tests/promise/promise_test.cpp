// Every point record that carries a value reaches the host or is named in a message on its
// line: over generated surveys, the bundled examples, the golden inputs, the public corpus
// and surveys that break the order of work, under both text readings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/survey_generator.h"
#include "tests/promise/promise_run.h"
#include "tests/support/corpus.h"
#include "tests/support/survey_lines.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using m5test::PointLine;
using m5test::TextLine;

void ExpectNothingLost(const fs::path& file, const ImportSettings& settings) {
  for (const int codeStr : {0, 1}) {
    const m5test::PromiseRun run =
        m5test::ImportAndCheck(file, m5test::WithEncoding(settings, codeStr));
    EXPECT_TRUE(run.lost.empty()) << file.filename() << " read with CodeStr " << codeStr
                                  << " loses:\n"
                                  << m5test::Describe(run.lost);
  }
}

std::vector<fs::path> DatFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".dat") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

const fs::path kSource = M5_SOURCE_DIR;

TEST(Promise, GeneratedSurveys) {
  const m5test::TempFolder folder;
  for (const std::size_t lines : {40u, 700u, 6000u}) {
    for (const auto encoding : {m5bench::Encoding::Win1251, m5bench::Encoding::Utf16LittleEndian}) {
      const fs::path file = folder.Write("survey.dat", m5bench::GenerateSurvey(lines, encoding));
      SCOPED_TRACE(std::to_string(lines) + " lines");
      ExpectNothingLost(file, ImportSettings{});
    }
  }
}

TEST(Promise, Examples) {
  const ImportSettings settings = m5test::SettingsFromIni(kSource / "examples/settings.ini");
  for (const fs::path& file : DatFiles(kSource / "examples")) {
    ExpectNothingLost(file, settings);
  }
}

TEST(Promise, GoldenInputs) {
  const fs::path golden = kSource / "tests/golden";
  for (const fs::path& file : DatFiles(golden)) {
    fs::path ini = fs::path(file).replace_extension(".ini");
    if (!fs::exists(ini)) {
      ini = golden / "default.ini";
    }
    ExpectNothingLost(file, m5test::SettingsFromIni(ini));
  }
}

TEST(Promise, Corpus) {
  const auto files = m5test::CorpusFiles();
  if (!files) {
    GTEST_SKIP() << "no corpus at " << m5test::CorpusFolder();
  }
  for (const fs::path& file : *files) {
    ExpectNothingLost(file, ImportSettings{});
  }
}

std::string Survey(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

// Surveys whose order of work leaves points without a place: each must still name every
// point, or say on its line why it was not imported.
TEST(Promise, SurveysOutOfOrder) {
  const struct {
    const char* what;
    std::vector<std::string> lines;
  } surveys[] = {
      {"a station replaced by a later orientation",
       {TextLine("STAT. KNWN. PNT."), PointLine("S1", "X 100.0 m |Y 200.0 m |"),
        PointLine("S1", "Om 0.0 gon |"), PointLine("S2", "X 150.0 m |Y 250.0 m |"),
        PointLine("S2", "Om 10.0 gon |"), TextLine("MEASURE"),
        PointLine("P1", "Hz 1.0 gon |SD 10.0 m |")}},
      {"observations of a slope distance and a vertical angle only",
       {TextLine("STAT. KNWN. PNT."), PointLine("S1", "ih 1.5 m |"), TextLine("MEASURE"),
        PointLine("P1", "SD 10.0 m |V1 100.0 gon |"), PointLine("P2", "Hz 10.0 gon |SD 12.0 m |")}},
      {"height stationing",
       {TextLine("STAT. KNWN. PNT."), TextLine("INPUT VALUES", "ih 1.48 m |th 1.3 m |"),
        PointLine("S1", "X 100.0 m |Y 200.0 m |"), PointLine("S1", "Om 0.0 gon |"),
        TextLine("HEIGHTSTATIONING"), PointLine("BM1", "Z 245.3 m |"),
        PointLine("BM1", "SD 47.4 m |V1 97.3 gon |"),
        PointLine("S1", "X 100.0 m |Y 200.0 m |Z 243.1 m |"),
        PointLine("P4", "Hz 10.0 gon |SD 20.0 m |"), TextLine("MEASURE"),
        PointLine("P5", "Hz 20.0 gon |SD 21.0 m |")}},
      {"a trailing line that is not M5",
       {TextLine("STAT. KNWN. PNT."), PointLine("S1", "ih 1.5 m |"), TextLine("MEASURE"),
        PointLine("P1", "Hz 10.0 gon |SD 10.0 m |"), "transfer aborted"}},
  };
  const m5test::TempFolder folder;
  for (const auto& survey : surveys) {
    SCOPED_TRACE(survey.what);
    ExpectNothingLost(folder.Write("survey.dat", Survey(survey.lines)), ImportSettings{});
  }
}

}  // namespace
