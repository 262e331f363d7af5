#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "host/survey/computed_points.h"
#include "host/survey/polar_reduction.h"

namespace m5host {
namespace {

constexpr double kGon = 3.14159265358979323846 / 200;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const MaybeDouble kUnset;

struct Row {
  const char* what;
  GridPosition station;
  PolarSighting sighting;
  std::optional<GridPosition> expected;  // to the millimetre the instrument writes
};

// Sightings from the bundled examples and the corpus with the coordinates their instrument
// wrote, then what cannot be reduced.
const Row kRows[] = {
    {"known_point 101: slope distance, zenith angle in gon, both heights",
     {5000, 1000, 120.45},
     {34.8492 * kGon, 98.9754 * kGon, 24.730, kUnset, kUnset, 1.562, 1.8},
     GridPosition{5021.114, 1012.870, 120.610}},
    {"M3 point 2: DMS angles, a direction past 300 degrees",
     {0, 0, 0},
     {(340 + 1 / 60.0 + 5 / 3600.0) * kGon / 0.9, (91 + 16 / 60.0 + 19 / 3600.0) * kGon / 0.9,
      6.552, kUnset, kUnset, 1.645, 1.534},
     GridPosition{6.156, -2.239, -0.034}},
    {"height_station 301: horizontal distance and the recorded ground-to-ground rise",
     {1520.33, 8830.12, 243.118},
     {72.9642 * kGon, kUnset, kUnset, 23.761, 0.284, 1.48, 1.48},
     GridPosition{1530.120, 8851.770, 243.402}},
    {"face II: direction and zenith angle turned through 200 gon",
     {5000, 1000, 120.45},
     {234.8492 * kGon, 301.0246 * kGon, 24.730, kUnset, kUnset, 1.562, 1.8},
     GridPosition{5021.114, 1012.870, 120.610}},
    {"a station without elevation places the target without one",
     {5000, 1000, kUnset},
     {34.8492 * kGon, 98.9754 * kGon, 24.730, kUnset, kUnset, 1.562, 1.8},
     GridPosition{5021.114, 1012.870, kUnset}},
    {"a horizontal distance without a rise places the target without elevation",
     {0, 0, 10},
     {100 * kGon, kUnset, kUnset, 5.0, kUnset, 0, 0},
     GridPosition{0, 5, kUnset}},
    {"a direction and zenith angle without distance",
     {0, 0, 0},
     {1.0, 1.5, kUnset, kUnset, kUnset, 0, 0},
     std::nullopt},
    {"a slope distance without zenith angle",
     {0, 0, 0},
     {1.0, kUnset, 10.0, kUnset, kUnset, 0, 0},
     std::nullopt},
    {"a negative distance", {0, 0, 0}, {1.0, 1.5, -10.0, kUnset, kUnset, 0, 0}, std::nullopt},
    {"a direction that is not a number",
     {0, 0, 0},
     {kNaN, 1.5, 10.0, kUnset, kUnset, 0, 0},
     std::nullopt},
    {"a station that is not a number",
     {kNaN, 0, 0},
     {1.0, 1.5, 10.0, kUnset, kUnset, 0, 0},
     std::nullopt},
};

TEST(PolarReduction, PlacesTargetsAsTheInstrumentDid) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.what);
    const std::optional<GridPosition> got = ReducePolar(row.station, row.sighting);
    ASSERT_EQ(got.has_value(), row.expected.has_value());
    if (!got) {
      continue;
    }
    EXPECT_NEAR(got->north, row.expected->north, 1e-3);
    EXPECT_NEAR(got->east, row.expected->east, 1e-3);
    ASSERT_EQ(got->elevation.has_value(), row.expected->elevation.has_value());
    if (got->elevation) {
      EXPECT_NEAR(*got->elevation, *row.expected->elevation, 1e-3);
    }
  }
}

SurveyPoint Record(const char* name, Role role) {
  SurveyPoint p;
  p.name = name;
  p.role = role;
  return p;
}

// A set-up as the plug-in delivers it: the known point and its raw-reading sighting, then a
// target measured twice, each time followed by the instrument's coordinates.
TEST(ComputedPoints, ReduceTargetsNotTheSetUpsSightingAndPairTheRecordAfter) {
  FileSurvey file;
  StationSetup& setup = file.setups.emplace_back();
  setup.station = Record("S", Role::Station);
  setup.station->x = 0.0;
  setup.station->y = 0.0;
  SurveyPoint known = Record("BS", Role::Point);
  known.x = 100.0;
  known.y = 0.0;
  known.kind = 1;
  SurveyPoint sighting = Record("BS", Role::Target);
  sighting.horizontalDirection = 1.0;  // a circle reading, before the orientation
  sighting.horizontalDistance = 100.0;
  SurveyPoint target = Record("7", Role::Target);
  target.horizontalDirection = 0.0;
  target.horizontalDistance = 10.0;
  SurveyPoint first = Record("7", Role::Point);
  first.x = 10.0;
  first.y = 0.0;
  SurveyPoint second = first;
  second.x = 10.02;
  setup.observations = {known, sighting, target, first, target, second};

  const ComputedPoints computed(file);
  ASSERT_EQ(computed.All().size(), 2u);
  EXPECT_EQ(computed.For(setup.observations[1]), nullptr);
  EXPECT_EQ(computed.All()[0].recorded, &setup.observations[3]);
  EXPECT_EQ(computed.All()[1].recorded, &setup.observations[5]);
  EXPECT_NEAR(DifferenceFromRecorded(computed.All()[1]).Length(), 0.02, 1e-9);
}

}  // namespace
}  // namespace m5host
