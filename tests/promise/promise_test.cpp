// Every point record that carries a value reaches the host or is named in a message on its
// line: over generated surveys, the bundled examples, the golden inputs, the public corpus
// and surveys that break the order of work, under both text readings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
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
      for (const auto damage : {m5bench::BlockDamage::None, m5bench::BlockDamage::Some}) {
        const fs::path file =
            folder.Write("survey.dat", m5bench::GenerateSurvey(lines, encoding, damage));
        SCOPED_TRACE(std::to_string(lines) + " lines");
        ExpectNothingLost(file, ImportSettings{});
      }
    }
  }
}

// A UTF-16 transfer without a mark, cut one byte short: read as UTF-16 (not as UTF-8, which
// stops at the first line), every station of it reaches the host.
TEST(Promise, CutUtf16TransferWithoutMark) {
  const m5test::TempFolder folder;
  std::string bytes = m5bench::GenerateSurvey(40, m5bench::Encoding::Utf16LittleEndian).substr(2);
  const std::string whole = bytes;
  bytes.pop_back();
  const auto stations = [](const std::vector<std::string>& trace) {
    return std::count_if(trace.begin(), trace.end(),
                         [](const std::string& call) { return call.rfind("AddStation(", 0) == 0; });
  };
  const ImportSettings unicode = m5test::WithEncoding(ImportSettings{}, 1);
  const m5test::PromiseRun cut = m5test::ImportAndCheck(folder.Write("cut.dat", bytes), unicode);
  const m5test::PromiseRun intact =
      m5test::ImportAndCheck(folder.Write("whole.dat", whole), unicode);
  EXPECT_TRUE(cut.lost.empty()) << m5test::Describe(cut.lost);
  EXPECT_GT(stations(intact.trace), 0);
  EXPECT_EQ(stations(cut.trace), stations(intact.trace));
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
      {"a station oriented again on its own name, then on another point",
       {TextLine("STAT. KNWN. PNT."), PointLine("S1", "X 100 m |Y 200 m |Om 10 gon |"),
        PointLine("S1", "Om 20 gon |"), PointLine("S2", "Om 10 gon |"),
        PointLine("S2", "Om 20 gon |"), PointLine("S3", "Om 30 gon |"), TextLine("MEASURE"),
        PointLine("P1", "Hz 1.0 gon |SD 10.0 m |")}},
      {"values in units of another quantity",
       {TextLine("FREE STATIONING"), PointLine("S1", "ih 1.5 m |"), TextLine("MEASURE"),
        PointLine("P1", "Hz 10 m |"), PointLine("P2", "SD 10 gon |V1 99 hPa |"),
        PointLine("P3", "Hz 10 gon |SD 10 DEG |")}},
      {"instrument heights after the station is chosen",
       {TextLine("FREE STATIONING"), PointLine("S1", "ih 1.5 m |"), PointLine("T1", "ih 1.6 m |"),
        PointLine("S1", "ih 1.7 m |"), TextLine("MEASURE"), PointLine("T2", "ih 1.5 m |")}},
      {"skipped sections, closed and open",
       {TextLine("FREE STATIONING"), PointLine("S1", "ih 1.5 m |"), TextLine("RESTART OF JOB"),
        PointLine("P1", "Hz 1 gon |"), PointLine("S2", "Om 1 gon |"), TextLine("SENDING"),
        TextLine("MEASURE"), PointLine("P2", "Hz 2 gon |"), TextLine("CODE START"),
        PointLine("P3", "Hz 3 gon |")}},
      {"blocks of unknown type only",
       {TextLine("FREE STATIONING"), PointLine("S1", "ih 1.5 m |"), TextLine("MEASURE"),
        PointLine("P1", std::string("S\0 15 m |", 9)), PointLine("P2", "QQ 1 m |Hz |")}},
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

// Small surveys drawn at random from the lines that break the order of work: repeated
// orientations and instrument heights, skipped sections, unknown types and units, values in
// units of another quantity. Every point is kept, and no value written in a unit of another
// quantity (each one unique, from 900000 up) reaches the host.
class RandomSurvey {
 public:
  explicit RandomSurvey(unsigned seed) : m_random(seed) {}

  std::string Next(std::vector<std::string>& misreadValues) {
    static const char* const kTexts[] = {
        "STAT. KNWN. PNT.",
        "FREE STATIONING",
        "HEIGHTSTATIONING",
        "MEASURE",
        "COORDINATES",
        "RESTART OF JOB",
        "START",
        "END",
        "SENDING",
        "NO REFLECTOR",
        "NORMAL REFLECTOR",
        "REMARK",
    };
    static const char* const kNames[] = {"S1", "S2", "P1", "P2", "P3", "P4"};
    static const char* const kBlocks[] = {
        "X # m",
        "Y # m",
        "Z # m",
        "x # m",
        "Hz # gon",
        "SD # m",
        "V1 # gon",
        "HD # m",
        "h # m",
        "ih # m",
        "Om # gon",
        "th # m",
        "Q1 # m",
        "Hz # mbar",
        "Hz",
        "T_ # C",
        // Damaged in transfer or by hand.
        "SD #,5 m",
        "Hz#gon",
        "Z # m\t ",
        "X #e309 m",
        "T_ O# C",
        "ih #..5 m",
        "Y\t#\tm",
    };
    static const char* const kMisread[] = {"Hz # m", "SD # gon", "V1 # hPa", "Z # DEG", "T_ # m"};
    std::string text;
    const int lines = Pick(4, 14);
    for (int i = 0; i < lines; ++i) {
      if (Pick(0, 9) < 3) {
        const char* record = kTexts[Pick(0, std::size(kTexts) - 1)];
        static const char* const kTextBlocks[] = {"", "", "ih 1.5 m |th 1.3 m |",
                                                  "th 1,3 m |T_ 2O C |P 1e309 hPa |"};
        text += TextLine(record, kTextBlocks[Pick(0, 3)]) + "\r\n";
        continue;
      }
      std::string blocks;
      for (int b = Pick(1, 3); b > 0; --b) {
        std::string block;
        std::string value = std::to_string(Pick(1, 399));
        if (Pick(0, 5) == 0) {
          block = kMisread[Pick(0, std::size(kMisread) - 1)];
          value = std::to_string(900000 + m_misread++);
          misreadValues.push_back(value);
        } else {
          block = kBlocks[Pick(0, std::size(kBlocks) - 1)];
        }
        const std::size_t at = block.find('#');
        if (at != std::string::npos) {
          block.replace(at, 1, value);
        }
        blocks += block + " |";
      }
      text += PointLine(kNames[Pick(0, std::size(kNames) - 1)], blocks) + "\r\n";
    }
    return text;
  }

 private:
  int Pick(std::size_t low, std::size_t high) {
    return static_cast<int>(std::uniform_int_distribution<std::size_t>(low, high)(m_random));
  }

  std::mt19937 m_random;
  int m_misread = 0;
};

TEST(Promise, RandomSurveys) {
  const m5test::TempFolder folder;
  RandomSurvey surveys(20261209);
  for (int i = 0; i < 1500 && !HasFailure(); ++i) {
    std::vector<std::string> misread;
    const std::string survey = surveys.Next(misread);
    SCOPED_TRACE(survey);
    const m5test::PromiseRun run =
        m5test::ImportAndCheck(folder.Write("random.dat", survey), ImportSettings{});
    EXPECT_TRUE(run.lost.empty()) << m5test::Describe(run.lost);
    for (const std::string& call : run.trace) {
      for (const std::string& value : misread) {
        EXPECT_EQ(call.find("(" + value + ")"), std::string::npos) << call;
      }
    }
    // The end-of-file mark: padding after the last line changes nothing; a second transfer
    // joined after it is not read, and the import says so.
    const auto namesTheMark = [](const std::vector<std::string>& trace) {
      return std::any_of(trace.begin(), trace.end(), [](const std::string& call) {
        return call.find("0x1A") != std::string::npos;
      });
    };
    if (i % 5 == 1) {
      const m5test::PromiseRun padded = m5test::ImportAndCheck(
          folder.Write("padded.dat", survey + std::string(i % 3 + 1, '\x1A')), ImportSettings{});
      // The same calls after BeginFile, which names the other file.
      EXPECT_TRUE(std::equal(padded.trace.begin() + 1, padded.trace.end(), run.trace.begin() + 1,
                             run.trace.end()));
    } else if (i % 5 == 2) {
      const m5test::PromiseRun joined = m5test::ImportAndCheck(
          folder.Write("joined.dat", survey + '\x1A' + surveys.Next(misread)), ImportSettings{});
      EXPECT_TRUE(joined.lost.empty()) << m5test::Describe(joined.lost);
      EXPECT_TRUE(namesTheMark(joined.trace));
      EXPECT_FALSE(namesTheMark(run.trace));
    }
  }
}

}  // namespace
