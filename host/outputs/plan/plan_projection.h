// Where a plan's points lie and how ground coordinates become drawing positions: north up,
// one scale for both axes, surveys far apart in panels of their own, a grid at round
// intervals of the chosen length unit.
#pragma once

#include <cstddef>
#include <vector>

#include "host/survey/polar_reduction.h"
#include "host/survey/survey.h"

namespace m5host {

// Coordinates further than this from the origin (a million kilometres) are not drawn: no
// survey has them, and without them the plan's arithmetic stays finite.
constexpr double kFarthestDrawnCoordinate = 1e9;

// A point with plan coordinates the plan can draw.
bool IsDrawable(const SurveyPoint& point);
bool IsDrawable(const GridPosition& position);
// The points with plan coordinates that are too far away to draw.
std::size_t CountUndrawable(const std::vector<FileSurvey>& files);

// A ground rectangle (X north, Y east), in metres.
struct PlanExtent {
  double minEast, maxEast, minNorth, maxNorth;

  static PlanExtent At(double east, double north) { return {east, east, north, north}; }
  void Include(const PlanExtent& other);
  double Width() const { return maxEast - minEast; }
  double Height() const { return maxNorth - minNorth; }
  // The longer side, and never less than a metre, so a single point or a line of points
  // still gets a sensible scale.
  double Size() const;
  // How far apart two rectangles lie along the axis that separates them most; 0 when they
  // touch or overlap.
  double GapTo(const PlanExtent& other) const;
};

struct SetupIndex {
  std::size_t file, setup;
  bool operator<(const SetupIndex& other) const {
    return file != other.file ? file < other.file : setup < other.setup;
  }
};

// The set-ups drawn together, in the order of the files.
struct PlanPanel {
  PlanExtent extent;
  std::vector<SetupIndex> setups;
  std::vector<std::size_t> Files() const;  // ascending, each once
};

// Set-ups with drawable points (the instrument's or computed from its observations), grouped so
// that surveys lying far apart compared with their size (two sites, two files of distant jobs) get
// panels of their own rather than two dots on one. Panels come in the order of their first set-up.
std::vector<PlanPanel> GroupIntoPanels(const std::vector<FileSurvey>& files);

// Round lengths for grids and scale bars: 1, 2 or 5 times a power of ten.
double RoundLengthAtLeast(double length);
double RoundLengthAtMost(double length);
// The decimals that show a multiple of a round length exactly: 0 for 10, 1 for 0.5.
int DecimalsFor(double roundLength);

struct Projection {
  double minEast = 0, maxNorth = 0, scale = 1, offsetX = 0, offsetY = 0;
  double Left(double east) const { return offsetX + (east - minEast) * scale; }
  double Top(double north) const { return offsetY + (maxNorth - north) * scale; }
};

// Drawing units per ground metre: the points' longer side (10 m at least) drawn `side` units
// long, or a printed scale of 1:denominator with the given millimetres per drawing unit.
double FittedScale(const PlanExtent& points, double side);
double PrintScale(double denominator, double millimetresPerUnit);

// The ground a panel's frame shows: the points centred, `padding` drawing units clear of
// the frame, the frame at least `minimumSide` units on each side.
struct PanelFrame {
  PlanExtent window;
  double scale;          // drawing units per ground metre
  double width, height;  // drawing units

  Projection At(double left, double top) const {
    return {window.minEast, window.maxNorth, scale, left, top};
  }
};
PanelFrame FramePanel(const PlanExtent& points, double scale, double minimumSide, double padding);

// Grid lines at whole multiples of a round step of the length unit, at least
// `minimumSpacing` drawing units apart and far enough apart for their labels
// (`charWidth` per character) to stand side by side.
struct PlanGrid {
  double step = 1;                  // in the length unit
  int decimals = 0;                 // enough for a multiple of the step
  std::vector<double> east, north;  // the lines, in the length unit
};
PlanGrid ChooseGrid(const PanelFrame& frame, double metresPerUnit, double minimumSpacing,
                    double charWidth);

}  // namespace m5host
