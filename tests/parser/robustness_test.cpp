// Hostile input and hosts: formats in data, missing converters, huge and odd lines.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "parser/parser.h"
#include "parser/text.h"
#include "resources/string_ids.h"
#include "tests/parser/parser_run.h"
#include "tests/support/counting_sink.h"
#include "tests/support/recording_host.h"

namespace {

using namespace m5test;

TEST(Robustness, MessageFormattingNeverThrowsAndNeverReadsTheArgument) {
  struct Case {
    const wchar_t* pattern;
    const wchar_t* argument;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"Имя цели  %s  совпадает с именем станции.", L"50%d%1%",
       L"Имя цели  50%d%1%  совпадает с именем станции."},
      {L"станция %1%.", L"Default_1", L"станция Default_1."},
      {L"", L"A", L""},  // a text missing from the table
      {L"no placeholder", L"A", L"no placeholder"},
      {L"%s and %s", L"A", L"A and "},  // one argument too few
      {L"broken %", L"A", nullptr},     // malformed: any text, no exception
      {L"%1$", L"A", nullptr},
      {L"%|", L"A", nullptr},
  };
  for (const Case& c : cases) {
    std::wstring text;
    EXPECT_NO_THROW(text = m5::FormatMessage(c.pattern, c.argument)) << ToUtf8(c.pattern);
    if (c.expected != nullptr) {
      EXPECT_EQ(ToUtf8(text), ToUtf8(c.expected));
    }
  }
}

TEST(Robustness, MessagesOfSeveralPlaceholdersTakeTheirArgumentsInOrderOrByNumber) {
  EXPECT_EQ(m5::FormatMessage(L"до строки %s: %s, 100%%", {L"7", L"%s"}), L"до строки 7: %s, 100%");
  EXPECT_EQ(m5::FormatMessage(L"%2% после %1%", {L"A", L"B"}), L"B после A");
}

TEST(Robustness, HostWithoutConvertersGetsNamesButNoValues) {
  RunOptions options;
  options.withoutFactory = true;
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Point(L"S", L"", {L"ih 1.5 m", L"X 1"}),
                    Point(L"A", L"", {L"Hz 1 gon", L"T 20 C"}), Text(L"MEASURE")},
                   options),
            BlocksNotImported(L"S", {{L"ih 1.5 m", m5::msg::kWhySurveyValueUnreadable},
                                     {L"X 1", m5::msg::kWhyValueUnreadable}}) +
                NotImported(m5::msg::kPointValuesUnreadable, L"A") +
                "AddStation(\"S\")\nSetPointKind(1)\n");
}

TEST(Robustness, HugeLinesAndOddCharactersNeitherCrashNorStop) {
  const std::wstring megabyte(1 << 20, L'x');
  std::wstring nuls = Point(L"N", L"", {L"Hz 1"});
  nuls[20] = L'\0';
  nuls += std::wstring(3, L'\0');
  std::vector<std::wstring> lines = {
      Text(L"FREE STATIONING"),
      Point(L"S", L"", {L"ih 1.5"}),
      Line(L"PI1 " + megabyte, {megabyte, L"Hz 1 " + megabyte, L"SD" + megabyte}),
      Line(L"TI  " + megabyte),
      Line(L"PI1 P", {L"Hz " + megabyte}),
      Line(std::wstring(1000, L'|')),
      Line(L"PI1 \uFFFF\U0001F600\u00A0", {L"\uFFFD \u00B0C \t", L"\x1A", L" "}),
      nuls,
  };
  std::mt19937 random(5);
  std::uniform_int_distribution<int> character(0, 0x10FFFF);
  for (int i = 0; i < 200; ++i) {
    std::wstring garbage = L"For M5|";
    for (int j = 0; j < 150; ++j) {
      const int c = character(random);
      garbage += static_cast<wchar_t>(j % 7 == 0 ? L"|PI X1"[j % 6] : c);
    }
    lines.push_back(garbage);
  }
  const std::string trace = Survey(lines);
  // Warnings come first (unknown units, points not imported); the first station is S.
  EXPECT_EQ(trace.find("AddStation("),
            trace.find("AddStation(\"S\")\nSetPointKind(1)\nSetInstrumentHeight(1.5)\n"))
      << trace.substr(0, 300);
  EXPECT_NE(trace.find("AddStation("), std::string::npos);
  EXPECT_LT(trace.size(), 1000000u);  // no megabyte unit text quoted back
}

TEST(Robustness, HugeLineEndingInOIsOnlyALongLine) {
  EXPECT_EQ(Survey({Text(L"FREE STATIONING"), Text(L"REMARK", {std::wstring(1 << 20, L'O')})}),
            BlocksNotImported(L"REMARK",
                              {{std::wstring(32, L'O') + L"\u2026", m5::msg::kWhyTypeUnknown}}) +
                DefaultStation("Default"));
}

// Counts calls instead of recording them, with the recording host's converters.
class CountingSink : public m5test::CountingSink {
 public:
  IConverterFactory* GetConverterFactory() override { return m_host.GetConverterFactory(); }

  RecordingSink m_host;
};

TEST(Robustness, AMillionLinesImportInLinearTime) {
  constexpr int kLines = 1000000;
  const std::wstring keyword = Text(L"FREE STATIONING");
  const std::wstring station = Point(L"S", L"", {L"ih 1.5", L"X 1", L"Y 2"});
  const std::wstring target = Point(L"P", L"5", {L"Hz 1.25", L"SD 10.5", L"V1 1.5"});
  CountingSink sink;
  const auto start = std::chrono::steady_clock::now();
  {
    CParser parser(&sink, m5::RecordLayout{});
    for (int i = 0; i < kLines; ++i) {
      // A station every thousand lines, as a long traverse would have.
      const int inStation = i % 1000;
      parser.ParseLine(i, inStation == 0 ? keyword : inStation == 1 ? station : target);
    }
    parser.Finish();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(sink.stations, kLines / 1000);
  EXPECT_EQ(sink.points, kLines / 1000 * 998);
  EXPECT_EQ(sink.messages, 0);
  EXPECT_EQ(sink.m_host.OutstandingReferences(), 0);
  EXPECT_EQ(sink.m_host.OverReleases(), 0);
  RecordProperty("seconds", std::to_string(seconds));
}

}  // namespace
