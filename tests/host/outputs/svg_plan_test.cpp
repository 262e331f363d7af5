#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "host/outputs/output_formats.h"
#include "host/outputs/output_options.h"
#include "host/outputs/plan/plan_labels.h"
#include "host/outputs/plan/plan_projection.h"
#include "tests/support/temp_folder.h"

namespace m5host {
namespace {

constexpr double kFoot = 0.3048;
constexpr double kUsSurveyFoot = 1200.0 / 3937.0;

SurveyPoint At(const std::string& name, double north, double east) {
  SurveyPoint point;
  point.name = name;
  point.x = north;
  point.y = east;
  return point;
}

// A file of one set-up per row: the station at the first (north, east), the others observed.
FileSurvey Survey(const std::string& path,
                  const std::vector<std::vector<std::pair<double, double>>>& setups) {
  FileSurvey file{path, {}, {}};
  for (const auto& points : setups) {
    StationSetup setup;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const SurveyPoint p = At("P" + std::to_string(i), points[i].first, points[i].second);
      if (i == 0) {
        setup.station = p;
        setup.station->role = Role::Station;
      } else {
        setup.observations.push_back(p);
      }
    }
    file.setups.push_back(setup);
  }
  return file;
}

TEST(PlanProjection, RoundLengths) {
  struct Case {
    double length, atLeast, atMost;
    int decimals;  // of the length at least
  };
  const Case cases[] = {{0.3, 0.5, 0.2, 1}, {1, 1, 1, 0},      {1.1, 2, 1, 0},
                        {7, 10, 5, 0},      {99, 100, 50, 0},  {0.012, 0.02, 0.01, 2},
                        {250, 500, 200, 0}, {0.1, 0.1, 0.1, 1}};
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(RoundLengthAtLeast(c.length), c.atLeast) << c.length;
    EXPECT_DOUBLE_EQ(RoundLengthAtMost(c.length), c.atMost) << c.length;
    EXPECT_EQ(DecimalsFor(RoundLengthAtLeast(c.length)), c.decimals) << c.length;
  }
}

TEST(PlanProjection, SurveysFarApartGetPanelsOfTheirOwn) {
  using Setups = std::vector<std::vector<std::pair<double, double>>>;
  struct Case {
    const char* what;
    std::vector<Setups> files;
    std::vector<std::vector<SetupIndex>> panels;
  };
  const Case cases[] = {
      {"two jobs 10 km apart",
       {{{{0, 0}, {50, 50}}}, {{{10000, 0}, {10050, 40}}}},
       {{{0, 0}}, {{1, 0}}}},
      {"two files of one site", {{{{0, 0}, {50, 50}}}, {{{60, 60}, {90, 80}}}}, {{{0, 0}, {1, 0}}}},
      {"the third file returns to the first site",
       {{{{0, 0}, {30, 30}}}, {{{5000, 5000}}}, {{{20, 40}}}},
       {{{0, 0}, {2, 0}}, {{1, 0}}}},
      {"two sites in one file",
       {{{{0, 0}, {10, 10}}, {{3000, 0}, {3010, 5}}}},
       {{{0, 0}}, {{0, 1}}}},
      {"stations a few metres apart stay together", {{{{0, 0}}, {{30, 0}}}}, {{{0, 0}, {0, 1}}}},
      {"a later set-up bridges two sites",
       {{{{0, 0}, {100, 0}}, {{700, 0}, {800, 0}}, {{100, 0}, {700, 0}}}},
       {{{0, 0}, {0, 1}, {0, 2}}}},
      {"set-ups without coordinates are left out", {{{}, {{5, 5}}}}, {{{0, 1}}}},
  };
  for (const Case& c : cases) {
    std::vector<FileSurvey> files;
    for (const Setups& setups : c.files) {
      files.push_back(Survey("f", setups));
    }
    const std::vector<PlanPanel> panels = GroupIntoPanels(files);
    ASSERT_EQ(panels.size(), c.panels.size()) << c.what;
    for (std::size_t i = 0; i < panels.size(); ++i) {
      ASSERT_EQ(panels[i].setups.size(), c.panels[i].size()) << c.what;
      for (std::size_t k = 0; k < c.panels[i].size(); ++k) {
        EXPECT_EQ(panels[i].setups[k].file, c.panels[i][k].file) << c.what;
        EXPECT_EQ(panels[i].setups[k].setup, c.panels[i][k].setup) << c.what;
      }
    }
  }
}

TEST(PlanProjection, PointsTooFarToDrawAreCountedNotDrawn) {
  std::vector<FileSurvey> files{Survey("f", {{{0, 0}, {1e12, 0}, {5, -1e300}}})};
  EXPECT_EQ(CountUndrawable(files), 2u);
  const std::vector<PlanPanel> panels = GroupIntoPanels(files);
  ASSERT_EQ(panels.size(), 1u);
  EXPECT_EQ(panels[0].extent.Size(), 1.0);
}

TEST(PlanProjection, FrameTakesTheSurveysProportions) {
  struct Case {
    PlanExtent points;
    double scale, width, height;
  };
  const Case cases[] = {
      {{100, 300, 1000, 1040}, 2, 420, 100},  // 200 m by 40 m, 10 units clear of the frame
      {{0, 0, 0, 0}, 5, 50, 50},              // a lone point: the smallest frame
      {{0, 10, 0, 500}, 1, 50, 520},
  };
  for (const Case& c : cases) {
    const PanelFrame frame = FramePanel(c.points, c.scale, 50, 10);
    EXPECT_DOUBLE_EQ(frame.width, c.width);
    EXPECT_DOUBLE_EQ(frame.height, c.height);
    // The window is centred on the points and as large as the frame at the scale.
    EXPECT_DOUBLE_EQ(frame.window.minEast + frame.window.maxEast,
                     c.points.minEast + c.points.maxEast);
    EXPECT_DOUBLE_EQ(frame.window.Width() * c.scale, c.width);
    const Projection projection = frame.At(7, 9);
    EXPECT_DOUBLE_EQ(projection.Left(frame.window.minEast), 7);
    EXPECT_DOUBLE_EQ(projection.Top(frame.window.maxNorth), 9);
    EXPECT_DOUBLE_EQ(projection.Top(frame.window.minNorth), 9 + c.height);
  }
  // Printed at 1:500 with a quarter millimetre per unit, 50 m of ground take 100 mm.
  EXPECT_DOUBLE_EQ(50 * PrintScale(500, 0.25) * 0.25, 100);
}

TEST(PlanProjection, GridAtRoundStepsOfTheLengthUnit) {
  struct Case {
    PlanExtent window;
    double scale, metresPerUnit, charWidth;
    double step;
    int decimals;
    std::vector<double> east;
  };
  const Case cases[] = {
      {{0, 1000, 0, 1000}, 1, 1, 1, 100, 0, {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000}},
      {{0, 1000, 0, 1000}, 1, kFoot, 1, 500, 0, {0, 500, 1000, 1500, 2000, 2500, 3000}},
      {{0, 3, 0, 3}, 100, 1, 1, 1, 0, {0, 1, 2, 3}},
      {{0.05, 0.5, 0, 1}, 1000, 1, 1, 0.1, 1, {0.1, 0.2, 0.3, 0.4, 0.5}},
      // Long labels push the lines apart: "100000400" and two spaces at 20 units a character.
      {{1e8, 1e8 + 400, 0, 400},
       10,
       1,
       20,
       50,
       0,
       {1e8, 1e8 + 50, 1e8 + 100, 1e8 + 150, 1e8 + 200, 1e8 + 250, 1e8 + 300, 1e8 + 350,
        1e8 + 400}},
  };
  for (const Case& c : cases) {
    const PanelFrame frame{c.window, c.scale, 0, 0};
    const PlanGrid grid = ChooseGrid(frame, c.metresPerUnit, 64, c.charWidth);
    EXPECT_DOUBLE_EQ(grid.step, c.step);
    EXPECT_EQ(grid.decimals, c.decimals);
    ASSERT_EQ(grid.east.size(), c.east.size()) << c.step;
    for (std::size_t i = 0; i < c.east.size(); ++i) {
      EXPECT_NEAR(grid.east[i], c.east[i], 1e-9);
    }
  }
}

TEST(PlanLabels, LaterLabelsGiveWay) {
  // Boxes 20 by 10 with a clearance of 2: right above a point at (0, 0) is [2, 22] x [-12, -2].
  auto request = [](double x, double y) { return LabelRequest{x, y, 20, 10, 2}; };
  struct Case {
    const char* what;
    std::vector<LabelRequest> requests;
    std::vector<double> lefts;  // -1: left out
  };
  const Case cases[] = {
      {"apart", {request(0, 0), request(100, 0)}, {2, 102}},
      {"the second goes below", {request(0, 0), request(5, 0)}, {2, 7}},
      {"then to the left", {request(0, 0), request(0, 0), request(0, 0)}, {2, 2, -22}},
      // A ring out, below them, where its leader passes between the corners' labels.
      {"then farther out",
       {request(0, 0), request(0, 0), request(0, 0), request(0, 0), request(0, 0)},
       {2, 2, -22, -22, -6.249}},
      {"touching is not covering", {request(0, 0), request(22, 0)}, {2, 24}},
  };
  for (const Case& c : cases) {
    const auto boxes = PlaceLabels(c.requests);
    ASSERT_EQ(boxes.size(), c.lefts.size()) << c.what;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].has_value(), c.lefts[i] != -1) << c.what << ' ' << i;
      if (boxes[i] && c.lefts[i] != -1) {
        EXPECT_NEAR(boxes[i]->box.left, c.lefts[i], 1e-3) << c.what << ' ' << i;
      }
    }
  }
  // The second label of the "below" case sits under the first one's row.
  const auto boxes = PlaceLabels({request(0, 0), request(5, 0)});
  EXPECT_DOUBLE_EQ(boxes[1]->box.top, 2);
}

TEST(PlanLabels, ManyPointsOnOneSpotStayQuick) {
  std::vector<LabelRequest> requests(50000, LabelRequest{0, 0, 30, 10, 2});
  const auto boxes = PlaceLabels(requests);
  // The four corners, then farther out only where a leader passes between them.
  EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(), [](const auto& b) { return b.has_value(); }),
            8);
}

TEST(PlanLabels, InsideTheFrameAndClearOfTheDots) {
  const LabelRequest request{0, 0, 20, 10, 2};
  struct Case {
    const char* what;
    LabelRoom room;
    double left, top;  // NaN: left out
  };
  const double none = std::nan("");
  const Case cases[] = {
      {"anywhere", {}, 2, -12},
      {"the frame's edge is east of the point", {LabelBox{-100, -100, 10, 100}, {}}, -22, -12},
      {"a dot right above", {std::nullopt, {{8, -8, 12, -4}}}, 2, 2},
      {"dots at the four corners: right of the point",
       {std::nullopt, {{8, -10, 12, -6}, {8, 6, 12, 10}, {-12, -10, -8, -6}, {-12, 6, -8, 10}}},
       2,
       -5},
      {"a frame too small", {LabelBox{-5, -5, 5, 5}, {}}, none, none},
  };
  for (const Case& c : cases) {
    const auto box = PlaceLabels({request}, c.room)[0];
    ASSERT_EQ(box.has_value(), !std::isnan(c.left)) << c.what;
    if (box) {
      EXPECT_DOUBLE_EQ(box->box.left, c.left) << c.what;
      EXPECT_DOUBLE_EQ(box->box.top, c.top) << c.what;
    }
  }
}

// A cloud of dots too dense for every label: each leader keeps clear of the other leaders,
// of every label and of every dot but its own point's.
TEST(PlanLabels, LeadersCrossNothing) {
  LabelRoom room;
  std::vector<LabelRequest> requests;
  for (int i = 0; i < 400; ++i) {
    const double x = (i * 37) % 200, y = (i * 53) % 150;
    requests.push_back({x, y, 24, 13, 3});
    room.marks.push_back({x - 2.5, y - 2.5, x + 2.5, y + 2.5});
  }
  const auto placed = PlaceLabels(requests, room);
  const auto inside = [](const LabelBox& b, double x, double y) {
    return x > b.left + 1e-6 && x < b.right - 1e-6 && y > b.top + 1e-6 && y < b.bottom - 1e-6;
  };
  const auto side = [](const Leader& l, double x, double y) {
    return (l.x2 - l.x1) * (y - l.y1) - (l.y2 - l.y1) * (x - l.x1);
  };
  int leaders = 0;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (!placed[i] || !placed[i]->leader) {
      continue;
    }
    const Leader& l = *placed[i]->leader;
    ++leaders;
    for (int step = 0; step <= 40; ++step) {
      const double x = l.x1 + (l.x2 - l.x1) * step / 40, y = l.y1 + (l.y2 - l.y1) * step / 40;
      for (std::size_t j = 0; j < placed.size(); ++j) {
        EXPECT_FALSE(j != i && placed[j] && inside(placed[j]->box, x, y)) << i << " over " << j;
        EXPECT_FALSE(j != i && inside(room.marks[j], x, y)) << i << " over dot " << j;
      }
    }
    for (std::size_t j = i + 1; j < placed.size(); ++j) {
      if (placed[j] && placed[j]->leader) {
        const Leader& m = *placed[j]->leader;
        EXPECT_FALSE(side(l, m.x1, m.y1) * side(l, m.x2, m.y2) < 0 &&
                     side(m, l.x1, l.y1) * side(m, l.x2, l.y2) < 0)
            << i << " crosses " << j;
      }
    }
  }
  EXPECT_GT(leaders, 20);
}

std::string Plan(const std::vector<FileSurvey>& files, const PlanOptions& options = {}) {
  std::ostringstream out;
  OutputNotes notes;
  WriteSvgPlan(out, files, options, notes);
  return out.str();
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(SvgPlan, ScaleBarInTheChosenUnitAndPrintScale) {
  // 100 m east fitted to the page: a frame of about 106 m, a bar of a quarter of it.
  const std::vector<FileSurvey> files{Survey("a.dat", {{{0, 0}, {0, 100}}})};
  // Plain rows: GCC 12 at -O3 takes a table of strings and optionals built in place for
  // uninitialised.
  struct Case {
    double metres;
    const char* symbol;
    double scaleDenominator;  // 0: the page fits the plan
    std::vector<std::string> parts;
  };
  const Case cases[] = {
      {1, "m", 0, {">20 m<"}},
      {kFoot, "ft", 0, {">50 ft<"}},
      {kUsSurveyFoot, "US ft", 0, {">50 US ft<"}},
      // 1:1000: 100 m take 100 mm, and the page is measured in millimetres.
      {1, "m", 1000, {"mm\" height=\"", "1:1000<"}},
  };
  for (const Case& c : cases) {
    PlanOptions options;
    options.unit = {c.metres, c.symbol};
    if (c.scaleDenominator > 0) {
      options.scaleDenominator = c.scaleDenominator;
    }
    const std::string svg = Plan(files, options);
    for (const std::string& part : c.parts) {
      EXPECT_TRUE(Contains(svg, part)) << part << '\n' << svg;
    }
  }
}

TEST(SvgPlan, CodesAndElevationsOnRequest) {
  std::vector<FileSurvey> files{Survey("a.dat", {{{0, 0}, {10, 10}}})};
  files[0].setups[0].observations[0].code = "FENCE";
  files[0].setups[0].observations[0].z = 101.2346;
  EXPECT_FALSE(Contains(Plan(files), ">FENCE<"));
  PlanOptions options;
  options.codes = true;
  options.elevations = true;
  const std::string svg = Plan(files, options);
  EXPECT_TRUE(Contains(svg, ">FENCE<"));
  EXPECT_TRUE(Contains(svg, ">101.235<"));
  options.unit = {kFoot, "ft"};
  EXPECT_TRUE(Contains(Plan(files, options), ">332.135<"));
}

TEST(SvgPlan, IsoSheets) {
  struct Case {
    const char* text;
    double width, height;  // 0: refused
  };
  const Case cases[] = {
      {"A3", 420, 297},
      {"a4-portrait", 210, 297},
      {"A0-Landscape", 1189, 841},
      {"A2-PORTRAIT", 420, 594},
      {"A1", 841, 594},
      {"A5", 0, 0},
      {"B4", 0, 0},
      {"A3-upright", 0, 0},
      {"", 0, 0},
  };
  for (const Case& c : cases) {
    const std::optional<PlanSheet> sheet = ParseSheet(c.text);
    ASSERT_EQ(sheet.has_value(), c.width != 0) << c.text;
    if (sheet) {
      EXPECT_EQ(sheet->Width(), c.width) << c.text;
      EXPECT_EQ(sheet->Height(), c.height) << c.text;
    }
  }
}

// On a sheet without a scale the largest round scale that fits; with one too large for the
// sheet, a larger page and a note saying so. The title block says what the plan shows.
TEST(SvgPlan, SheetTitleBlockAndLegend) {
  std::vector<FileSurvey> files{Survey("a.dat", {{{0, 0}, {0, 100}, {10, 50}, {20, 50}, {5, 5}}})};
  auto& observations = files[0].setups[0].observations;
  observations[0].code = "WALL";
  observations[1].code = "FENCE";
  observations[2].code = "FENCE";
  struct Case {
    const char* sheet;
    double scaleDenominator;  // 0: none given
    std::vector<std::string> parts;
    std::size_t notes;
  };
  const Case cases[] = {
      {"A4", 0, {"width=\"297.0mm\" height=\"210.0mm\"", ">1:500<", ">A4 landscape<"}, 0},
      {"A4-portrait", 0, {"width=\"210.0mm\" height=\"297.0mm\"", ">1:1000<"}, 0},
      {"A4", 200, {">1:200<"}, 1},
      {"", 0, {">fitted to the page: see the scale bar<"}, 0},
  };
  for (const Case& c : cases) {
    PlanOptions options;
    options.sheet = ParseSheet(c.sheet);
    if (c.scaleDenominator > 0) {
      options.scaleDenominator = c.scaleDenominator;
    }
    options.date = "2026-12-09";
    options.crs = "EPSG:2193";
    std::ostringstream out;
    OutputNotes notes;
    WriteSvgPlan(out, files, options, notes);
    const std::string svg = out.str();
    for (const std::string& part : c.parts) {
      EXPECT_TRUE(Contains(svg, part)) << c.sheet << ' ' << part << '\n' << svg;
    }
    for (const char* row : {">a.dat<", ">2026-12-09<", ">m, north up<", ">EPSG:2193<"}) {
      EXPECT_TRUE(Contains(svg, row)) << row;
    }
    EXPECT_EQ(notes.All().size(), c.notes) << c.sheet;
  }
  // The commonest code takes the first colour; a point without one is black.
  const std::string svg = Plan(files);
  struct Entry {
    const char* text;
    const char* symbol;
  };
  for (const Entry& e :
       {Entry{">station (1)<", "stroke=\"#c00\""}, Entry{">FENCE (2)<", "fill=\"#1f77b4\""},
        Entry{">WALL (1)<", "fill=\"#2ca02c\""}, Entry{">no code (1)<", "fill=\"black\""}}) {
    const std::size_t at = svg.find(e.text);
    ASSERT_NE(at, std::string::npos) << e.text;
    const std::size_t symbol = svg.rfind('<', svg.rfind("<text", at) - 1);
    EXPECT_TRUE(Contains(svg.substr(symbol, at - symbol), e.symbol)) << e.text;
  }
  // The two FENCE dots, and the legend's.
  std::size_t fence = 0;
  for (std::size_t at = svg.find("fill=\"#1f77b4\""); at != std::string::npos;
       at = svg.find("fill=\"#1f77b4\"", at + 1)) {
    ++fence;
  }
  EXPECT_EQ(fence, 3u);
  EXPECT_FALSE(Contains(svg, "Drawn"));
  EXPECT_FALSE(Contains(svg, "CRS"));
}

TEST(SvgPlan, SightLinesOnRequest) {
  const std::vector<FileSurvey> files{Survey("a.dat", {{{0, 0}, {0, 100}, {10, 50}}})};
  PlanOptions options;
  const auto sightLines = [&] {
    const std::string svg = Plan(files, options);
    std::size_t count = 0;
    for (std::size_t at = svg.find("stroke=\"#bbb\""); at != std::string::npos;
         at = svg.find("stroke=\"#bbb\"", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_EQ(sightLines(), 2u);
  options.sightLines = SightLines::Hidden;
  EXPECT_EQ(sightLines(), 0u);
}

// A measured point carries its measurement's code, as in the point lists; one name measured
// twice on one spot is named once, twice where the dots stand apart.
TEST(SvgPlan, EveryPointLabelledOnce) {
  std::vector<FileSurvey> files{Survey("a.dat", {{{0, 0}, {10, 10}, {10.001, 10}, {50, 0}}})};
  auto& observations = files[0].setups[0].observations;
  SurveyPoint measured = At("1", 0, 0);
  measured.role = Role::Target;
  measured.x = std::nullopt;
  measured.y = std::nullopt;
  measured.code = "KERB";
  observations.insert(observations.begin(), measured);
  observations[1].name = "1";
  observations[2].name = "1";
  observations[3].name = "1";
  PlanOptions options;
  options.codes = true;
  const std::string svg = Plan(files, options);
  std::size_t named = 0;
  for (std::size_t at = svg.find(">1<tspan dx=\"4\" fill=\"#06c\">KERB<"); at != std::string::npos;
       at = svg.find(">1<tspan", at + 1)) {
    ++named;
  }
  EXPECT_EQ(named, 2u) << svg;
  EXPECT_FALSE(Contains(svg, "left out"));
}

// The plan parses as XML whatever the survey holds: names with markup and control
// characters, a path that is not UTF-8, points too far to draw, no points at all.
TEST(SvgPlan, WellFormed) {
  if (std::system("xmllint --version > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xmllint is not installed";
  }
  std::vector<FileSurvey> hostile{Survey("<&\"\xff\x01>.dat", {{{0, 0}, {10, 10}, {1e15, 0}}}),
                                  Survey("far.dat", {{{1e6, 1e6}, {1e6 + 1, 1e6}}})};
  hostile[0].setups[0].observations[0].name = "a<b>&\"c\"\x02\xef\xbf\xbe";
  hostile[0].setups[0].observations[0].code = "</text>";
  PlanOptions options;
  options.codes = true;
  options.scaleDenominator = 200;
  const m5test::TempFolder folder;
  for (const std::string& svg : {Plan(hostile, options), Plan({}), Plan(hostile)}) {
    const auto path = folder.Write("plan.svg", svg);
    EXPECT_EQ(std::system(("xmllint --noout '" + path.string() + "'").c_str()), 0) << svg;
  }
  const std::string svg = Plan(hostile);
  EXPECT_TRUE(Contains(svg, "1 point(s) lie too far"));
  EXPECT_TRUE(Contains(svg, "far.dat</text>"));  // its own panel
}

}  // namespace
}  // namespace m5host
