// Station keywords, set-up, measuring, height stationing, the choice of the station point and
// the station flush, each as a short survey and the calls the host gets for it.
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"
#include "tests/support/messages.h"
#include "tests/support/recording_host.h"

namespace {

using namespace m5test;

constexpr double kFullCircle = 6.2831853071796;
constexpr m5::HzRecording kOriented = m5::HzRecording::OrientedDirection;
constexpr m5::HzRecording kAbsolute = m5::HzRecording::AbsoluteReading;

TEST(StationState, FirstKeywordClosesNothingSecondGivesDefaultStations) {
  EXPECT_EQ(Survey({Text(L"STAT. KNWN. PNT."), Text(L"FREE STATIONING")}),
            DefaultStation("Default") + DefaultStation("Default_1"));
}

TEST(StationState, ObservationsWithoutStationGoToDefaultStationAtTheEnd) {
  EXPECT_EQ(Survey({Point(L"A", L"", {L"Hz 1"}), Point(L"B", L"", {L"SD 10"}),
                    Point(L"C", L"", {L"Z 5"})}),
            kWrongImportMode + DefaultStation("Default") +
                "AddTarget(\"A\")\nSetPointKind(0)\nSetHorizontalDirection(1)\n" +
                // B has only a distance: nothing places it
                NotImported(m5::msg::kPointNotPlaced, L"B", 1, -1) +
                "AddTarget(\"C\")\nSetPointKind(0)\nSetZ(5)\n");
}

TEST(StationState, StationChosenBeforeAnyKeywordIsAPlainPoint) {
  EXPECT_EQ(Survey({Point(L"S", L"", {L"Om 0.1", L"X 1", L"Y 2"}), Point(L"A", L"", {L"Hz 1"})}),
            kWrongImportMode +
                "AddPoint(\"S\")\nSetPointKind(0)\nSetX(1)\nSetY(2)\n"
                "AddTarget(\"A\")\nSetPointKind(0)\nSetHorizontalDirection(1)\n");
}

TEST(StationState, HeightStationingFirstFlushesLikeAnyKeyword) {
  EXPECT_EQ(Survey({Point(L"A", L"", {L"Hz 1"}), Text(L"HEIGHTSTATIONING"),
                    Point(L"S", L"", {L"ih 1.5"}), Point(L"B", L"", {L"Hz 2"})}),
            DefaultStation("Default") +
                "AddTarget(\"A\")\nSetPointKind(0)\nSetHorizontalDirection(1)\n"
                // a normal set-up: B is an observation, not the end of height stationing
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(2)\n");
}

TEST(StationState, HeightStationingAfterSetUpCollectsHeightsUntilTheFirstDirection) {
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"}),
              Point(L"S", L"", {L"X 10", L"Y 20", L"Z 30"}),  // copied into S
              Point(L"A", L"", {L"Z 5"}),                     // neither kept nor sent
              Point(L"B", L"", {L"Hz 2"}),                    // ends it, itself lost
              Point(L"C", L"", {L"Hz 3"})}),
      NotImported(m5::msg::kPointHeightStationing, L"A", 4, 5) +
          "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
          "SetX(10)\nSetY(20)\nSetZ(30)\n" +
          NotImported(m5::msg::kPointHeightStationing, L"B") + DefaultStation("Default") +
          "SetInstrumentHeight(1.5)\nAddTarget(\"C\")\nSetHorizontalDirection(3)\n");
}

TEST(StationState, OrientationOnAnotherPointEndsHeightStationing) {
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"}),
              Point(L"S", L"", {L"Om 0.5"}), Point(L"R", L"", {L"Om 0.25", L"X 1", L"Y 2"})}),
      // The height station orienting itself reads nothing, and says so.
      BlocksNotImported(L"S", {{L"Om 0.5", m5::msg::kWhyNotReadHere}}) +
          "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
          "AddStation(\"R\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\nSetX(1)\nSetY(2)\n");
}

TEST(StationState, TargetWithTheStationsNameIsRejected) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"50%s%1%", L"", {L"ih 1.5"}), Text(L"MEASURE"),
                    Point(L"50%s%1%", L"", {L"Hz 1"})}),
            m5test::ErrorCall(m5::msg::kTargetNamedAsStation, L"50%s%1%") + "\n" +
                "AddStation(\"50%s%1%\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n");
}

TEST(StationState, MeasuringWithoutStationIsReportedAndChangesNothing) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Text(L"COORDINATES", {L"T_ 20"}),
                    Point(L"K", L"", {L"X 1", L"Y 2"})}),
            kNoStationDeclared +
                BlocksNotImported(L"COORDINATES", {{L"T_ 20", m5::msg::kWhyNotReadHere}}) +
                DefaultStation("Default") +
                // still in set-up: the known point keeps kind 1; the temperature was not read
                "AddPoint(\"K\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n");
}

TEST(StationState, TargetHeightFollowsInputValuesAndReflector) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5", L"th 9"}),
                    Text(L"INPUT VALUES", {L"th 1.7"}), Point(L"A", L"", {L"Hz 1"}),
                    Text(L"NO REFLECTOR"), Point(L"B", L"", {L"Hz 2"}), Text(L"NORMAL REFLECTOR"),
                    Point(L"C", L"", {L"Hz 3"}), Text(L"REFLECT FOIL", {L"th 5"}),
                    Point(L"D", L"", {L"Hz 4"})}),
            // th only on a line of input values: the others are named
            BlocksNotImported(L"S", {{L"th 9", m5::msg::kWhyNotReadHere}}) +
                BlocksNotImported(L"REFLECT FOIL", {{L"th 5", m5::msg::kWhyNotReadHere}}) +
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "AddTarget(\"A\")\nSetHorizontalDirection(1)\nSetTargetHeight(1.7)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(2)\nSetTargetHeight(0)\n"
                "AddTarget(\"C\")\nSetHorizontalDirection(3)\nSetTargetHeight(1.7)\n"
                "AddTarget(\"D\")\nSetHorizontalDirection(4)\nSetTargetHeight(1.7)\n");
}

TEST(StationState, SkippedSectionReadsNoBlocksUntilTheRecordThatClosesIt) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
                    Text(L"START", {L"P 1000"}), Point(L"A", L"", {L"Hz 1"}), Text(L"NO REFLECTOR"),
                    Text(L"END", {L"Hz 2"}), Point(L"B", L"", {L"Hz 3"})}),
            // A's own direction was skipped; the closing record's went to it
            BlocksNotImported(L"START", {{L"P 1000", m5::msg::kWhyNotReadHere}}) +
                SectionSkipped(2, 5, 1, 5) +
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "AddTarget(\"A\")\nSetHorizontalDirection(2)\nSetTargetHeight(0)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(3)\nSetTargetHeight(0)\n");
}

TEST(StationState, MissingTimeOfMeasurementIsReportedOnce) {
  // Name in 14 characters, code in 13, then a time of four characters only.
  const std::wstring noTime = Line(L"PI1 A             K             8:30", {L"Hz 1"});
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), noTime,
                    Text(L"MEASURE"), Point(L"B", L"", {L"Hz 2"}), noTime, noTime}),
            kMaybeOldSoftware +
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
                "AddTarget(\"A\")\nSetCode(\"K\")\nSetHorizontalDirection(1)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(2)\n"
                "AddTarget(\"A\")\nSetCode(\"K\")\nSetHorizontalDirection(1)\n"
                "AddTarget(\"A\")\nSetCode(\"K\")\nSetHorizontalDirection(1)\n");
}

TEST(StationState, CodeGoesOnceForAPointMeasuredThenGivenCoordinates) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}), Text(L"MEASURE"),
                    Point(L"1", L"FENCE", {L"Hz 1"}), Point(L"1", L"FENCE", {L"X 5", L"Y 6"}),
                    Point(L"1", L"FENCE", {L"X 7", L"Y 8"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
            "AddTarget(\"1\")\nSetCode(\"FENCE\")\nSetHorizontalDirection(1)\n"
            "AddPoint(\"1\")\nSetX(5)\nSetY(6)\n"
            "AddPoint(\"1\")\nSetCode(\"FENCE\")\nSetX(7)\nSetY(8)\n");
}

TEST(StationState, KnownPointMeasuredInSetUpIsKindOneUnlessAlreadyPlain) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"K1", L"", {L"X 1", L"Y 2"}),
                    Point(L"K2", L"1", {L"X 3", L"Y 4"}), Point(L"S", L"", {L"ih 1.5"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
            "AddPoint(\"K1\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n"
            "AddPoint(\"K2\")\nSetPointKind(0)\nSetX(3)\nSetY(4)\n");
}

TEST(StationState, StationSendsAirValuesAndDefaultStationToo) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Text(L"INPUT VALUES", {L"T_ 20 C", L"P 1000 hPa"}),
                    Point(L"S", L"", {L"ih 1.5"}), Text(L"FREE STATIONING")}),
            "AddStation(\"S\")\nSetPressure(1000)\nSetTemperature(20)\nSetPointKind(1)\n"
            "SetInstrumentHeight(1.5)\n" +
                DefaultStation("Default") +
                "SetPressure(1000)\nSetTemperature(20)\nSetInstrumentHeight(1.5)\n");
}

TEST(StationState, UnknownRecordTypesEndTheLine) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
                    Line(L"TX  MEASURE", {L"P 1"}), Line(L"P", {L"Hz 1"}), Line(L"", {L"P 2"})}),
            BlocksNotImported(L"TX MEASURE", {{L"P 1", m5::msg::kWhyNotReadHere}}) +
                BlocksNotImported(L"P", {{L"Hz 1", m5::msg::kWhyNotReadHere}}) +
                BlocksNotImported(L"", {{L"P 2", m5::msg::kWhyNotReadHere}}) +
                "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n");
}

struct OrientationCase {
  m5::HzRecording recording;
  const wchar_t* hz;
  const wchar_t* orientation;
  double oriented;
};

class Orientation : public testing::TestWithParam<OrientationCase> {};

TEST_P(Orientation, SetUpDirectionsAreRotatedWhenMeasuringStarts) {
  const OrientationCase& c = GetParam();
  RunOptions options;
  options.layout.hz = c.recording;
  const std::wstring hz = std::wstring(L"Hz ") + c.hz;
  const std::wstring om = std::wstring(L"Om ") + c.orientation;
  // B is measured after MEASURE: its direction is never turned.
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"A", L"", {hz}), Point(L"S", L"", {om}),
                    Text(L"MEASURE"), Point(L"B", L"", {L"Hz 1"})},
                   options),
            (std::wstring(c.orientation) == L"bad"
                 ? BlocksNotImported(L"S", {{om, m5::msg::kWhyValueUnreadable}})
                 : std::string()) +
                "AddStation(\"S\")\nSetPointKind(1)\n"
                "AddTarget(\"A\")\nSetHorizontalDirection(" +
                FormatDouble(c.oriented) +
                ")\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(1)\n");
}

INSTANTIATE_TEST_SUITE_P(
    StationState, Orientation,
    testing::Values(OrientationCase{kOriented, L"6.0", L"0.5", 6.5 - kFullCircle},
                    OrientationCase{kOriented, L"0.5", L"0.5", 1.0},
                    OrientationCase{kOriented, L"-1.0", L"0.5", -0.5 + kFullCircle},
                    OrientationCase{kOriented, L"20.0", L"0.5", 20.5 - 3 * kFullCircle},
                    OrientationCase{kOriented, L"-20.0", L"0.5", -19.5 + 4 * kFullCircle},
                    OrientationCase{kOriented, L"6.0", L"0.283185", 6.283185},    // below the snap
                    OrientationCase{kOriented, L"6.0", L"0.28318526", 0.0},       // within 0.01"
                    OrientationCase{kOriented, L"6.2831853071796", L"0.5", 0.5},  // exactly T turns
                    OrientationCase{kAbsolute, L"6.0", L"0.5", 6.0},    // absolute readings
                    OrientationCase{kOriented, L"6.0", L"0", 6.0},      // nothing to turn
                    OrientationCase{kOriented, L"6.0", L"bad", 6.0}));  // rejected: 0

TEST(StationState, AnOrientationNeverMeasuredFromEndsWithItsStation) {
  RunOptions options;
  options.layout.hz = m5::HzRecording::OrientedDirection;
  // A is oriented but never measured from; B's set-up direction to C stays as read.
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"A", L"", {L"Om 1"}), Text(L"FREE STATIONING"),
                    Point(L"B", L"", {L"ih 1.5"}), Point(L"C", L"", {L"Hz 1"}), Text(L"MEASURE")},
                   options),
            "AddStation(\"A\")\nSetPointKind(1)\n"
            "AddStation(\"B\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
            "AddTarget(\"C\")\nSetHorizontalDirection(1)\n");
}

TEST(StationState, HugeDirectionsEndUpOnTheCircleWithoutHanging) {
  for (const wchar_t* hz : {L"1e300", L"-1e300", L"1.7e308"}) {
    const std::string trace =
        Survey({Text(L"FREE STATIONING"), Point(L"A", L"", {std::wstring(L"Hz ") + hz}),
                Point(L"S", L"", {L"Om 1e308"}), Text(L"MEASURE")});
    const std::size_t at = trace.find("SetHorizontalDirection(");
    if (at == std::string::npos) {
      continue;  // a sum beyond any double is dropped
    }
    const double value = std::stod(trace.substr(at + 23));
    EXPECT_GE(value, 0.0) << trace;
    EXPECT_LT(value, kFullCircle) << trace;
  }
}

}  // namespace

namespace {

using namespace m5test;

struct KeywordCase {
  const wchar_t* infoBlock;
  bool opensStation;
};

class Keyword : public testing::TestWithParam<KeywordCase> {};

// A keyword opens a set-up: the default station after it comes from the flush it makes.
TEST_P(Keyword, OnlyTheSixKeywordsOnTextRecordsOpenAStation) {
  const std::string trace =
      Survey({Text(L"FREE STATIONING"), Line(GetParam().infoBlock), Text(L"FREE STATIONING")});
  EXPECT_EQ(trace, GetParam().opensStation
                       ? DefaultStation("Default") + DefaultStation("Default_1") +
                             DefaultStation("Default_2")
                       : DefaultStation("Default") + DefaultStation("Default_1"));
}

INSTANTIATE_TEST_SUITE_P(
    StationState, Keyword,
    testing::Values(
        KeywordCase{L"TI  STAT. KNWN. PNT.", true}, KeywordCase{L"TR  STAT. KNOWN POINT/", true},
        KeywordCase{L"TG  FREE STATIONING", true}, KeywordCase{L"TI  FREE STATIONING/   ", true},
        KeywordCase{L"TIxx\tEccentric Station", true},
        KeywordCase{L"TI  HEIGHTSTATIONING", false},  // within a set-up: no flush
        KeywordCase{L"TI  FREE STATIONING 2", false}, KeywordCase{L"TI  free stationing", false},
        KeywordCase{L"TI  KN STAT", false}, KeywordCase{L"TO  FREE STATIONING", false},
        KeywordCase{L"PI  FREE STATIONING", false},
        KeywordCase{L"TI FREE STATIONING", false}));  // the prefix eats an "F"

TEST(StationState, PointRecordTypesAllNamePoints) {
  EXPECT_EQ(
      Survey({Text(L"FREE STATIONING"), Line(L"PI1 S", {L"ih 1.5"}), Line(L"KR1 A", {L"Hz 1"}),
              Line(L"KD2 B", {L"Hz 2"}), Line(L"TO  C", {L"Hz 3"})}),
      BlocksNotImported(L"TO C", {{L"Hz 3", m5::msg::kWhyNotReadHere}}) +
          "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
          "AddTarget(\"A\")\nSetHorizontalDirection(1)\n"
          "AddTarget(\"B\")\nSetHorizontalDirection(2)\n");
}

TEST(StationState, HeightStationingBeforeAnyStationCollectsObservations) {
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"A", L"", {L"Hz 1"}),
              Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"})}),
      "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
      "AddTarget(\"A\")\nSetHorizontalDirection(1)\n");
}

TEST(StationState, TheLatestPendingPointWithCoordinatesBecomesTheStation) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"X 1", L"Y 1"}),
                    Point(L"A", L"", {L"Hz 1"}), Point(L"S", L"", {L"X 2", L"Y 2"}),
                    Point(L"S", L"", {L"Hz 3"}), Point(L"S", L"", {L"Om 0.5"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetX(2)\nSetY(2)\n"
            "AddPoint(\"S\")\nSetPointKind(1)\nSetX(1)\nSetY(1)\n"
            "AddTarget(\"A\")\nSetHorizontalDirection(1)\n"
            "AddTarget(\"S\")\nSetHorizontalDirection(3)\n");
}

TEST(StationState, InstrumentHeightTakesThePendingPointWithCoordinatesAsStation) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"C", {L"X 1", L"Y 2"}),
                    Point(L"S", L"", {L"ih 1.5"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\nSetCode(\"C\")\n"
            "SetX(1)\nSetY(2)\n");
  // Without coordinates the pending S is only a target; the new line is the station.
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"C", {L"Hz 1"}),
                    Point(L"S", L"", {L"ih 1.5"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
            "AddTarget(\"S\")\nSetCode(\"C\")\nSetHorizontalDirection(1)\n");
}

TEST(StationState, InstrumentHeightOnAPointLineOnlyChoosesTheFirstStation) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih bad"}),
                    Point(L"T", L"", {L"ih 1.7", L"Hz 1"})}),
            // T's height is not used, and the user is told so on its line
            BlocksNotImported(L"S", {{L"ih bad", m5::msg::kWhySurveyValueUnreadable}}) +
                Warning(m5::msg::kInstrumentHeightNotUsed, L"T") +
                "AddStation(\"S\")\nSetPointKind(1)\n"
                "AddTarget(\"T\")\nSetHorizontalDirection(1)\n");
}

TEST(StationState, RejectedOrientationStillChoosesTheStation) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"Om 1..2"}),
                    Point(L"T", L"", {L"Om 0.5", L"Hz 1"})}),
            // T orients anew: S is dropped unsent, T is the station and not an observation
            BlocksNotImported(L"S", {{L"Om 1..2", m5::msg::kWhyValueUnreadable}}) +
                NotImported(m5::msg::kPointStationReplaced, L"S", 1, 2) +
                "AddStation(\"T\")\nSetPointKind(1)\nSetHorizontalDirection(1)\n");
}

}  // namespace
