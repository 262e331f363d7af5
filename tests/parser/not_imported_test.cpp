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
      {"a station oriented again on its own name keeps the coordinates it had",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"X 1", L"Y 2"}), Point(L"S", L"", {L"Om 0.5"}),
        Point(L"S", L"", {L"Om 0.25"})},
       "AddStation(\"S\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n"},
      {"a station with its coordinates on its line, oriented again",
       {Text(L"FREE STATIONING"), Point(L"S1", L"", {L"X 100", L"Y 200", L"Om 10"}),
        Point(L"S1", L"", {L"Om 20"})},
       "AddStation(\"S1\")\nSetPointKind(1)\nSetX(100)\nSetY(200)\n"},
      {"oriented twice on S1, then on S2: the one record replaced is named",
       {Text(L"FREE STATIONING"), Point(L"S1", L"", {L"Om 10"}), Point(L"S1", L"", {L"Om 20"}),
        Point(L"S2", L"", {L"Om 30"})},
       NotImported(msg::kPointStationReplaced, L"S1", 1, 3) +
           "AddStation(\"S2\")\nSetPointKind(1)\n"},
      {"a name taken from the waiting records twice: the earlier record second",
       {Text(L"FREE STATIONING"), Point(L"A", L"", {L"X 1", L"Y 2"}),
        Point(L"A", L"", {L"X 3", L"Y 4"}), Point(L"A", L"", {L"Om 0"}),
        Point(L"B", L"", {L"Om 0"}), Point(L"A", L"", {L"Om 0"})},
       NotImported(msg::kPointStationReplaced, L"A", 2, 4) +
           NotImported(msg::kPointStationReplaced, L"B", 4, 5) +
           "AddStation(\"A\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n"},
      {"an instrument height after the station is chosen is not used",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"T", L"", {L"ih 1.7"}),
        Point(L"S", L"", {L"ih 1.5"}), Point(L"S", L"", {L"ih 1.6"})},
       Warning(msg::kInstrumentHeightNotUsed, L"T") + Warning(msg::kInstrumentHeightNotUsed, L"S") +
           kStationS},
      {"a point whose blocks are all of unknown type",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"A", L"", {L"Q1 15 m"}),
        Point(L"B", L"", {L"S\uFFFD 15 m", L"N 2"}), Point(L"C", L"", {L"QQ 1", L"Z 2"})},
       NotImported(msg::kPointTypesUnknown, L"A") + NotImported(msg::kPointTypesUnknown, L"B") +
           BlocksNotImported(L"C", {{L"QQ 1", msg::kWhyTypeUnknown}}) + kStationS +
           "AddTarget(\"C\")\nSetZ(2)\n"},
      {"a text containing START skips the points up to one containing END",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Text(L"RESTART OF JOB"),
        Point(L"A", L"", {L"Hz 1"}), Point(L"B", L"", {L"th 1"}), Point(L"C", L"", {L"Q 1"}),
        Text(L"SENDING"), Point(L"D", L"", {L"Z 4"})},
       BlocksNotImported(L"B", {{L"th 1", msg::kWhyNotReadHere}}) + SectionSkipped(2, 6, 2, 6) +
           kStationS + "AddTarget(\"D\")\nSetZ(4)\n"},
      {"a section that runs to the end of the file",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Text(L"START"),
        Point(L"A", L"", {L"Hz 1"})},
       SectionSkipped(2, 3, 1) + kStationS},
      {"a section that skipped no values says nothing",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Text(L"START"),
        Point(L"A", L"", {L"Hz"}), Text(L"END")},
       kStationS},
      {"a point whose only value its converter rejects",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Point(L"A", L"", {L"Hz 1..2"}),
        Point(L"B", L"", {L"Hz 1..2", L"Z 4"})},
       NotImported(msg::kPointValuesUnreadable, L"A") +
           BlocksNotImported(L"B", {{L"Hz 1..2", msg::kWhyValueUnreadable}}) + kStationS +
           "AddTarget(\"B\")\nSetZ(4)\n"},
      {"a point with an unreadable value and a block of unknown type is one of unreadable values",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Point(L"A", L"", {L"Q1 15 m", L"Hz 1..2"})},
       NotImported(msg::kPointValuesUnreadable, L"A") + kStationS},
      {"entered values that do not read leave those before in force, and say so",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Text(L"INPUT VALUES", {L"th 1.2", L"T_ 20"}),
        Text(L"INPUT VALUES", {L"th 1,8 m", L"T_ 2O", L"ih 1..5"}), Point(L"A", L"", {L"Hz 1"})},
       BlocksNotImported(L"INPUT VALUES", {{L"th 1,8 m", msg::kWhySurveyValueUnreadable},
                                           {L"T_ 2O", msg::kWhySurveyValueUnreadable},
                                           {L"ih 1..5", msg::kWhySurveyValueUnreadable}}) +
           "AddStation(\"S\")\nSetTemperature(20)\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
           "AddTarget(\"A\")\nSetHorizontalDirection(1)\nSetTargetHeight(1.2)\n"},
      {"the largest double is a coordinate; a number beyond any is named",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Point(L"A", L"", {L"X 1.7976931348623157e308 m", L"Y 1e309 m", L"Z 3"})},
       BlocksNotImported(L"A", {{L"Y 1e309 m", msg::kWhyValueUnreadable}}) + kStationS +
           "AddTarget(\"A\")\nSetX(" + FormatDouble(1.7976931348623157e308) + ")\nSetZ(3)\n"},
      {"fields parted by tabs read, fields not parted are named",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Point(L"A", L"", {L"Hz\t10.5\tgon", L"SD10", L"V1 100 gon\t "}),
        Point(L"B", L"", {L"Hz 2", L"SD 10.5m"})},
       BlocksNotImported(L"A", {{L"SD10", msg::kWhyTypeUnknown}}) +
           BlocksNotImported(L"B", {{L"SD 10.5m", msg::kWhyTypeUnknown}}) + kStationS +
           "AddTarget(\"A\")\nSetHorizontalDirection(10.5)\nSetVerticalAngle(100)\n"
           "AddTarget(\"B\")\nSetHorizontalDirection(2)\n"},
      {"a point line without any value is no point",
       {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
        Point(L"A", L"", {L"Hz", L"th 1.2"})},
       BlocksNotImported(L"A", {{L"th 1.2", msg::kWhyNotReadHere}}) + kStationS}};
}

INSTANTIATE_TEST_SUITE_P(NotImported, NotImportedPoints, testing::ValuesIn(NotImportedCases()));

TEST(Units, UnknownUnitReadsNothingChangesNoConverterAndIsNamedOncePerFile) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"),
                    Text(L"INPUT VALUES", {L"T_ 18 C", L"P 1013 mbar", L"T_ 20 K"}),
                    Text(L"REMARK", {L"P 1000"}),  // still the hectopascals the file began with
                    Point(L"S", L"", {L"ih 1.5", L"T_ 21 K"}), Point(L"A", L"", {L"Hz 1 bogus"}),
                    Point(L"B", L"", {L"Hz 2 gon"})}),
            Warning(msg::kUnknownUnit, L"mbar") + Warning(msg::kUnknownUnit, L"K") +
                // Named once per file: S's line names its block instead.
                BlocksNotImported(L"S", {{L"T_ 21 K", msg::kWhyUnitUnfit}}) +
                Warning(msg::kUnknownUnit, L"bogus") +
                NotImported(msg::kPointValuesUnreadable, L"A") +
                "AddStation(\"S\")\nSetPressure(1000)\nSetTemperature(18)\nSetPointKind(1)\n"
                "SetInstrumentHeight(1.5)\nAddTarget(\"B\")\nSetHorizontalDirection(2)\n");
}

// A unit of another quantity reads no value: "Hz 10 m" is no direction of 10 units. The
// unit still selects its own quantity's converter, so SD 10 gon leaves B's Hz 5 in gon.
TEST(Units, UnitOfAnotherQuantityReadsNothingAndIsNamedOncePerTypeAndUnit) {
  RunOptions options;
  options.recordFactory = true;
  const std::string trace = Survey(
      {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5 m"}),
       Point(L"A", L"", {L"Hz 10 m", L"SD 10 gon"}), Point(L"B", L"", {L"V1 99 hPa", L"Hz 5"}),
       Point(L"C", L"", {L"Hz 11 m", L"Z 4", L"T_ 20 DEG"}),
       Point(L"D", L"", {L"Hz 12 ft", L"Z 5"})},
      options);
  const std::string factory =
      "GetConverterFactory()\nfactory.GetLengthConverter(1)\nfactory.GetAngleConverter(3)\n"
      "factory.GetPressureConverter(1)\nfactory.GetTemperatureConverter(1)\n";
  EXPECT_EQ(trace, factory + "factory.GetLengthConverter(0)\nfactory.GetLengthConverter(0)\n" +
                       UnitOfAnotherQuantity(L"m", L"Hz", msg::kNeedsAngleUnit) +
                       "factory.GetAngleConverter(4)\n" +
                       UnitOfAnotherQuantity(L"gon", L"SD", msg::kNeedsLengthUnit) +
                       NotImported(msg::kPointValuesUnreadable, L"A") +
                       "factory.GetPressureConverter(1)\n" +
                       UnitOfAnotherQuantity(L"hPa", L"V1", msg::kNeedsAngleUnit) +
                       "factory.GetLengthConverter(0)\nfactory.GetAngleConverter(3)\n" +
                       UnitOfAnotherQuantity(L"DEG", L"T_", msg::kNeedsTemperatureUnit) +
                       // Hz and m were named on A's line; C's line names its block.
                       BlocksNotImported(L"C", {{L"Hz 11 m", msg::kWhyUnitUnfit}}) +
                       "factory.GetLengthConverter(1)\n" +
                       UnitOfAnotherQuantity(L"ft", L"Hz", msg::kNeedsAngleUnit) +
                       "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                       "AddTarget(\"B\")\nSetHorizontalDirection(5)\nAddTarget(\"C\")\nSetZ(4)\n"
                       "AddTarget(\"D\")\nSetZ(5)\n");
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

// A station re-oriented again and again: each direction is turned once, by the orientation
// it was measured under (the one given before the MEASURE that follows it), never by a later
// one.
TEST(LateTurns, EachDirectionIsTurnedOnlyByItsOwnOrientation) {
  RunOptions options;
  options.layout.hz = m5::HzRecording::OrientedDirection;
  for (const int turns : {1, 2, 17}) {
    SCOPED_TRACE(turns);
    // A and K are set-up directions, B is measured after the first MEASURE and C after the
    // last orientation: all wait to the end; K is taken as the station.
    std::vector<std::wstring> lines = {Text(L"FREE STATIONING"), Point(L"A", L"", {L"Hz 1"}),
                                       Point(L"K", L"", {L"X 1", L"Y 2", L"Hz 0.5"})};
    for (int i = 0; i < turns; ++i) {
      lines.push_back(Point(L"S", L"", {L"Om 0." + std::to_wstring(i + 1)}));
      if (i + 1 == turns && turns > 1) {
        lines.push_back(Point(L"C", L"", {L"Hz 1"}));
      }
      lines.push_back(Text(L"MEASURE"));
      if (i == 0) {
        lines.push_back(Point(L"B", L"", {L"Hz 1"}));
      }
    }
    lines.push_back(Point(L"K", L"", {L"Om 0"}));
    const std::string trace = Survey(lines, options);
    const auto hz = [&trace](const std::string& naming) {
      const std::string before = naming + "\nSetHorizontalDirection(";
      const std::size_t at = trace.find(before);
      return at == std::string::npos ? -1.0 : std::stod(trace.substr(at + before.size()));
    };
    EXPECT_NEAR(hz("AddTarget(\"A\")"), 1.1, 1e-12) << trace;
    EXPECT_NEAR(hz("AddTarget(\"B\")"), 1.0, 1e-12) << trace;
    EXPECT_NEAR(hz("AddStation(\"K\")\nSetPointKind(1)\nSetX(1)\nSetY(2)"), 0.6, 1e-12) << trace;
    if (turns > 1) {
      EXPECT_NEAR(hz("AddTarget(\"C\")"), 1 + std::stod("0." + std::to_string(turns)), 1e-12)
          << trace;
    }
  }
}

}  // namespace
