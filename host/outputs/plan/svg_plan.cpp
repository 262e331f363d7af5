#include "host/outputs/output_formats.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "host/outputs/plan/plan_footer.h"
#include "host/outputs/plan/plan_labels.h"
#include "host/outputs/plan/plan_projection.h"
#include "host/outputs/plan/svg_text.h"
#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

// Drawing units. Text is 11 units high; printed to scale a unit is a quarter of a
// millimetre, so names print 2.75 mm high.
constexpr double kFontSize = 11;
constexpr double kLabelHeight = 13;
constexpr double kMillimetresPerUnit = 0.25;
// The points' longer side when the plan is fitted to the page rather than to a scale.
constexpr double kSinglePanelSide = 760;
constexpr double kPanelSide = 420;
constexpr double kMinimumFrameSide = 160;
constexpr double kPadding = 24;  // points clear of the frame
constexpr double kGridSpacing = 64;
constexpr double kPageMargin = 12;
constexpr double kTitleHeight = 22;
constexpr double kRightRoom = 8;    // labels stay inside the frame
constexpr double kBelowFrame = 52;  // easting labels and the scale bar
constexpr double kPanelGap = 16;
// A sheet's margin (10 mm printed), the drawing frame a little inside it, and the gap
// between the plan and its legend and title block.
constexpr double kSheetMargin = 40;
constexpr double kFrameGap = 8;
constexpr double kFooterGap = 12;
constexpr double kLargestDenominator = 1e9;
// The title block names this many files, then says how many more.
constexpr std::size_t kFilesNamed = 3;
constexpr double kObservationClearance = 3;
constexpr double kStationClearance = 7;
// An observed point's dot; two of one name closer than this are one point on the drawing,
// labelled once.
constexpr double kDotRadius = 2.5;
// A point computed from its observation: a ring, so that where the instrument recorded the
// point too its dot shows inside it.
constexpr double kRingRadius = 4;
// A station's triangle around its point.
constexpr LabelBox kStationMark{-6, -7, 6, 4};

// A point's label: its name, then its code and elevation when asked for.
struct PointLabel {
  std::string name, code, elevation;
  std::string Text() const {
    return name + (code.empty() ? "" : " " + code) + (elevation.empty() ? "" : " " + elevation);
  }
};

// The code is the point's own or its measurement's, as the point lists write it.
PointLabel LabelOf(const SurveyPoint& point, const MaybeText& code, const MaybeDouble& elevation,
                   const PlanOptions& options) {
  PointLabel label{point.name, {}, {}};
  if (options.codes && code.HasText()) {
    label.code = *code;
  }
  if (options.elevations && elevation && std::isfinite(*elevation)) {
    label.elevation = Fixed(*elevation / options.unit.metres, 3);
  }
  return label;
}

struct PanelLayout {
  const PlanPanel* panel;
  PanelFrame frame;
  PlanGrid grid;
  double northingRoom;  // left of the frame, for the northing labels
  double left = 0, top = 0;

  double Width() const { return northingRoom + frame.width + kRightRoom; }
  double Height() const { return kTitleHeight + frame.height + kBelowFrame; }
  double FrameLeft() const { return left + northingRoom; }
  double FrameTop() const { return top + kTitleHeight; }
};

// The widest label of a panel's points, so that a frame of a few points close together
// still has room for a label beside each.
double WidestLabel(const std::vector<FileSurvey>& files, const PlanPanel& panel,
                   const PlanOptions& options) {
  double widest = 0;
  std::map<std::size_t, PointCodes> codes;
  std::map<std::size_t, ComputedPoints> computed;
  for (const SetupIndex& index : panel.setups) {
    const FileSurvey& file = files[index.file];
    const PointCodes& fileCodes = codes.try_emplace(index.file, file).first->second;
    const ComputedPoints& fileComputed = computed.try_emplace(index.file, file).first->second;
    const StationSetup& setup = file.setups[index.setup];
    auto measure = [&](const SurveyPoint& p) {
      if (IsDrawable(p)) {
        widest = std::max(widest, TextWidth(LabelOf(p, fileCodes.For(p), p.z, options).Text()));
      }
      if (const ComputedPoint* point = fileComputed.For(p)) {
        widest = std::max(
            widest,
            TextWidth(LabelOf(p, fileCodes.For(p), point->position.elevation, options).Text()));
      }
    };
    if (setup.station) {
      measure(*setup.station);
    }
    for (const SurveyPoint& p : setup.observations) {
      measure(p);
    }
  }
  return widest;
}

PanelLayout LayOut(const PlanPanel& panel, double scale, double widestLabel,
                   const PlanOptions& options) {
  const double minimumSide = std::max(kMinimumFrameSide, 2 * (widestLabel + kStationClearance));
  PanelLayout layout{&panel, FramePanel(panel.extent, scale, minimumSide, kPadding), {}, 0};
  layout.grid = ChooseGrid(layout.frame, options.unit.metres, kGridSpacing, kCharWidth);
  const PlanExtent& w = layout.frame.window;
  const std::size_t widest =
      std::max(Fixed(w.minNorth / options.unit.metres, layout.grid.decimals).size(),
               Fixed(w.maxNorth / options.unit.metres, layout.grid.decimals).size());
  layout.northingRoom = static_cast<double>(widest + 1) * kCharWidth;
  return layout;
}

// Panels row by row, about as many rows as columns.
void Arrange(std::vector<PanelLayout>& layouts, double& width, double& height) {
  const auto columns =
      static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(layouts.size()))));
  double top = kPageMargin;
  width = 0;
  for (std::size_t first = 0; first < layouts.size(); first += columns) {
    double left = kPageMargin, rowHeight = 0;
    for (std::size_t i = first; i < std::min(first + columns, layouts.size()); ++i) {
      layouts[i].left = left;
      layouts[i].top = top;
      left += layouts[i].Width() + kPanelGap;
      rowHeight = std::max(rowHeight, layouts[i].Height());
    }
    width = std::max(width, left - kPanelGap + kPageMargin);
    top += rowHeight + kPanelGap;
  }
  height = top - kPanelGap + kPageMargin;
}

class PanelWriter {
 public:
  PanelWriter(std::ostream& out, const std::vector<FileSurvey>& files, const PlanOptions& options,
              const CodeLegend& legend, const PanelLayout& layout)
      : m_out(out),
        m_files(files),
        m_options(options),
        m_legend(legend),
        m_layout(layout),
        m_projection(layout.frame.At(layout.FrameLeft(), layout.FrameTop())) {}

  void Write() {
    WriteGrid();
    WritePoints();
    WriteLabels();
    WriteTitle();
    WriteNorthArrow();
    WriteScaleBar();
  }

 private:
  void WriteTitle() {
    std::string title;
    for (const std::size_t file : m_layout.panel->Files()) {
      title += (title.empty() ? "" : ", ") + m_files[file].path;
    }
    if (m_leftOut != 0) {
      title += " (" + std::to_string(m_leftOut) + " label(s) left out for want of room)";
    }
    m_out << "<text x=\"" << Number(m_layout.FrameLeft()) << "\" y=\"" << Number(m_layout.top + 15)
          << "\" font-size=\"13\">" << Xml(title) << "</text>\n";
  }

  void WriteGrid() {
    const double left = m_layout.FrameLeft(), top = m_layout.FrameTop();
    const double right = left + m_layout.frame.width, bottom = top + m_layout.frame.height;
    const PlanGrid& grid = m_layout.grid;
    const double metres = m_options.unit.metres;
    m_out << "<g stroke=\"#ddd\" stroke-width=\"0.6\">\n";
    for (const double east : grid.east) {
      const std::string x = Number(m_projection.Left(east * metres));
      m_out << "<line x1=\"" << x << "\" y1=\"" << Number(top) << "\" x2=\"" << x << "\" y2=\""
            << Number(bottom) << "\"/>\n";
    }
    for (const double north : grid.north) {
      const std::string y = Number(m_projection.Top(north * metres));
      m_out << "<line x1=\"" << Number(left) << "\" y1=\"" << y << "\" x2=\"" << Number(right)
            << "\" y2=\"" << y << "\"/>\n";
    }
    m_out << "</g>\n<rect x=\"" << Number(left) << "\" y=\"" << Number(top) << "\" width=\""
          << Number(m_layout.frame.width) << "\" height=\"" << Number(m_layout.frame.height)
          << "\" fill=\"none\" stroke=\"#888\"/>\n"
          << "<g font-size=\"9\" fill=\"#555\">\n";
    for (const double east : grid.east) {
      m_out << "<text x=\"" << Number(m_projection.Left(east * metres)) << "\" y=\""
            << Number(bottom + 12) << "\" text-anchor=\"middle\">" << Fixed(east, grid.decimals)
            << "</text>\n";
    }
    for (const double north : grid.north) {
      m_out << "<text x=\"" << Number(left - 4) << "\" y=\""
            << Number(m_projection.Top(north * metres) + 3) << "\" text-anchor=\"end\">"
            << Fixed(north, grid.decimals) << "</text>\n";
    }
    m_out << "</g>\n";
  }

  // Sight lines and markers, gathering the labels: stations' first, so they win a place.
  void WritePoints() {
    // Stations are named before the points observed, so a station observed from another
    // keeps its station's label.
    for (const SetupIndex& index : m_layout.panel->setups) {
      const StationSetup& setup = m_files[index.file].setups[index.setup];
      if (setup.station && IsDrawable(*setup.station)) {
        const SurveyPoint& station = *setup.station;
        Want(m_labels, station, CodesOf(index.file).For(station), station.z,
             m_projection.Left(*station.y), m_projection.Top(*station.x), kStationClearance);
      }
    }
    std::vector<Wanted> observations;
    for (const SetupIndex& index : m_layout.panel->setups) {
      const StationSetup& setup = m_files[index.file].setups[index.setup];
      const SurveyPoint* station =
          setup.station && IsDrawable(*setup.station) ? &*setup.station : nullptr;
      for (const SurveyPoint& p : setup.observations) {
        const bool recorded = IsDrawable(p);
        if (recorded) {
          const double left = m_projection.Left(*p.y), top = m_projection.Top(*p.x);
          SightLine(station, left, top);
          m_out << "<circle cx=\"" << Number(left) << "\" cy=\"" << Number(top) << "\" r=\""
                << Number(kDotRadius) << "\" fill=\"" << m_legend.ColourOf(CodeText(index.file, p))
                << "\"/>\n";
          m_marks.push_back(
              {left - kDotRadius, top - kDotRadius, left + kDotRadius, top + kDotRadius});
          Want(observations, p, CodesOf(index.file).For(p), p.z, left, top, kObservationClearance);
        }
        const ComputedPoint* computed = ComputedOf(index.file).For(p);
        if (computed != nullptr && IsDrawable(computed->position)) {
          const GridPosition& at = computed->position;
          const double left = m_projection.Left(at.east), top = m_projection.Top(at.north);
          if (!recorded) {
            SightLine(station, left, top);
          }
          m_out << "<circle cx=\"" << Number(left) << "\" cy=\"" << Number(top) << "\" r=\""
                << Number(kRingRadius) << "\" fill=\"none\" stroke=\""
                << m_legend.ColourOf(CodeText(index.file, p)) << "\" stroke-width=\"1.2\"/>\n";
          m_marks.push_back(
              {left - kRingRadius, top - kRingRadius, left + kRingRadius, top + kRingRadius});
          Want(observations, p, CodesOf(index.file).For(p), at.elevation, left, top,
               kObservationClearance);
        }
      }
      if (station != nullptr) {
        const double left = m_projection.Left(*station->y), top = m_projection.Top(*station->x);
        m_out << "<polygon points=\"" << Number(left) << ',' << Number(top - 7) << ' '
              << Number(left - 6) << ',' << Number(top + 4) << ' ' << Number(left + 6) << ','
              << Number(top + 4) << "\" fill=\"none\" stroke=\"#c00\" stroke-width=\"1.5\"/>\n";
        m_marks.push_back({left + kStationMark.left, top + kStationMark.top,
                           left + kStationMark.right, top + kStationMark.bottom});
      }
    }
    m_stationLabels = m_labels.size();
    m_labels.insert(m_labels.end(), observations.begin(), observations.end());
  }

  void SightLine(const SurveyPoint* station, double left, double top) {
    if (station != nullptr && m_options.sightLines == SightLines::Drawn) {
      m_out << "<line x1=\"" << Number(m_projection.Left(*station->y)) << "\" y1=\""
            << Number(m_projection.Top(*station->x)) << "\" x2=\"" << Number(left) << "\" y2=\""
            << Number(top) << "\" stroke=\"#bbb\" stroke-width=\"0.7\"/>\n";
    }
  }

  void WriteLabels() {
    std::vector<LabelRequest> requests;
    requests.reserve(m_labels.size());
    for (const Wanted& wanted : m_labels) {
      requests.push_back(wanted.request);
    }
    const double left = m_layout.FrameLeft(), top = m_layout.FrameTop();
    const LabelRoom room{
        LabelBox{left, top, left + m_layout.frame.width, top + m_layout.frame.height},
        std::move(m_marks)};
    const std::vector<std::optional<PlacedLabel>> placed = PlaceLabels(requests, room);
    // Each leader is written just before its label.
    m_out << "<g class=\"labels\">\n";
    for (std::size_t i = 0; i < placed.size(); ++i) {
      if (!placed[i]) {
        ++m_leftOut;
        continue;
      }
      if (const std::optional<Leader>& leader = placed[i]->leader) {
        m_out << "<line x1=\"" << Number(leader->x1) << "\" y1=\"" << Number(leader->y1)
              << "\" x2=\"" << Number(leader->x2) << "\" y2=\"" << Number(leader->y2)
              << "\" stroke=\"#06c\" stroke-width=\"0.5\"/>\n";
      }
      const LabelBox& box = placed[i]->box;
      const PointLabel& label = m_labels[i].label;
      m_out << "<text x=\"" << Number(box.left) << "\" y=\"" << Number(box.bottom - 3) << '"'
            << (i < m_stationLabels ? " fill=\"#c00\" font-weight=\"bold\"" : "") << '>'
            << Xml(label.name);
      if (!label.code.empty()) {
        m_out << "<tspan dx=\"4\" fill=\"#06c\">" << Xml(label.code) << "</tspan>";
      }
      if (!label.elevation.empty()) {
        m_out << "<tspan dx=\"4\" fill=\"#555\">" << label.elevation << "</tspan>";
      }
      m_out << "</text>\n";
    }
    m_out << "</g>\n";
  }

  // Below the frame's right corner, where no label reaches.
  void WriteNorthArrow() {
    const double x = m_layout.FrameLeft() + m_layout.frame.width - 6;
    const double y = m_layout.FrameTop() + m_layout.frame.height + kBelowFrame - 32;
    m_out << "<path d=\"M" << Number(x) << ',' << Number(y) << " l-6,16 l6,-4 l6,4 z\"/>\n"
          << "<text x=\"" << Number(x - 10) << "\" y=\"" << Number(y + 16)
          << "\" text-anchor=\"end\">N</text>\n";
  }

  void WriteScaleBar() {
    const PlanLengthUnit& unit = m_options.unit;
    const double length = RoundLengthAtMost(m_layout.frame.window.Width() / unit.metres / 4);
    const double drawn = length * unit.metres * m_layout.frame.scale;
    const double left = m_layout.FrameLeft();
    const double base = m_layout.FrameTop() + m_layout.frame.height + kBelowFrame - 12;
    std::string text = Fixed(length, DecimalsFor(length)) + ' ' + unit.symbol;
    if (m_options.scaleDenominator) {
      text += "   1:" + Fixed(*m_options.scaleDenominator, 0);
    }
    m_out << "<path d=\"M" << Number(left) << ',' << Number(base - 5) << " v5 h" << Number(drawn)
          << " v-5\" fill=\"none\" stroke=\"black\" stroke-width=\"1.5\"/>\n"
          << "<text x=\"" << Number(left + drawn + 6) << "\" y=\"" << Number(base) << "\">"
          << Xml(text) << "</text>\n";
  }

  struct Wanted {
    PointLabel label;
    LabelRequest request;
  };

  // One label per name and place: a point observed from several stations, or measured twice
  // on one spot, is named once; the first record named gives the label.
  void Want(std::vector<Wanted>& into, const SurveyPoint& point, const MaybeText& code,
            const MaybeDouble& elevation, double left, double top, double clearance) {
    PointLabel label = LabelOf(point, code, elevation, m_options);
    const std::string text = label.Text();
    if (text.empty() || NamedNear(point.name.str(), left, top)) {
      return;
    }
    into.push_back({std::move(label), {left, top, TextWidth(text), kLabelHeight, clearance}});
  }

  // Whether a point of this name lies closer than a dot's radius to one already named; if
  // not, this one is now named. Filed by cells of that size, so only neighbours are compared.
  bool NamedNear(const std::string& name, double left, double top) {
    const long long column = std::llround(std::floor(left / kDotRadius));
    const long long row = std::llround(std::floor(top / kDotRadius));
    for (long long c = column - 1; c <= column + 1; ++c) {
      for (long long r = row - 1; r <= row + 1; ++r) {
        const auto found = m_named.find({name, c, r});
        if (found == m_named.end()) {
          continue;
        }
        for (const auto& [x, y] : found->second) {
          if (std::hypot(x - left, y - top) < kDotRadius) {
            return true;
          }
        }
      }
    }
    m_named[{name, column, row}].emplace_back(left, top);
    return false;
  }

  std::string CodeText(std::size_t file, const SurveyPoint& point) {
    const MaybeText code = CodesOf(file).For(point);
    return code.HasText() ? *code : std::string();
  }

  // The codes of a file's points, made when its first point is drawn.
  const PointCodes& CodesOf(std::size_t file) {
    auto found = m_codes.find(file);
    if (found == m_codes.end()) {
      found = m_codes.emplace(file, PointCodes(m_files[file])).first;
    }
    return found->second;
  }

  // The points computed from a file's observations, reduced when its first point is drawn.
  const ComputedPoints& ComputedOf(std::size_t file) {
    return m_computed.try_emplace(file, m_files[file]).first->second;
  }

  std::ostream& m_out;
  const std::vector<FileSurvey>& m_files;
  const PlanOptions& m_options;
  const CodeLegend& m_legend;
  const PanelLayout& m_layout;
  const Projection m_projection;
  std::vector<Wanted> m_labels;
  std::size_t m_stationLabels = 0;
  std::size_t m_leftOut = 0;
  std::vector<LabelBox> m_marks;
  std::map<std::tuple<std::string, long long, long long>, std::vector<std::pair<double, double>>>
      m_named;
  std::map<std::size_t, PointCodes> m_codes;
  std::map<std::size_t, ComputedPoints> m_computed;
};

bool PrintsToScale(const PlanOptions& options) {
  return options.scaleDenominator && std::isfinite(*options.scaleDenominator) &&
         *options.scaleDenominator > 0;
}

// Each panel at the printed scale, or fitted to the page without one.
std::vector<PanelLayout> LayOutPanels(const std::vector<FileSurvey>& files,
                                      const std::vector<PlanPanel>& panels,
                                      const PlanOptions& options) {
  std::vector<PanelLayout> layouts;
  for (const PlanPanel& panel : panels) {
    const double scale =
        PrintsToScale(options)
            ? PrintScale(*options.scaleDenominator, kMillimetresPerUnit)
            : FittedScale(panel.extent, panels.size() == 1 ? kSinglePanelSide : kPanelSide);
    layouts.push_back(LayOut(panel, scale, WidestLabel(files, panel, options), options));
  }
  return layouts;
}

// The largest of the scales plans are drawn at (1:1, 1:2, 1:2.5, 1:5, 1:10, ... 1:250,
// 1:500, ...) at which the panels fit the room.
double ScaleFitting(const std::vector<FileSurvey>& files, const std::vector<PlanPanel>& panels,
                    PlanOptions options, double roomWidth, double roomHeight) {
  constexpr double kSteps[] = {1, 2, 2.5, 5};
  for (double power = 1; power < kLargestDenominator; power *= 10) {
    for (const double step : kSteps) {
      options.scaleDenominator = step * power;
      std::vector<PanelLayout> layouts = LayOutPanels(files, panels, options);
      double width = 0, height = 0;
      Arrange(layouts, width, height);
      if (width - 2 * kPageMargin <= roomWidth && height - 2 * kPageMargin <= roomHeight) {
        return step * power;
      }
    }
  }
  return kLargestDenominator;
}

std::string SheetText(const PlanSheet& sheet) {
  return sheet.name +
         (sheet.orientation == SheetOrientation::Landscape ? " landscape" : " portrait");
}

// What the title block says: the files, the day, the scale, the sheet, the units, the grid,
// and what the plan could not show.
std::vector<std::pair<std::string, std::string>> TitleRows(const std::vector<FileSurvey>& files,
                                                           const PlanOptions& options,
                                                           const std::vector<std::string>& notes) {
  std::string survey;
  for (std::size_t i = 0; i < files.size() && i < kFilesNamed; ++i) {
    survey += (i == 0 ? "" : ", ") + files[i].path;
  }
  if (files.size() > kFilesNamed) {
    survey += " and " + std::to_string(files.size() - kFilesNamed) + " more";
  }
  std::vector<std::pair<std::string, std::string>> rows{{"Survey", survey}};
  if (!options.date.empty()) {
    rows.emplace_back("Drawn", options.date);
  }
  rows.emplace_back("Scale", options.scaleDenominator ? "1:" + Fixed(*options.scaleDenominator, 0)
                                                      : "fitted to the page: see the scale bar");
  if (options.sheet) {
    rows.emplace_back("Sheet", SheetText(*options.sheet));
  }
  rows.emplace_back("Units", options.unit.symbol + ", north up");
  if (!options.crs.empty()) {
    rows.emplace_back("CRS", options.crs);
  }
  for (const std::string& note : notes) {
    rows.emplace_back("Note", note);
  }
  return rows;
}

// The codes of the points drawn, and the stations.
CodeLegend LegendOf(const std::vector<FileSurvey>& files, const std::vector<PlanPanel>& panels) {
  CodeLegend legend;
  std::map<std::size_t, PointCodes> codes;
  std::map<std::size_t, ComputedPoints> computed;
  for (const PlanPanel& panel : panels) {
    for (const SetupIndex& index : panel.setups) {
      const FileSurvey& file = files[index.file];
      const PointCodes& fileCodes = codes.try_emplace(index.file, file).first->second;
      const ComputedPoints& fileComputed = computed.try_emplace(index.file, file).first->second;
      const StationSetup& setup = file.setups[index.setup];
      if (setup.station && IsDrawable(*setup.station)) {
        legend.CountStation();
      }
      for (const SurveyPoint& p : setup.observations) {
        const ComputedPoint* point = fileComputed.For(p);
        const bool reduced = point != nullptr && IsDrawable(point->position);
        if (reduced) {
          legend.CountComputed();
        }
        // Each record's code once, whichever marks it.
        if (IsDrawable(p) || reduced) {
          const MaybeText code = fileCodes.For(p);
          legend.CountPoint(code.HasText() ? *code : std::string());
        }
      }
    }
  }
  legend.Finish();
  return legend;
}

}  // namespace

void WriteSvgPlan(std::ostream& out, const std::vector<FileSurvey>& files,
                  const PlanOptions& options, OutputNotes& notes) {
  const std::vector<PlanPanel> panels = GroupIntoPanels(files);
  const CodeLegend legend = LegendOf(files, panels);
  std::vector<std::string> planNotes;
  if (panels.empty()) {
    planNotes.push_back("No point carries plan coordinates.");
  }
  if (const std::size_t far = CountUndrawable(files); far != 0) {
    planNotes.push_back(std::to_string(far) + " point(s) lie too far from the origin to draw.");
  }
  PlanOptions drawn = options;
  if (!PrintsToScale(options)) {
    drawn.scaleDenominator.reset();
  }
  // The title block has as many rows whatever the scale, so its height is known before.
  const double footerHeight =
      std::max(legend.Height(), TitleBlock{TitleRows(files, drawn, planNotes)}.Height());
  const std::optional<PlanSheet>& sheet = options.sheet;
  const double sheetWidth = sheet ? sheet->Width() / kMillimetresPerUnit : 0;
  const double sheetHeight = sheet ? sheet->Height() / kMillimetresPerUnit : 0;
  if (sheet && !drawn.scaleDenominator) {
    drawn.scaleDenominator =
        ScaleFitting(files, panels, drawn, sheetWidth - 2 * kSheetMargin,
                     sheetHeight - 2 * kSheetMargin - footerHeight - kFooterGap);
  }
  std::vector<PanelLayout> layouts = LayOutPanels(files, panels, drawn);
  double width = 0, height = 0;
  Arrange(layouts, width, height);
  const TitleBlock block{TitleRows(files, drawn, planNotes)};
  const double footerWidth = (legend.Empty() ? 0 : legend.Width() + kFooterGap) + block.Width();

  double pageWidth = 0, pageHeight = 0, footerLeft = 0, footerTop = 0;
  if (sheet) {
    // The plan centred in the room the legend and title block leave.
    const double roomWidth = sheetWidth - 2 * kSheetMargin;
    const double roomHeight = sheetHeight - 2 * kSheetMargin - footerHeight - kFooterGap;
    const double shiftX =
        kSheetMargin - kPageMargin + std::max(0.0, (roomWidth - (width - 2 * kPageMargin)) / 2);
    const double shiftY =
        kSheetMargin - kPageMargin + std::max(0.0, (roomHeight - (height - 2 * kPageMargin)) / 2);
    for (PanelLayout& layout : layouts) {
      layout.left += shiftX;
      layout.top += shiftY;
    }
    const double neededWidth = std::max(width - 2 * kPageMargin, footerWidth) + 2 * kSheetMargin;
    const double neededHeight =
        height - 2 * kPageMargin + kFooterGap + footerHeight + 2 * kSheetMargin;
    pageWidth = std::max(sheetWidth, neededWidth);
    pageHeight = std::max(sheetHeight, neededHeight);
    if (pageWidth > sheetWidth || pageHeight > sheetHeight) {
      notes.Add("svg: the plan at 1:" + Fixed(*drawn.scaleDenominator, 0) + " needs " +
                Fixed(neededWidth * kMillimetresPerUnit, 0) + " x " +
                Fixed(neededHeight * kMillimetresPerUnit, 0) + " mm, more than " +
                SheetText(*sheet) + " (" + Fixed(sheet->Width(), 0) + " x " +
                Fixed(sheet->Height(), 0) + " mm): the page is made larger");
    }
    footerLeft = kSheetMargin;
    footerTop = pageHeight - kSheetMargin - footerHeight;
  } else {
    pageWidth = std::max({width, footerWidth + 2 * kPageMargin, 400.0});
    pageHeight = height + footerHeight + kPageMargin;
    footerLeft = kPageMargin;
    footerTop = height;
  }

  const bool toScale = drawn.scaleDenominator.has_value();
  const std::string size = toScale ? "mm" : "";
  const double pageScale = toScale ? kMillimetresPerUnit : 1;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Number(pageWidth * pageScale)
      << size << "\" height=\"" << Number(pageHeight * pageScale) << size << "\" viewBox=\"0 0 "
      << Number(pageWidth) << ' ' << Number(pageHeight)
      << "\" font-family=\"sans-serif\" font-size=\"" << kFontSize << "\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  if (sheet) {
    // The sheet's drawing frame, a margin in from its edge.
    out << "<rect x=\"" << Number(kSheetMargin - kFrameGap) << "\" y=\""
        << Number(kSheetMargin - kFrameGap) << "\" width=\""
        << Number(pageWidth - 2 * (kSheetMargin - kFrameGap)) << "\" height=\""
        << Number(pageHeight - 2 * (kSheetMargin - kFrameGap))
        << "\" fill=\"none\" stroke=\"black\" stroke-width=\"2\"/>\n";
  }
  for (const PanelLayout& layout : layouts) {
    PanelWriter(out, files, drawn, legend, layout).Write();
  }
  if (!legend.Empty()) {
    legend.Write(out, footerLeft, footerTop);
  }
  const double footerRight = pageWidth - (sheet ? kSheetMargin : kPageMargin);
  block.Write(out, footerRight - block.Width(), footerTop + footerHeight - block.Height());
  out << "</svg>\n";
}

}  // namespace m5host
