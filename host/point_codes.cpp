#include "host/point_codes.h"

#include <cmath>

namespace m5host {

PointCodes::PointCodes(const FileSurvey& file) {
  std::unordered_map<std::string, std::string> latest;  // the last measurement's code so far
  std::unordered_map<std::string, std::string> first;   // the first measurement's code
  std::vector<const SurveyPoint*> waiting;              // points no measurement preceded
  ForEachRecord(file, [&](const StationSetup&, const SurveyPoint& record) {
    if (record.role == Role::Target) {
      if (record.code && !record.code->empty()) {
        latest[record.name] = *record.code;
        first.emplace(record.name, *record.code);
      }
      return;
    }
    if (record.code && !record.code->empty()) {
      return;
    }
    if (const auto found = latest.find(record.name); found != latest.end()) {
      m_measured.emplace(&record, found->second);
    } else {
      waiting.push_back(&record);
    }
  });
  for (const SurveyPoint* record : waiting) {
    if (const auto found = first.find(record->name); found != first.end()) {
      m_measured.emplace(record, found->second);
    }
  }
}

std::optional<std::string> PointCodes::For(const SurveyPoint& point) const {
  if (point.code && !point.code->empty()) {
    return point.code;
  }
  if (const auto found = m_measured.find(&point); found != m_measured.end()) {
    return found->second;
  }
  return point.code;
}

std::vector<PlacedPoint> PlacedPoints(const std::vector<FileSurvey>& files) {
  std::vector<PlacedPoint> points;
  for (const FileSurvey& file : files) {
    const PointCodes codes(file);
    ForEachRecord(file, [&](const StationSetup& setup, const SurveyPoint& record) {
      if (record.HasPlanCoordinates() && std::isfinite(*record.x) && std::isfinite(*record.y)) {
        points.push_back({&file, &setup, &record, codes.For(record)});
      }
    });
  }
  return points;
}

}  // namespace m5host
