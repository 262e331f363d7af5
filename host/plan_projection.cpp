#include "host/plan_projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace m5host {

double PlanExtent::Size() const {
  return std::max({maxEast - minEast, maxNorth - minNorth, 1.0});
}

std::optional<PlanExtent> FindPlanExtent(const std::vector<FileSurvey>& files) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  PlanExtent extent{kInfinity, -kInfinity, kInfinity, -kInfinity};
  auto extend = [&extent](const SurveyPoint& p) {
    if (p.HasPlanCoordinates() && std::isfinite(*p.x) && std::isfinite(*p.y)) {
      extent.minEast = std::min(extent.minEast, *p.y);
      extent.maxEast = std::max(extent.maxEast, *p.y);
      extent.minNorth = std::min(extent.minNorth, *p.x);
      extent.maxNorth = std::max(extent.maxNorth, *p.x);
    }
  };
  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      if (setup.station) {
        extend(*setup.station);
      }
      std::for_each(setup.observations.begin(), setup.observations.end(), extend);
    }
  }
  if (!(extent.minEast <= extent.maxEast)) {
    return std::nullopt;
  }
  return extent;
}

Projection FitProjection(const PlanExtent& extent, double width, double height, double margin,
                         double footer) {
  const double size = extent.Size();
  Projection projection;
  projection.minEast = extent.minEast;
  projection.maxNorth = extent.maxNorth;
  projection.scale = std::min((width - 2 * margin) / size, (height - 2 * margin - footer) / size);
  projection.offsetX = margin;
  projection.offsetY = margin + 10;  // clear of the title
  return projection;
}

}  // namespace m5host
