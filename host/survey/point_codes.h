// The points the point-oriented formats write, with the code each is written with.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

#include "host/survey/survey.h"

namespace m5host {

// The instrument stores the feature code with the measurement, and the record of the
// computed coordinates often comes without one: such a point takes the code of its
// measurement of the same name in the same file, the nearest one before it, else the
// first one after it.
class PointCodes {
 public:
  explicit PointCodes(const FileSurvey& file);
  // The point's own code, else its measurement's, else the point's own (unset or empty).
  // It lives in the file's records.
  const MaybeText& For(const SurveyPoint& point) const;

 private:
  // The points that take a measurement's code, in address order.
  std::vector<std::pair<const SurveyPoint*, const MaybeText*>> m_measured;
};

// A station or point with plan coordinates, as written to a point list.
struct PlacedPoint {
  const FileSurvey& file;
  const StationSetup& setup;
  const SurveyPoint& record;
  const MaybeText& code;
};

// Calls visit(setup, record) for the station and then each observation of every set-up.
template <class Visit>
void ForEachRecord(const FileSurvey& file, Visit visit) {
  for (const StationSetup& setup : file.setups) {
    if (setup.station) {
      visit(setup, *setup.station);
    }
    for (const SurveyPoint& observation : setup.observations) {
      visit(setup, observation);
    }
  }
}

// Calls visit(const PlacedPoint&) for every station and point of the files that has plan
// coordinates, in the files' order.
template <class Visit>
void ForEachPlacedPoint(const std::vector<FileSurvey>& files, Visit visit) {
  for (const FileSurvey& file : files) {
    const PointCodes codes(file);
    ForEachRecord(file, [&](const StationSetup& setup, const SurveyPoint& record) {
      if (record.HasPlanCoordinates() && std::isfinite(*record.x) && std::isfinite(*record.y)) {
        visit(PlacedPoint{file, setup, record, codes.For(record)});
      }
    });
  }
}

}  // namespace m5host
