// Where a plan's points lie and how ground coordinates become drawing positions: north up,
// one scale for both axes, the extent fitted into the drawing's free area.
#pragma once

#include <optional>
#include <vector>

#include "host/survey.h"

namespace m5host {

// The ground rectangle that holds every point with finite plan coordinates (X north, Y east).
struct PlanExtent {
  double minEast, maxEast, minNorth, maxNorth;
  // The longer side, and never less than a metre, so a single point or a line of points
  // still gets a sensible scale.
  double Size() const;
};

// Nothing when no point carries plan coordinates.
std::optional<PlanExtent> FindPlanExtent(const std::vector<FileSurvey>& files);

struct Projection {
  double minEast = 0, maxNorth = 0, scale = 1, offsetX = 0, offsetY = 0;
  double Left(double east) const { return offsetX + (east - minEast) * scale; }
  double Top(double north) const { return offsetY + (maxNorth - north) * scale; }
};

// The extent fitted into width by height, keeping margin free on every side and footer
// free below for the scale bar.
Projection FitProjection(const PlanExtent& extent, double width, double height, double margin,
                         double footer);

}  // namespace m5host
