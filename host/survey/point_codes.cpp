#include "host/survey/point_codes.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace m5host {

namespace {

// A measurement with a code, or a point without one, in the file's order.
struct Named {
  std::string_view name;
  std::size_t order;
  const SurveyPoint* record;
  bool measured;
};

}  // namespace

// Sorting by name, then by order, puts each point beside the measurements of its name:
// no map of every name in the file is needed.
PointCodes::PointCodes(const FileSurvey& file) {
  std::vector<Named> named;
  std::size_t order = 0;
  ForEachRecord(file, [&](const StationSetup&, const SurveyPoint& record) {
    const bool measured = record.role == Role::Target;
    if (measured == record.code.HasText()) {
      named.push_back({record.name.view(), order, &record, measured});
    }
    ++order;
  });
  std::sort(named.begin(), named.end(), [](const Named& a, const Named& b) {
    return a.name != b.name ? a.name < b.name : a.order < b.order;
  });
  for (std::size_t begin = 0, end = 0; begin < named.size(); begin = end) {
    const MaybeText* first = nullptr;   // the first measurement's code of this name
    const MaybeText* latest = nullptr;  // the last measurement's code so far
    std::size_t waiting = 0;            // points no measurement preceded
    for (end = begin; end < named.size() && named[end].name == named[begin].name; ++end) {
      const Named& n = named[end];
      if (n.measured) {
        latest = &n.record->code;
        first = first != nullptr ? first : latest;
      } else if (latest != nullptr) {
        m_measured.emplace_back(n.record, latest);
      } else {
        ++waiting;
      }
    }
    for (std::size_t i = begin; first != nullptr && waiting != 0; ++i) {
      if (!named[i].measured) {
        m_measured.emplace_back(named[i].record, first);
        --waiting;
      }
    }
  }
  std::sort(m_measured.begin(), m_measured.end(),
            [](const auto& a, const auto& b) { return std::less<>()(a.first, b.first); });
}

const MaybeText& PointCodes::For(const SurveyPoint& point) const {
  if (point.code.HasText()) {
    return point.code;
  }
  const auto found = std::lower_bound(
      m_measured.begin(), m_measured.end(), &point,
      [](const auto& entry, const SurveyPoint* p) { return std::less<>()(entry.first, p); });
  if (found != m_measured.end() && found->first == &point) {
    return *found->second;
  }
  return point.code;
}

}  // namespace m5host
