// The promise checker itself: it must find a point the trace loses, and must not ask for
// points the plug-in owes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/promise.h"
#include "tests/support/recording_host.h"
#include "tests/support/survey_lines.h"

namespace {

using m5test::PointLine;
using m5test::TextLine;

std::vector<std::wstring> Widen(const std::vector<std::string>& lines) {
  std::vector<std::wstring> wide;
  for (const std::string& line : lines) {
    wide.push_back(m5test::FromUtf8(line));
  }
  return wide;
}

ImportSettings NameInCharacters3To4() {
  ImportSettings settings;
  settings.PointStart = 3;
  settings.PointLen = 2;
  return settings;
}

const std::string kHz = "Hz 12.3 gon |";

struct CheckerCase {
  const char* what;
  std::vector<std::string> lines;
  std::vector<std::string> trace;
  std::vector<int> lostLines;
  ImportSettings settings = {};
};

TEST(PromiseChecker, FindsExactlyThePointsTheTraceLoses) {
  std::string oldSoftware = PointLine("P9", kHz);
  oldSoftware.resize(118, ' ');
  oldSoftware += "O";
  const CheckerCase cases[] = {
      {"named as a target", {PointLine("P1", kHz)}, {"SetCurrentLine(0)", "AddTarget(\"P1\")"}, {}},
      {"named as the station", {PointLine("P1", kHz)}, {"AddStation(\"P1\")"}, {}},
      {"named nowhere", {PointLine("P1", kHz)}, {"SetCurrentLine(0)", "AddTarget(\"P10\")"}, {0}},
      {"a message on its own line",
       {PointLine("P1", kHz)},
       {"SetCurrentLine(0)", "ReportWarning(\"lost\")"},
       {}},
      {"a message on another line",
       {PointLine("P1", kHz), PointLine("P2", kHz)},
       {"SetCurrentLine(0)", "SetCurrentLine(1)", "ReportError(\"x\")", "SetCurrentLine(-1)",
        "ReportWarning(\"y\")"},
       {0}},
      {"values only for the survey",
       {PointLine("P1", "th 1.5 m |T_ 20 C |P 1000 hPa |"), PointLine("P2", "Hz |")},
       {},
       {}},
      {"an unknown type code", {PointLine("P1", "QQ 1.0 m |")}, {}, {0}},
      {"an instrument height or an orientation alone",
       {PointLine("P1", "ih 1.5 m |"), PointLine("P2", "Om 0 gon |")},
       {},
       {0, 1}},
      {"a station's choice named in a message on the line of its record",
       {PointLine("S", "X 1 m |Y 2 m |"), PointLine("S", "ih 1.5 m |"),
        PointLine("T", "Hz 1 gon |")},
       {"SetCurrentLine(0)", "ReportWarning(\"\u00ABS\u00BB\")", "SetCurrentLine(2)",
        "ReportWarning(\"\u00ABT\u00BB\")"},
       {}},
      {"every point value type",
       {PointLine("A", "X 1 m |"), PointLine("B", "n 1 m |"), PointLine("C", "E_ 1 m |"),
        PointLine("D", "D 1 m |"), PointLine("E", "V3 1 gon |"), PointLine("F", "DL 1 m |")},
       {},
       {0, 1, 2, 3, 4, 5}},
      {"a skipped section named nowhere",
       {TextLine("START"), PointLine("P1", kHz), TextLine("END"), PointLine("P2", kHz)},
       {"AddTarget(\"P2\")"},
       {1}},
      {"a skipped section named on its first line",
       {TextLine("RESTART"), PointLine("P1", kHz), TextLine("SENDING"), PointLine("P2", kHz)},
       {"SetCurrentLine(0)", "ReportWarning(\"skipped\")", "SetCurrentLine(3)",
        "AddTarget(\"P2\")"},
       {}},
      {"a skipped section that runs to the end",
       {TextLine("START"), PointLine("P1", kHz)},
       {},
       {1}},
      {"a blank name", {PointLine("", kHz)}, {}, {}},
      {"after a line that is not M5",
       {PointLine("P1", kHz), "Station 1", PointLine("P2", kHz)},
       {},
       {0}},
      {"after a line of early software", {PointLine("P1", kHz), oldSoftware}, {}, {0}},
      {"blank lines and END lines count",
       {"", "END|Adr 00002|PI1 P1                    10:15|" + kHz},
       {},
       {1}},
      {"the name cut by the layout",
       {PointLine("ABCD", kHz), PointLine("WXYZ", kHz)},
       {"AddPoint(\"CD\")", "AddPoint(\"WXYZ\")"},
       {1},
       NameInCharacters3To4()},
  };
  for (const CheckerCase& test : cases) {
    SCOPED_TRACE(test.what);
    std::vector<int> lostLines;
    for (const m5test::LostPoint& point :
         m5test::FindLostPoints(Widen(test.lines), test.settings, test.trace)) {
      lostLines.push_back(point.line);
    }
    EXPECT_EQ(lostLines, test.lostLines);
  }
}

TEST(PromiseChecker, FindsTheBlocksThatGiveNothingUnnamed) {
  const std::vector<std::string> lines = {
      TextLine("FREE STATIONING", "T_ 20 C |"),
      TextLine("INPUT VALUES", "th 1,8 m |ih 1.5 m |"),
      PointLine("P1", "Hz 1 gon |SD 12,3 m |th 1.5 m |"),
      PointLine("P2", "Hz10gon |Hz\t2\tgon |SD 1e309 m |"),
      PointLine("P3", "V1 12.3050 DMS |X 1 mbar |QQ 1 m |"),
      TextLine("START", "P 1000 hPa |"),
      PointLine("P4", "Hz 1,5 gon |"),
  };
  const struct {
    const char* what;
    std::vector<std::string> trace;
    std::vector<std::string> lost;
  } cases[] = {
      {"nothing named",
       {},
       {"line 0: «T_ 20 C»", "line 1: «th 1,8 m»", "line 2: «SD 12,3 m»", "line 2: «th 1.5 m»",
        "line 3: «Hz10gon»", "line 3: «SD 1e309 m»", "line 4: «X 1 mbar»", "line 4: «QQ 1 m»",
        "line 5: «P 1000 hPa»", "line 6: «Hz 1,5 gon»"}},
      {"each named by its block, its unit or its point, the section on its first line",
       {"SetCurrentLine(0)", "ReportWarning(\"«T_ 20 C»\")", "SetCurrentLine(1)",
        "ReportWarning(\"«th 1,8 m»\")", "SetCurrentLine(2)", "ReportWarning(\"«P1»\")",
        "SetCurrentLine(3)", "ReportWarning(\"«Hz10gon» «SD 1e309 m»\")", "SetCurrentLine(4)",
        "ReportWarning(\"«mbar» «QQ 1 m»\")", "SetCurrentLine(5)", "ReportWarning(\"skipped\")"},
       {}},
      {"named on another line",
       {"SetCurrentLine(3)", "ReportWarning(\"«T_ 20 C» «th 1,8 m»\")"},
       {"line 0: «T_ 20 C»", "line 1: «th 1,8 m»", "line 2: «SD 12,3 m»", "line 2: «th 1.5 m»",
        "line 3: «Hz10gon»", "line 3: «SD 1e309 m»", "line 4: «X 1 mbar»", "line 4: «QQ 1 m»",
        "line 5: «P 1000 hPa»", "line 6: «Hz 1,5 gon»"}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    std::vector<std::string> lost;
    for (const m5test::LostPoint& block :
         m5test::FindUnnamedBlocks(Widen(lines), ImportSettings{}, test.trace)) {
      lost.push_back("line " + std::to_string(block.line) + ": " + m5test::ToUtf8(block.name));
    }
    EXPECT_EQ(lost, test.lost);
  }
}

TEST(PromiseChecker, NamesTheLostPoints) {
  const auto lost = m5test::FindLostPoints(Widen({TextLine("MEASURE"), PointLine("Ж7", kHz)}),
                                           ImportSettings{}, {});
  EXPECT_EQ(m5test::Describe(lost), "line 1: Ж7\n");
}

}  // namespace
