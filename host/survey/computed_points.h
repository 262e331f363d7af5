// The points the host places itself: every target sighted from a station whose place is
// known, reduced from its direction and distance (polar_reduction.h). The instrument's
// directions after its set-up are oriented (it turned its circle by the orientation it
// recorded), so they are taken as they come; a known point sighted during the set-up is the
// orientation's own sighting, its direction a raw circle reading, and is not reduced.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "host/survey/point_codes.h"
#include "host/survey/polar_reduction.h"
#include "host/survey/survey.h"

namespace m5host {

struct ComputedPoint {
  const SurveyPoint* observation;
  GridPosition position;
  // The coordinates the instrument recorded for the same point in the same set-up (the
  // first after the observation, else the last before it), or none.
  const SurveyPoint* recorded;
};

class ComputedPoints {
 public:
  explicit ComputedPoints(const FileSurvey& file);
  // The point computed from this observation, or none.
  const ComputedPoint* For(const SurveyPoint& observation) const;
  // In the file's order.
  const std::vector<ComputedPoint>& All() const { return m_points; }

 private:
  void Reduce(const StationSetup& setup);

  std::vector<ComputedPoint> m_points;
  std::vector<std::pair<const SurveyPoint*, std::size_t>> m_byObservation;  // sorted
};

// How far a computed point lies from the instrument's coordinates of it, in metres.
struct PointDifference {
  double north = 0, east = 0;
  MaybeDouble elevation;  // when both have one
  // The plan and height differences together.
  double Length() const;
};
PointDifference DifferenceFromRecorded(const ComputedPoint& point);

// Whether a place was recorded by the instrument or computed here from its observation.
enum class PointSource : std::uint8_t { Instrument, Computed };
// "instrument" or "computed", as the outputs mark a point.
const char* SourceName(PointSource source);

// A station or point with a place, as the point-oriented formats write it.
struct PositionedPoint {
  const FileSurvey& file;
  const StationSetup& setup;
  const SurveyPoint& record;
  const MaybeText& code;
  PointSource source;
  GridPosition position;
  // For a computed point, its reduction (with the instrument's coordinates of it, if any).
  const ComputedPoint* computed = nullptr;
};

// Calls visit(const PositionedPoint&) for every record with the instrument's plan
// coordinates and then, at the same record, for the point computed from it, in the files'
// order.
template <class Visit>
void ForEachPosition(const std::vector<FileSurvey>& files, Visit visit) {
  for (const FileSurvey& file : files) {
    const PointCodes codes(file);
    const ComputedPoints computed(file);
    ForEachRecord(file, [&](const StationSetup& setup, const SurveyPoint& record) {
      if (record.HasPlanCoordinates() && std::isfinite(*record.x) && std::isfinite(*record.y)) {
        visit(PositionedPoint{file, setup, record, codes.For(record), PointSource::Instrument,
                              GridPosition{*record.x, *record.y, record.z}});
      }
      if (const ComputedPoint* point = computed.For(record)) {
        visit(PositionedPoint{file, setup, record, codes.For(record), PointSource::Computed,
                              point->position, point});
      }
    });
  }
}

}  // namespace m5host
