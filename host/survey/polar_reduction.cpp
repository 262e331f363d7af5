#include "host/survey/polar_reduction.h"

#include <cmath>

namespace m5host {

namespace {

bool Finite(const MaybeDouble& value) {
  return value.has_value() && std::isfinite(*value);
}

}  // namespace

std::optional<GridPosition> ReducePolar(const GridPosition& station, const PolarSighting& s) {
  if (!std::isfinite(station.north) || !std::isfinite(station.east) ||
      !std::isfinite(s.direction) || !std::isfinite(s.instrumentHeight) ||
      !std::isfinite(s.targetHeight)) {
    return std::nullopt;
  }
  const bool slope = Finite(s.slopeDistance) && Finite(s.zenithAngle) && *s.slopeDistance >= 0;
  double horizontal = 0;
  MaybeDouble rise;  // from the station's ground mark to the target's
  if (slope) {
    horizontal = *s.slopeDistance * std::sin(*s.zenithAngle);
    rise = s.instrumentHeight + *s.slopeDistance * std::cos(*s.zenithAngle) - s.targetHeight;
  } else if (Finite(s.horizontalDistance) && *s.horizontalDistance >= 0) {
    horizontal = *s.horizontalDistance;
    if (Finite(s.heightDifference)) {
      rise = *s.heightDifference;
    }
  } else {
    return std::nullopt;
  }
  GridPosition target;
  target.north = station.north + horizontal * std::cos(s.direction);
  target.east = station.east + horizontal * std::sin(s.direction);
  if (Finite(station.elevation) && rise.has_value()) {
    target.elevation = *station.elevation + *rise;
  }
  return target;
}

}  // namespace m5host
