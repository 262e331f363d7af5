// Points that do not reach the host are named on their own line, units the tables do not
// know read nothing, and directions turned late come out as if turned at once.
#include <gtest/gtest.h>

#include <cmath>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"
#include "tests/support/recording_host.h"

namespace {

using namespace m5test;
namespace msg = m5::msg;

const std::string kStationS = "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n";

struct SurveyCase {
  const char* what;
  std::vector<std::wstring> lines;
  std::string calls;
};

class NotImportedPoints : public testing::TestWithParam<SurveyCase> {};

TEST_P(NotImportedPoints, AreNamedOnTheirLine) {
  EXPECT_EQ(Survey(GetParam().lines), GetParam().calls) << GetParam().what;
}

// Height stationing after a set-up on S: lines 0 to 2.
std::vector<std::wstring> HeightStation(std::initializer_list<std::wstring> lines) {
  std::vector<std::wstring> survey = {Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"),
                                      Point(L"S", L"", {L"ih 1.5"})};
  survey.insert(survey.end(), lines);
  return survey;
}

std::vector<SurveyCase> NotImportedCases() {
  return {
      {"a height kept current, then replaced by the next point",
       HeightStation({Point(L"A", L"", {L"Z 5"}), Point(L"B", L"", {L"Z 6"}), Text(L"MEASURE")}),
       NotImported(msg::kPointHeightStationing, L"A", 3, 4) + kStationS +
           "AddTarget(\"B\")\nSetZ(6)\n"},
      {"a height committed by the next text record reaches the host",
       HeightStation({Point(L"A", L"", {L"Z 5"}), Text(L"MEASURE")}),
       kStationS + "AddTarget(\"A\")\nSetZ(5)\n"},
      {"a height kept current at the end of the file", HeightStation({Point(L"A", L"", {L"Z 5"})}),
       kStationS + NotImported(msg::kPointHeightStationing, L"A")},
      {"a height kept current when a fatal line stops the file",
       HeightStation({Point(L"A", L"", {L"Z 5"}), L"END|", L"For R5|"}),
       kWrongFileFormat + kStationS + NotImported(msg::kPointHeightStationing, L"A", 3, -1)},
      {"a station keyword does not commit the height kept current",
       HeightStation(
           {Point(L"A", L"", {L"Z 5"}), Text(L"FREE STATIONING"), Point(L"T", L"", {L"ih 1.6"})}),
       kStationS + NotImported(msg::kPointHeightStationing, L"A", 3, 5) +
           "AddStation(\"T\")\nSetPointKind(1)\nSetInstrumentHeight(1.6)\n"},
      {"the first direction ends height stationing and is dropped",
       HeightStation({Point(L"A", L"", {L"Hz 1", L"SD 5"})}),
       kStationS + NotImported(msg::kPointHeightStationing, L"A") + DefaultStation("Default") +
           "SetInstrumentHeight(1.5)\n"},
      {"the station's own coordinates go into the station unnamed",
       HeightStation({Point(L"S", L"", {L"X 1", L"Y 2", L"Z 3"})}),
       kStationS + "SetX(1)\nSetY(2)\nSetZ(3)\n"},
      {"a station given up for another point",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"T", L"", {L"Om 0.5"})},
       NotImported(msg::kPointStationReplaced, L"S", 1, 2) +
           "AddStation(\"T\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"},
      {"a station oriented again on its own name keeps its name",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"S", L"", {L"Om 0.5"})},
       kStationS},
      {"a station oriented again on its own name loses the coordinates it had",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"X 1", L"Y 2"}), Point(L"S", L"", {L"Om 0.5"}),
        Point(L"S", L"", {L"Om 0.25"})},
       NotImported(msg::kPointStationReplaced, L"S", 1, 3) +
           "AddStation(\"S\")\nSetPointKind(1)\n"},
      {"a point whose only value its converter rejects",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"A", L"", {L"Hz 1..2"}),
        Point(L"B", L"", {L"Hz 1..2", L"Z 4"})},
       NotImported(msg::kPointValuesUnreadable, L"A") + kStationS + "AddTarget(\"B\")\nSetZ(4)\n"},
      {"a point line without any value is no point",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Point(L"A", L"", {L"Hz", L"th 1.2"})},
       kStationS}};
}

INSTANTIATE_TEST_SUITE_P(NotImported, NotImportedPoints, testing::ValuesIn(NotImportedCases()));

TEST(Units, UnknownUnitReadsNothingChangesNoConverterAndIsNamedOncePerFile) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"),
                    Text(L"INPUT VALUES", {L"T_ 18 C", L"P 1013 mbar", L"T_ 20 K"}),
                    Text(L"REMARK", {L"P 1000"}),  // still the hectopascals the file began with
                    Point(L"S", L"", {L"ih 1.5", L"T_ 21 K"}), Point(L"A", L"", {L"Hz 1 bogus"}),
                    Point(L"B", L"", {L"Hz 2 gon"})}),
            Warning(msg::kUnknownUnit, L"mbar") + Warning(msg::kUnknownUnit, L"K") +
                Warning(msg::kUnknownUnit, L"bogus") +
                NotImported(msg::kPointValuesUnreadable, L"A") +
                "AddStation(\"S\")\nSetPressure(1000)\nSetTemperature(18)\nSetPointKind(1)\n"
                "SetInstrumentHeight(1.5)\nAddTarget(\"B\")\nSetHorizontalDirection(2)\n");
}

TEST(Units, UnknownUnitOfAnOrientationStillChoosesTheStation) {
  // A's direction is not turned: the orientation was not read.
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"A", L"", {L"Hz 1"}),
                    Point(L"S", L"", {L"Om 0.5 rad"}), Text(L"MEASURE")}),
            Warning(msg::kUnknownUnit, L"rad") +
                "AddStation(\"S\")\nSetPointKind(1)\nAddTarget(\"A\")\n"
                "SetHorizontalDirection(1)\n");
}

TEST(Units, AHugeUnknownUnitIsNamedByItsStart) {
  const std::string trace = Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
                                    Point(L"A", L"", {L"Hz 1 " + std::wstring(100000, L'u')})});
  EXPECT_EQ(trace, Warning(msg::kUnknownUnit, std::wstring(16, L'u') + L"\u2026") +
                       NotImported(msg::kPointValuesUnreadable, L"A") + kStationS);
}

// The directions observed in the set-up, turned by every orientation given before the
// MEASURE that follows it: one by one, or by their sum after very many.
double Turned(double hz, int turns, double orientation) {
  constexpr double kFullCircle = 6.2831853071796;
  return std::fmod(hz + turns * orientation, kFullCircle);
}

TEST(LateTurns, DirectionsComeOutAsIfTurnedAtOnce) {
  RunOptions options;
  options.layout.hz = m5::HzRecording::OrientedDirection;
  for (const int turns : {1, 2, 16, 17, 200}) {
    SCOPED_TRACE(turns);
    // A waits through every turn and goes out at the end; K too, taken as the station.
    std::vector<std::wstring> lines = {Text(L"FREE STATIONING"), Point(L"A", L"", {L"Hz 1"}),
                                       Point(L"K", L"", {L"X 1", L"Y 2", L"Hz 0.5"})};
    for (int i = 0; i < turns; ++i) {
      lines.push_back(Point(L"S", L"", {L"Om 0.1"}));
      lines.push_back(Text(L"MEASURE"));
    }
    lines.push_back(Point(L"K", L"", {L"Om 0"}));
    const std::string trace = Survey(lines, options);
    const std::size_t a = trace.find("AddTarget(\"A\")\nSetHorizontalDirection(");
    const std::size_t k = trace.find("AddStation(\"K\")\n");
    ASSERT_NE(a, std::string::npos) << trace;
    ASSERT_NE(k, std::string::npos) << trace;
    EXPECT_NEAR(std::stod(trace.substr(a + 38)), Turned(1, turns, 0.1), 1e-12);
    const std::size_t kHz = trace.find("SetHorizontalDirection(", k);
    EXPECT_NEAR(std::stod(trace.substr(kHz + 23)), Turned(0.5, turns, 0.1), 1e-12);
  }
}

}  // namespace
