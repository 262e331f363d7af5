// Whole surveys as a surveyor records them, and the real files of the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"
#include "tests/support/corpus.h"

namespace {

using namespace m5test;

TEST(Surveys, KnownPointStationWithBacksightAndMeasurements) {
  EXPECT_EQ(Survey({
                Text(L"STAT. KNWN. PNT."),
                Text(L"INPUT VALUES", {L"ih 1.55 m", L"th 1.30 m", L"T_ 18 C"}),
                Point(L"S", L"ST", {L"Om 0.25", L"X 1000.000 m", L"Y 2000.000 m"}),
                Point(L"BS", L"", {L"Hz 6.0", L"V1 1.5", L"SD 120.5 m"}),
                Text(L"MEASURE"),
                Point(L"1", L"K", {L"Hz 1.0", L"V1 1.55", L"SD 50.0 m"}),
                Point(L"1", L"K", {L"X 1040.0 m", L"Y 2030.0 m", L"Z 101.0 m"}),
            }),
            "AddStation(\"S\")\nSetTemperature(18)\nSetPointKind(1)\nSetInstrumentHeight(1.55)\n"
            "SetCode(\"ST\")\nSetX(1000)\nSetY(2000)\n"
            "AddTarget(\"BS\")\nSetSlopeDistance(120.5)\nSetHorizontalDirection(6.25)\n"
            "SetVerticalAngle(1.5)\nSetTargetHeight(1.3)\n"
            "AddTarget(\"1\")\nSetCode(\"K\")\nSetSlopeDistance(50)\nSetHorizontalDirection(1)\n"
            "SetVerticalAngle(1.55)\nSetTargetHeight(1.3)\n"
            "AddPoint(\"1\")\nSetX(1040)\nSetY(2030)\nSetZ(101)\nSetTargetHeight(1.3)\n");
}

TEST(Surveys, FreeStationingOnTwoKnownPoints) {
  RunOptions options;
  options.layout.hz = m5::HzRecording::AbsoluteReading;
  EXPECT_EQ(Survey(
                {
                    Text(L"FREE STATIONING"),
                    Point(L"K1", L"", {L"X 100", L"Y 200", L"Hz 0.5"}),
                    Point(L"K2", L"", {L"X 300", L"Y 100", L"Hz 2.0"}),
                    Point(L"FS", L"", {L"ih 1.6", L"X 210", L"Y 150"}),
                    Text(L"COORDINATES"),
                    Point(L"10", L"", {L"Hz 1.2", L"SD 30", L"V1 1.5"}),
                },
                options),
            "AddStation(\"FS\")\nSetPointKind(1)\nSetInstrumentHeight(1.6)\nSetX(210)\nSetY(150)\n"
            "AddPoint(\"K1\")\nSetPointKind(1)\nSetX(100)\nSetY(200)\nSetHorizontalDirection(0.5)\n"
            "AddPoint(\"K2\")\nSetPointKind(1)\nSetX(300)\nSetY(100)\nSetHorizontalDirection(2)\n"
            "AddTarget(\"10\")\nSetSlopeDistance(30)\nSetHorizontalDirection(1.2)\n"
            "SetVerticalAngle(1.5)\n");
}

TEST(Surveys, HeightStationingThenANewStation) {
  EXPECT_EQ(Survey({
                Text(L"STAT. KNWN. PNT."),
                Text(L"HEIGHTSTATIONING"),
                Point(L"S", L"", {L"ih 1.5"}),
                Point(L"BM1", L"", {L"Z 50.0", L"HD 20", L"h 1.2"}),
                Point(L"S", L"", {L"X 10", L"Y 20", L"Z 48.8"}),
                Point(L"A", L"", {L"Hz 0.3", L"SD 15"}),
                Point(L"B", L"", {L"Hz 1.0"}),
                Point(L"R", L"", {L"Om 0.2"}),
                Text(L"MEASURE"),
                Point(L"C", L"", {L"Hz 2.0"}),
            }),
            // BM1 is only a height to the station; A ends the height stationing
            NotImported(m5::msg::kPointHeightStationing, L"BM1", 3, 4) +
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "SetX(10)\nSetY(20)\nSetZ(48.8)\n" +
                NotImported(m5::msg::kPointHeightStationing, L"A") +
                "AddStation(\"R\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(1.2)\n"
                "AddTarget(\"C\")\nSetHorizontalDirection(2)\n");
}

TEST(Surveys, CoordinateListWithoutStationKeywords) {
  EXPECT_EQ(Survey({
                Point(L"100", L"TREE", {L"X 10", L"Y 20", L"Z 3"}),
                Point(L"101", L"5", {L"X 11", L"Y 21"}),
                Point(L"102", L"", {L"Y 22", L"X 12"}),
            }),
            kWrongImportMode + DefaultStation("Default") +
                "AddPoint(\"100\")\nSetCode(\"TREE\")\nSetPointKind(0)\nSetX(10)\nSetY(20)\n"
                "SetZ(3)\n"
                "AddPoint(\"101\")\nSetPointKind(0)\nSetPointKind(0)\nSetX(11)\nSetY(21)\n"
                "AddPoint(\"102\")\nSetPointKind(0)\nSetX(12)\nSetY(22)\n");
}

// The corpus files are ASCII; each byte is one character.
std::vector<std::wstring> ReadLines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> lines(1);
  for (const char byte : bytes) {
    if (byte == '\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    }
  }
  return lines;
}

TEST(Surveys, EveryCorpusFileImportsWithBalancedReferences) {
  const auto files = m5test::CorpusFiles();
  if (!files) {
    GTEST_SKIP() << "no corpus at " << m5test::CorpusFolder();
  }
  for (const std::filesystem::path& path : *files) {
    SCOPED_TRACE(path.filename().string());
    const std::string trace = Survey(ReadLines(path));
    if (path.filename().string().rfind("NEGATIVE", 0) == 0) {
      EXPECT_EQ(trace, kWrongFileFormat);
    } else {
      EXPECT_EQ(trace.find(kWrongFileFormat), std::string::npos);
    }
  }
  EXPECT_FALSE(files->empty());
}

}  // namespace
