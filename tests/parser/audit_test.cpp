// Station choices and record reuse that the other station tests leave out: a station given
// up for another without a flush, height stationing ended by orienting while measuring or
// by a direction, a height station given incomplete coordinates, heights entered before the
// first station, and records of a flushed station handed out again for the next one.
#include <gtest/gtest.h>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"
#include "tests/support/recording_host.h"

namespace {

using namespace m5test;

const std::string kStationS = "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n";

TEST(StationChoice, OrientingOnAPendingKnownPointMakesItTheStationAndDropsTheOldOne) {
  // S never reaches the host, and is named: orienting on A chose A, with the coordinates of
  // its first line.
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"Om 0.5"}),
                    Point(L"A", L"", {L"X 1", L"Y 2"}), Point(L"A", L"", {L"Om 0.25"}),
                    Point(L"B", L"", {L"Hz 1"})}),
            NotImported(m5::msg::kPointStationReplaced, L"S", 1, 3) +
                "AddStation(\"A\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n"
                "AddTarget(\"B\")\nSetHorizontalDirection(1)\n");
}

TEST(StationChoice, OrientingOnAnotherPointWhileMeasuringEndsAnOpenHeightStationing) {
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"}),
              Text(L"MEASURE"), Point(L"A", L"", {L"Om 0.1"}), Point(L"B", L"", {L"Hz 2"})}),
      kStationS +
          "AddStation(\"A\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
          "AddTarget(\"B\")\nSetHorizontalDirection(2)\n");
}

TEST(StationChoice, HeightStationingClosedByADirectionLeavesAPlainSetUp) {
  // Once closed, orienting on another point while measuring replaces the station as in
  // any set-up, and a new HEIGHTSTATIONING opens the height stationing again.
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"}),
              Point(L"B", L"", {L"Hz 2"}), Point(L"T", L"", {L"Om 0.1"}), Text(L"MEASURE"),
              Point(L"R", L"", {L"Om 0.2"}), Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"),
              Point(L"U", L"", {L"ih 1.5"}), Point(L"C", L"", {L"Hz 3"})}),
      kStationS + NotImported(m5::msg::kPointHeightStationing, L"B") +
          NotImported(m5::msg::kPointStationReplaced, L"T", 4, 6) +
          "AddStation(\"R\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"
          "AddStation(\"U\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n" +
          NotImported(m5::msg::kPointHeightStationing, L"C") + DefaultStation("Default") +
          "SetInstrumentHeight(1.5)\n");
}

TEST(StationChoice, HeightEnteredBeforeTheFirstKeywordIsNotTheNextStations) {
  // The first station keyword sends nothing, but it still starts the station afresh.
  EXPECT_EQ(Survey({Text(L"INPUT VALUES", {L"ih 1.5"}), Text(L"FREE STATIONING"),
                    Point(L"S", L"", {L"ih 1.6"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.6)\n");
}

TEST(StationChoice, HeightStationTakesCoordinatesOnlyWithAHeight) {
  // X and Y without Z are not the station's position; the first direction still ends it.
  EXPECT_EQ(
      Survey({Text(L"STAT. KNWN. PNT."), Text(L"HEIGHTSTATIONING"), Point(L"S", L"", {L"ih 1.5"}),
              Point(L"S", L"", {L"X 10", L"Y 20"}), Point(L"C", L"", {L"Hz 3"})}),
      NotImported(m5::msg::kPointHeightStationing, L"S", 3, 4) + kStationS +
          NotImported(m5::msg::kPointHeightStationing, L"C") + DefaultStation("Default") +
          "SetInstrumentHeight(1.5)\n");
}

TEST(StationChoice, NextStationsPointsCarryNothingOfTheLastStations) {
  // K1's record goes back to the parser after the flush; P and Q must arrive as read.
  EXPECT_EQ(
      Survey({Text(L"FREE STATIONING"), Text(L"INPUT VALUES", {L"th 1.7"}),
              Point(L"K1", L"FENCE", {L"X 1", L"Y 2", L"Z 3"}),
              Point(L"K2", L"5", {L"HD 4", L"h 0.5", L"V1 1.2"}), Point(L"S", L"", {L"ih 1.5"}),
              Text(L"FREE STATIONING"), Text(L"NO REFLECTOR"), Point(L"P", L"", {L"Hz 3"}),
              Point(L"Q", L"", {L"SD 7"}), Point(L"T", L"", {L"ih 1.6"})}),
      kStationS +
          "AddPoint(\"K1\")\nSetCode(\"FENCE\")\nSetPointKind(1)\nSetX(1)\nSetY(2)\n"
          "SetZ(3)\nSetTargetHeight(1.7)\n" +
          // K2 has neither coordinates nor a direction: nothing places it
          NotImported(m5::msg::kPointNotPlaced, L"K2", 3, 5) +
          "AddStation(\"T\")\nSetPointKind(1)\nSetInstrumentHeight(1.6)\n"
          "AddTarget(\"P\")\nSetHorizontalDirection(3)\nSetTargetHeight(0)\n" +
          NotImported(m5::msg::kPointNotPlaced, L"Q", 8, 9));
}

}  // namespace
