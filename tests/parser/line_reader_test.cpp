// The M5 line as the reader takes it apart: identifier, the early-software line, fields.
#include <gtest/gtest.h>

#include <climits>

#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"

namespace {

using namespace m5test;

TEST(LineReader, ConstructionAsksForFactoryAndInitialConvertersInOrder) {
  RunOptions options;
  options.recordFactory = true;
  EXPECT_EQ(Survey({Text(L"FREE STATIONING")}, options),
            "GetConverterFactory()\n"
            "factory.GetLengthConverter(1)\n"
            "factory.GetAngleConverter(3)\n"
            "factory.GetPressureConverter(1)\n"
            "factory.GetTemperatureConverter(1)\n" +
                DefaultStation("Default"));
}

TEST(LineReader, BlankLinesAndEndAloneSendNothing) {
  // Only the final flush speaks: a station keyword and then nothing gives a default station.
  EXPECT_EQ(Survey({L"", L"   ", L" \t\r", L"END", Text(L"FREE STATIONING"), L"END|||"}),
            DefaultStation("Default"));
}

struct IdentifierCase {
  const wchar_t* identifier;
  bool accepted;
};

class Identifier : public testing::TestWithParam<IdentifierCase> {};

TEST_P(Identifier, OnlyForAnyCharacterM5OrEndIsAccepted) {
  const IdentifierCase& c = GetParam();
  const std::string trace = Survey({Text(L"FREE STATIONING"), Text(L"FREE STATIONING"),
                                    std::wstring(c.identifier) + L"|Adr 1|TI  NO REFLECTOR|"});
  EXPECT_EQ(trace, c.accepted ? DefaultStation("Default") + DefaultStation("Default_1")
                              : DefaultStation("Default") + kWrongFileFormat +
                                    DefaultStation("Default_1"));
}

INSTANTIATE_TEST_SUITE_P(
    LineReader, Identifier,
    testing::Values(IdentifierCase{L"For M5", true}, IdentifierCase{L"For_M5", true},
                    IdentifierCase{L"For|M5", false},  // field is "For"
                    IdentifierCase{L"FOR M5", false}, IdentifierCase{L"For M6", false},
                    IdentifierCase{L"For", false}, IdentifierCase{L"For M5 ", false},
                    IdentifierCase{L"END", true}, IdentifierCase{L"end", false},
                    IdentifierCase{L" For M5", true}));  // line trimmed

TEST(LineReader, LineWithoutSeparatorsIsNotM5) {
  EXPECT_EQ(Survey({L"For M5 Adr 1 TI  FREE STATIONING"}), kWrongFileFormat);
}

TEST(LineReader, FatalLineSendsTheStationCollectedBeforeIt) {
  const std::string collected =
      "AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\nSetX(1)\nSetY(2)\n"
      "AddTarget(\"A\")\nSetHorizontalDirection(1)\n";
  const std::vector<std::wstring> survey = {Text(L"FREE STATIONING"),
                                            Point(L"S", L"", {L"ih 1.5", L"X 1", L"Y 2"}),
                                            Point(L"A", L"", {L"Hz 1"})};
  std::wstring oldSoftware = Point(L"B", L"", {L"Hz 2"});
  oldSoftware.resize(118, L' ');
  for (const auto& [fatal, message] :
       {std::pair{std::wstring(L"For R5|Adr 1|TR  MEASURE|"), kWrongFileFormat},
        std::pair{oldSoftware + L"O", kOldSoftwareLine}}) {
    std::vector<std::wstring> lines = survey;
    lines.push_back(fatal);
    lines.push_back(Point(L"C", L"", {L"Hz 3"}));  // never read
    EXPECT_EQ(Survey(lines), message + collected);
  }
  // Nothing collected yet: the first station keyword's flush still closes nothing.
  EXPECT_EQ(Survey({L"For R5|Adr 1|TR  MEASURE|", Text(L"FREE STATIONING")}), kWrongFileFormat);
}

TEST(LineReader, OldSoftwareLineIsExactly119CharactersEndingInO) {
  std::wstring line = Point(L"A", L"", {L"Hz 1"});
  line.resize(118, L' ');
  EXPECT_EQ(Survey({line + L"O"}), kOldSoftwareLine);
  EXPECT_EQ(Survey({line + L"O\r"}), kOldSoftwareLine);  // the line end is trimmed first
  const std::string target = "AddTarget(\"A\")\nSetHorizontalDirection(1)\n";
  // The stray letter is a block of its own, named.
  for (const wchar_t* last : {L"O", L"o"}) {
    EXPECT_EQ(Survey({Text(L"FREE STATIONING"), line + L" " + last}),
              BlocksNotImported(L"A", {{last, m5::msg::kWhyTypeUnknown}}) +
                  DefaultStation("Default") + target);
  }
}

TEST(LineReader, FieldsMayBeEmptyMissingOrExtra) {
  // No address; a seventh field; a last field without "|"; a line without data blocks.
  EXPECT_EQ(
      Survey({Text(L"FREE STATIONING"), L"For M5||PI1 S             |ih 1.5|X 1|Y 2|Z 3|",
              L"For M5|Adr 2|PI1 A             |Hz 0.25", L"For M5|Adr 3|PI1 B             "}),
      "AddStation(\"S\")\n"
      "SetPointKind(1)\n"
      "SetInstrumentHeight(1.5)\n"
      "SetX(1)\n"
      "SetY(2)\n"
      "AddTarget(\"A\")\n"
      "SetHorizontalDirection(0.25)\n");
}

TEST(LineReader, MissingStationKeywordIsReportedAtTheEndOnly) {
  EXPECT_EQ(Survey({Point(L"P1", L"", {L"X 1", L"Y 2"})}), kWrongImportMode +
                                                               DefaultStation("Default") +
                                                               "AddPoint(\"P1\")\n"
                                                               "SetPointKind(0)\n"
                                                               "SetX(1)\n"
                                                               "SetY(2)\n");
  EXPECT_EQ(Survey({}), kWrongImportMode);
}

TEST(LineReader, TextSplitsIntoLinesWithCarriageReturnsTrimmed) {
  EXPECT_EQ(SurveyText(Text(L"FREE STATIONING") + L"\r\n\r\n" +
                       Point(L"S", L"", {L"ih 1.5", L"X 1", L"Y 2"}) + L"\r\n"),
            "AddStation(\"S\")\n"
            "SetPointKind(1)\n"
            "SetInstrumentHeight(1.5)\n"
            "SetX(1)\n"
            "SetY(2)\n");
}

// The layout of the name and code comes from the settings store unchecked.
struct CutCase {
  std::int32_t start;
  std::int32_t length;
  const char* name;  // empty: no point (message 116)
};

class NameCut : public testing::TestWithParam<CutCase> {};

TEST_P(NameCut, AnyLayoutGivesANameOrMessage116) {
  const CutCase& c = GetParam();
  RunOptions options;
  options.layout.nameStart = c.start;
  options.layout.nameLength = c.length;
  options.layout.codeStart = c.start;
  options.layout.codeLength = c.length;
  const std::string trace =
      Survey({Text(L"FREE STATIONING"), Line(L"PI1  AB1 ", {L"Om 0.5"})}, options);
  if (*c.name == '\0') {
    EXPECT_EQ(trace, kNoPointName + DefaultStation("Default"));
  } else {
    EXPECT_EQ(trace, std::string("AddStation(\"") + c.name + "\")\nSetPointKind(1)\nSetCode(\"" +
                         c.name + "\")\n");
  }
}

INSTANTIATE_TEST_SUITE_P(LineReader, NameCut,
                         testing::Values(CutCase{1, 14, "AB1"}, CutCase{2, 1, "A"},
                                         CutCase{3, 2, "B1"}, CutCase{3, INT_MAX, "B1"},
                                         CutCase{INT_MAX, INT_MAX, ""}, CutCase{0, 5, ""},
                                         CutCase{-5, 10, ""}, CutCase{INT_MIN, INT_MAX, ""},
                                         CutCase{1, 0, ""}, CutCase{1, -1, ""},
                                         CutCase{1, INT_MIN, ""}, CutCase{6, 3, ""},
                                         CutCase{60, 3, ""}, CutCase{1, 1, ""}));

}  // namespace
