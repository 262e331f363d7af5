#include "host/survey/computed_points.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace m5host {

namespace {

bool Finite(const MaybeDouble& value) {
  return value.has_value() && std::isfinite(*value);
}

bool Placed(const SurveyPoint& p) {
  return Finite(p.x) && Finite(p.y);
}

}  // namespace

ComputedPoints::ComputedPoints(const FileSurvey& file) {
  for (const StationSetup& setup : file.setups) {
    Reduce(setup);
  }
  m_byObservation.reserve(m_points.size());
  for (std::size_t i = 0; i < m_points.size(); ++i) {
    m_byObservation.emplace_back(m_points[i].observation, i);
  }
  std::sort(m_byObservation.begin(), m_byObservation.end());
}

void ComputedPoints::Reduce(const StationSetup& setup) {
  if (!setup.station || !Placed(*setup.station)) {
    return;
  }
  const SurveyPoint& station = *setup.station;
  const GridPosition from{*station.x, *station.y, station.z};
  // The known points of the set-up, and where the instrument placed each name.
  std::unordered_set<std::string_view> known;
  std::unordered_map<std::string_view, std::vector<const SurveyPoint*>> placed;
  for (const SurveyPoint& p : setup.observations) {
    if (Placed(p)) {
      placed[p.name.view()].push_back(&p);
      if (p.kind == 1) {
        known.insert(p.name.view());
      }
    }
  }
  for (const SurveyPoint& p : setup.observations) {
    if (!Finite(p.horizontalDirection) || known.count(p.name.view()) != 0) {
      continue;
    }
    PolarSighting sighting;
    sighting.direction = *p.horizontalDirection;
    sighting.zenithAngle = p.verticalAngle;
    sighting.slopeDistance = p.slopeDistance;
    sighting.horizontalDistance = p.horizontalDistance;
    sighting.heightDifference = p.heightDifference;
    sighting.instrumentHeight = station.instrumentHeight.value_or(0);
    sighting.targetHeight = p.targetHeight.value_or(0);
    const std::optional<GridPosition> at = ReducePolar(from, sighting);
    if (!at) {
      continue;
    }
    const SurveyPoint* recorded = nullptr;
    if (const auto found = placed.find(p.name.view()); found != placed.end()) {
      for (const SurveyPoint* candidate : found->second) {
        if (candidate == &p) {
          continue;
        }
        recorded = candidate;  // the last before, until the first after
        if (candidate > &p) {
          break;
        }
      }
    }
    m_points.push_back({&p, *at, recorded});
  }
}

const ComputedPoint* ComputedPoints::For(const SurveyPoint& observation) const {
  const auto found = std::lower_bound(m_byObservation.begin(), m_byObservation.end(), &observation,
                                      [](const std::pair<const SurveyPoint*, std::size_t>& entry,
                                         const SurveyPoint* key) { return entry.first < key; });
  if (found == m_byObservation.end() || found->first != &observation) {
    return nullptr;
  }
  return &m_points[found->second];
}

double PointDifference::Length() const {
  return std::sqrt(north * north + east * east + (elevation ? *elevation * *elevation : 0.0));
}

PointDifference DifferenceFromRecorded(const ComputedPoint& point) {
  PointDifference d;
  if (point.recorded == nullptr) {
    return d;
  }
  const SurveyPoint& r = *point.recorded;
  d.north = point.position.north - *r.x;
  d.east = point.position.east - *r.y;
  if (Finite(point.position.elevation) && Finite(r.z)) {
    d.elevation = *point.position.elevation - *r.z;
  }
  return d;
}

const char* SourceName(PointSource source) {
  return source == PointSource::Computed ? "computed" : "instrument";
}

}  // namespace m5host
