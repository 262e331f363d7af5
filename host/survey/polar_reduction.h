// The polar reduction: the place of a target from the station's place, an oriented
// direction, a zenith angle and a slope distance (or a horizontal distance and a height
// difference), as the instrument itself computes it: X north, Y east, directions clockwise
// from north, no refraction, no earth curvature and no scale, which the host is never told.
#pragma once

#include <optional>

#include "host/survey/maybe_double.h"

namespace m5host {

// A place on the survey's grid, in metres.
struct GridPosition {
  double north = 0;  // the geodetic X
  double east = 0;   // the geodetic Y
  MaybeDouble elevation;
};

// One sighting from a station, in metres and radians.
struct PolarSighting {
  double direction = 0;  // oriented horizontal direction, clockwise from grid north
  MaybeDouble zenithAngle, slopeDistance;
  MaybeDouble horizontalDistance;
  MaybeDouble heightDifference;  // ground to ground, as the instrument records it
  double instrumentHeight = 0;   // unset heights count as 0, as the instrument takes them
  double targetHeight = 0;
};

// The target's place; none when the sighting gives no horizontal distance, or a value is
// not a finite number or a distance is negative. The elevation is set when the station has
// one and the sighting gives a height: the zenith angle with the slope distance, else the
// recorded height difference.
std::optional<GridPosition> ReducePolar(const GridPosition& station, const PolarSighting& sighting);

}  // namespace m5host
