// Data blocks into point records and station values, and what the host gets per record.
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"

namespace {

using namespace m5test;

// A station S with instrument height 1.5 at 1000/2000, as most cases below need one.
std::vector<std::wstring> WithStation(std::initializer_list<std::wstring> lines) {
  std::vector<std::wstring> survey = {Text(L"FREE STATIONING"),
                                      Point(L"S", L"", {L"ih 1.5", L"X 1000", L"Y 2000"})};
  survey.insert(survey.end(), lines);
  return survey;
}
const std::string kStation =
    "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\nSetX(1000)\nSetY(2000)\n";

TEST(Observations, CoordinatesGoOutInTheirOrderWhateverTheBlockOrder) {
  EXPECT_EQ(Survey(WithStation({Point(L"P", L"", {L"Z 3", L"Y 2", L"X 1"})})),
            kStation + "AddPoint(\"P\")\nSetX(1)\nSetY(2)\nSetZ(3)\n");
}

TEST(Observations, LowerCaseXAndYAreRelativeToTheStation) {
  EXPECT_EQ(
      Survey(WithStation({Point(L"P", L"", {L"x 5", L"y 6"}), Point(L"Q", L"", {L"n 5", L"e 6"})})),
      kStation + "AddPoint(\"P\")\nSetX(1005)\nSetY(2006)\n" +
          "AddPoint(\"Q\")\nSetX(5)\nSetY(6)\n");
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"P", L"", {L"x 5", L"y 6"})}),
            DefaultStation("Default") + "AddPoint(\"P\")\nSetPointKind(1)\nSetX(5)\nSetY(6)\n");
}

TEST(Observations, EveryValueInItsOrderAndTheLastBlockWins) {
  EXPECT_EQ(Survey(WithStation({Point(L"P", L"", {L"V1 1.1", L"V2 1.2", L"Hz 0.7"}),
                                Point(L"Q", L"", {L"D 12", L"E 11", L"dR 0.3"}),
                                Point(L"R", L"", {L"Z 4", L"SD 9", L"HV 1.4"})})),
            kStation + "AddTarget(\"P\")\nSetHorizontalDirection(0.7)\nSetVerticalAngle(1.2)\n" +
                // Q has neither position nor direction: nothing places it
                NotImported(m5::msg::kPointNotPlaced, L"Q", 3, 4) +
                "AddTarget(\"R\")\nSetZ(4)\nSetSlopeDistance(9)\nSetVerticalAngle(1.4)\n");
}

struct CodeCase {
  const wchar_t* code;
  const char* calls;
};

class DigitCode : public testing::TestWithParam<CodeCase> {};

TEST_P(DigitCode, OneDigitIsFlagsOtherCodesAreSent) {
  EXPECT_EQ(Survey(WithStation({Point(L"P", GetParam().code, {L"Hz 1"})})),
            kStation + "AddTarget(\"P\")\n" + GetParam().calls + "SetHorizontalDirection(1)\n");
}

INSTANTIATE_TEST_SUITE_P(Observations, DigitCode,
                         testing::Values(CodeCase{L"3", "SetPointKind(0)\nSetPointFlag(0)\n"},
                                         CodeCase{L"5", "SetPointKind(0)\n"},
                                         CodeCase{L"6", "SetPointFlag(0)\n"},
                                         CodeCase{L"7", "SetPointKind(0)\nSetPointFlag(0)\n"},
                                         CodeCase{L"8", ""}, CodeCase{L"0", ""},
                                         CodeCase{L"12", "SetCode(\"12\")\n"},
                                         CodeCase{L"A", "SetCode(\"A\")\n"},
                                         CodeCase{L"%s%1%", "SetCode(\"%s%1%\")\n"}));

TEST(Observations, WithoutStationKeywordsEveryPointIsPlainAndStaysPlain) {
  EXPECT_EQ(Survey({Point(L"P", L"1", {L"X 1", L"Y 2"}), Point(L"S", L"", {L"Om 0.1"}),
                    Point(L"P", L"", {L"Hz 1"})}),
            kWrongImportMode +
                "AddPoint(\"S\")\nSetPointKind(0)\n"
                "AddPoint(\"P\")\nSetPointKind(0)\nSetPointKind(0)\nSetX(1)\nSetY(2)\n"
                "AddTarget(\"P\")\nSetPointKind(0)\nSetHorizontalDirection(1)\n");
}

TEST(Observations, HeightDifferenceOverADistanceGetsTheInstrumentHeightFirst) {
  EXPECT_EQ(Survey(WithStation({Text(L"INPUT VALUES", {L"th 1.2"}),
                                Point(L"P", L"", {L"Hz 1", L"HD 10", L"h 0.5"}),
                                Point(L"Q", L"", {L"Hz 2", L"h 0.25"})})),
            kStation +
                "AddTarget(\"P\")\nSetHorizontalDirection(1)\nSetHorizontalDistance(10)\n"
                "SetTargetHeight(1.2)\nSetTargetHeight(1.5)\nSetHeightDifference(0.5)\n"
                "AddTarget(\"Q\")\nSetHorizontalDirection(2)\nSetTargetHeight(1.2)\n"
                "SetHeightDifference(0.25)\n");
}

TEST(Observations, InstrumentHeightChangeWithinAStationIsReportedOnce) {
  const auto survey = [](const wchar_t* second) {
    return Survey({Text(L"FREE STATIONING"), Text(L"INPUT VALUES", {L"ih 1.500"}),
                   Point(L"S", L"", {std::wstring(L"ih ") + second}),
                   Text(L"INPUT VALUES", {std::wstring(L"ih ") + second})});
  };
  EXPECT_EQ(survey(L"1.600"),
            kHeightChanged + "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.6)\n");
  EXPECT_EQ(survey(L"1.500"), "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n");
}

TEST(Observations, EachStationComparesOnlyItsOwnHeights) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
                    Text(L"FREE STATIONING"), Point(L"T", L"", {L"ih 1.7"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
            "AddStation(\"T\")\nSetPointKind(1)\nSetInstrumentHeight(1.7)\n");
}

TEST(Observations, AirValuesNeedNoPointButCoordinatesDo) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING", {L"T_ 25"}),  // keyword lines read no blocks
                    Text(L"REMARK", {L"T_ 20", L"X 5", L"P 990"}), Point(L"S", L"", {L"Om 0.1"})}),
            BlocksNotImported(L"FREE STATIONING", {{L"T_ 25", m5::msg::kWhyNotReadHere}}) +
                BlocksNotImported(L"REMARK", {{L"X 5", m5::msg::kWhyNotReadHere}}) +
                "AddStation(\"S\")\nSetPressure(990)\nSetTemperature(20)\nSetPointKind(1)\n");
}

TEST(Observations, UnitsSelectTheConverterForTheirOwnBlock) {
  RunOptions options;
  options.recordFactory = true;
  const std::string trace = Survey(
      WithStation({Point(L"P", L"", {L"SD        12.345 m   ", L"V1 90.3000 DMS", L"Hz 1 gon"}),
                   Point(L"Q", L"", {L"Hz 2", L"T 20 F", L"P 760 mmHg"})}),
      options);
  EXPECT_NE(trace.find("factory.GetLengthConverter(0)\n"
                       "factory.GetAngleConverter(1)\n"
                       "factory.GetAngleConverter(4)\n"
                       "factory.GetTemperatureConverter(1)\n"
                       "factory.GetPressureConverter(0)\n"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("AddTarget(\"P\")\nSetSlopeDistance(12.345)\nSetHorizontalDirection(1)\n"
                       "SetVerticalAngle(90.5)\n"),
            std::string::npos)
      << trace;
}

}  // namespace
