// The points the point-oriented formats write, with the code each is written with.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/survey.h"

namespace m5host {

// The instrument stores the feature code with the measurement, and the record of the
// computed coordinates often comes without one: such a point takes the code of its
// measurement of the same name in the same file, the nearest one before it, else the
// first one after it.
class PointCodes {
 public:
  explicit PointCodes(const FileSurvey& file);
  // The point's own code, else its measurement's, else none.
  std::optional<std::string> For(const SurveyPoint& point) const;

 private:
  std::unordered_map<const SurveyPoint*, std::string> m_measured;
};

// A station or point with plan coordinates, as written to a point list.
struct PlacedPoint {
  const FileSurvey* file = nullptr;
  const StationSetup* setup = nullptr;
  const SurveyPoint* record = nullptr;
  std::optional<std::string> code;
};

// Every station and point of the files that has plan coordinates, in the files' order.
std::vector<PlacedPoint> PlacedPoints(const std::vector<FileSurvey>& files);

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

}  // namespace m5host
