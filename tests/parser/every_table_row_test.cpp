// Every row of the type-code table and every one-digit code through a whole parse, so a row
// that stops meaning what it meant shows in what the host receives.
#include <gtest/gtest.h>

#include "tests/parser/parser_run.h"
#include "tests/support/recording_host.h"

namespace {

using namespace m5test;

// Where a block of the type is read: on an observation of station S (at 1000/2000, with a
// direction so the record is placed), on the station's own record, or among the input values.
enum class Place { Observation, Station, InputValues };

struct TypeRow {
  const wchar_t* code;
  Place place;
  const char* call;  // what the value 1.25 becomes; empty: the block is no value at all
};

std::vector<std::wstring> SurveyWith(Place place, const std::wstring& block) {
  switch (place) {
    case Place::Observation:
      return {Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5", L"X 1000", L"Y 2000"}),
              Point(L"P", L"", {L"Hz 2", block})};
    case Place::Station:
      return {Text(L"STAT. KNWN. PNT."), Point(L"S", L"", {block}), Point(L"P", L"", {L"SD 5"})};
    case Place::InputValues:
      break;
  }
  return {Text(L"FREE STATIONING"), Text(L"INPUT VALUES", {block}),
          Point(L"K", L"", {L"X 1", L"Y 2"})};
}

class TypeCodeRow : public testing::TestWithParam<TypeRow> {};

TEST_P(TypeCodeRow, CarriesItsValueToTheHost) {
  const TypeRow& row = GetParam();
  const std::string trace = Survey(SurveyWith(row.place, std::wstring(row.code) + L" 1.25"));
  if (*row.call == '\0') {
    // No host call carries it; the message naming the block does.
    EXPECT_EQ(trace.find("(1.25)"), std::string::npos) << trace;
    EXPECT_NE(trace.find(m5test::ToUtf8(std::wstring(row.code) + L" 1.25\u00BB")),
              std::string::npos)
        << trace;
  } else {
    EXPECT_NE(trace.find(row.call), std::string::npos) << row.call << " missing from\n" << trace;
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EveryTableRow, TypeCodeRow, testing::Values(
    // The record types of the information block are no values in a data block.
    TypeRow{L"PI", Place::Observation, ""},
    TypeRow{L"TI", Place::Observation, ""},
    TypeRow{L"TG", Place::Observation, ""},
    TypeRow{L"KR", Place::Observation, ""},
    TypeRow{L"KD", Place::Observation, ""},
    TypeRow{L"TR", Place::Observation, ""},
    TypeRow{L"X ", Place::Observation, "SetX(1.25)"},
    TypeRow{L"x ", Place::Observation, "SetX(1001.25)"},  // from the station
    TypeRow{L"N_", Place::Observation, "SetX(1.25)"},
    TypeRow{L"n ", Place::Observation, "SetX(1.25)"},
    TypeRow{L"Y ", Place::Observation, "SetY(1.25)"},
    TypeRow{L"y ", Place::Observation, "SetY(2001.25)"},  // from the station
    TypeRow{L"E_", Place::Observation, "SetY(1.25)"},
    TypeRow{L"e ", Place::Observation, "SetY(1.25)"},
    TypeRow{L"Z ", Place::Observation, "SetZ(1.25)"},
    TypeRow{L"SD", Place::Observation, "SetSlopeDistance(1.25)"},
    TypeRow{L"D ", Place::Observation, "SetSlopeDistance(1.25)"},
    TypeRow{L"HD", Place::Observation, "SetHorizontalDistance(1.25)"},
    TypeRow{L"E ", Place::Observation, "SetHorizontalDistance(1.25)"},
    TypeRow{L"Hz", Place::Observation, "SetHorizontalDirection(1.25)"},
    TypeRow{L"HV", Place::Observation, "SetVerticalAngle(1.25)"},
    TypeRow{L"V1", Place::Observation, "SetVerticalAngle(1.25)"},
    TypeRow{L"V2", Place::Observation, "SetVerticalAngle(1.25)"},
    TypeRow{L"V3", Place::Observation, "SetVerticalAngle(1.25)"},
    TypeRow{L"th", Place::InputValues, "SetTargetHeight(1.25)"},
    TypeRow{L"ih", Place::Station, "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.25)"},
    TypeRow{L"h ", Place::Observation, "SetHeightDifference(1.25)"},
    TypeRow{L"dR", Place::Observation, "SetHeightDifference(1.25)"},
    TypeRow{L"DL", Place::Observation, "SetHeightDifference(1.25)"},
    TypeRow{L"T_", Place::Station, "SetTemperature(1.25)"},
    TypeRow{L"T ", Place::Station, "SetTemperature(1.25)"},
    TypeRow{L"C ", Place::Station, "SetTemperature(1.25)"},
    TypeRow{L"P ", Place::Station, "SetPressure(1.25)"},
    // Orienting on S makes it the station.
    TypeRow{L"Om", Place::Station, "AddStation(\"S\")\nSetPointKind(1)\n"}));
// clang-format on

struct DigitRow {
  const wchar_t* code;
  const char* calls;
};

class DigitCodeRow : public testing::TestWithParam<DigitRow> {};

// A one-digit code is flags: 1 a point kind 0, 2 a point flag 0; any longer code is sent.
TEST_P(DigitCodeRow, IsFlagsNotACode) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5"}),
                    Point(L"P", GetParam().code, {L"Hz 1"})}),
            "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\nAddTarget(\"P\")\n" +
                std::string(GetParam().calls) + "SetHorizontalDirection(1)\n");
}

INSTANTIATE_TEST_SUITE_P(EveryTableRow, DigitCodeRow,
                         testing::Values(DigitRow{L"0", ""}, DigitRow{L"1", "SetPointKind(0)\n"},
                                         DigitRow{L"2", "SetPointFlag(0)\n"},
                                         DigitRow{L"3", "SetPointKind(0)\nSetPointFlag(0)\n"},
                                         DigitRow{L"4", ""}, DigitRow{L"5", "SetPointKind(0)\n"},
                                         DigitRow{L"6", "SetPointFlag(0)\n"},
                                         DigitRow{L"7", "SetPointKind(0)\nSetPointFlag(0)\n"},
                                         DigitRow{L"8", ""}, DigitRow{L"9", "SetPointKind(0)\n"},
                                         DigitRow{L"10", "SetCode(\"10\")\n"}));

}  // namespace
