#include "host/outputs/plan/plan_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <tuple>
#include <unordered_map>

namespace m5host {

namespace {

// Placed labels are filed by the cells of this size they cover, so a new label is tested
// only against its neighbours: a plan of many thousand points stays quick.
constexpr double kCell = 32;

// Where a label goes beside its point: +1 right or below, -1 left or above, 0 centred on it.
struct Side {
  double right, below;
};
// The corners first, where a label reads best, then the middles of the sides.
constexpr Side kSides[] = {{1, -1}, {1, 1}, {-1, -1}, {-1, 1}, {1, 0}, {-1, 0}, {0, -1}, {0, 1}};
// How many label heights from its point a label may lie; one beyond the places beside it
// gets a leader line.
constexpr int kRings = 4;
// Directions a label farther out may lie in, a full turn from right above.
constexpr int kDirections = 24;

// Where a leader would run: the box its ends span.
LabelBox Span(const Leader& leader) {
  return {std::min(leader.x1, leader.x2), std::min(leader.y1, leader.y2),
          std::max(leader.x1, leader.x2), std::max(leader.y1, leader.y2)};
}

// Whether a leader runs through the inside of a box; along its edge or through a corner
// does not count, as touching labels do not cover each other.
bool RunsThrough(const Leader& leader, const LabelBox& box) {
  const double dx = leader.x2 - leader.x1, dy = leader.y2 - leader.y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {leader.x1 - box.left, box.right - leader.x1, leader.y1 - box.top,
                       box.bottom - leader.y1};
  double from = 0, to = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] <= 0) {
        return false;
      }
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) {
      from = std::max(from, t);
    } else {
      to = std::min(to, t);
    }
  }
  return to - from > 1e-9;
}

double Turn(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

bool OnSpan(double x, double y, const Leader& leader) {
  const LabelBox span = Span(leader);
  return x >= span.left && x <= span.right && y >= span.top && y <= span.bottom;
}

// Whether two leaders meet; two from one point meet only there, which does not count.
bool Cross(const Leader& a, const Leader& b) {
  if (a.x1 == b.x1 && a.y1 == b.y1) {
    return false;
  }
  const double d1 = Turn(b.x1, b.y1, b.x2, b.y2, a.x1, a.y1);
  const double d2 = Turn(b.x1, b.y1, b.x2, b.y2, a.x2, a.y2);
  const double d3 = Turn(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1);
  const double d4 = Turn(a.x1, a.y1, a.x2, a.y2, b.x2, b.y2);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  return (d1 == 0 && OnSpan(a.x1, a.y1, b)) || (d2 == 0 && OnSpan(a.x2, a.y2, b)) ||
         (d3 == 0 && OnSpan(b.x1, b.y1, a)) || (d4 == 0 && OnSpan(b.x2, b.y2, a));
}

bool Contains(const LabelBox& box, double x, double y) {
  return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

// What a new label and its leader must keep clear of: the marks, the labels placed and their
// leaders. Filed by the cells they cover, so each is tested only against its neighbours.
class Obstacles {
 public:
  bool IsFree(const LabelBox& box) const {
    return None(m_boxes, box, [&](const LabelBox& other) { return box.Overlaps(other); }) &&
           None(m_leaders, box, [&](const Leader& leader) { return RunsThrough(leader, box); });
  }

  // A leader leaves its own point's mark, and crosses nothing else.
  bool IsFree(const Leader& leader) const {
    return None(m_boxes, Span(leader),
                [&](const LabelBox& box) {
                  return !Contains(box, leader.x1, leader.y1) && RunsThrough(leader, box);
                }) &&
           None(m_leaders, Span(leader), [&](const Leader& other) { return Cross(leader, other); });
  }

  void Add(const LabelBox& box) {
    ForEachCell(box, [&](std::uint64_t cell) { m_boxes[cell].push_back(box); });
  }
  void Add(const Leader& leader) {
    ForEachCell(Span(leader), [&](std::uint64_t cell) { m_leaders[cell].push_back(leader); });
  }

 private:
  template <class T, class Hits>
  static bool None(const std::unordered_map<std::uint64_t, std::vector<T>>& cells,
                   const LabelBox& near, Hits hits) {
    bool none = true;
    ForEachCell(near, [&](std::uint64_t cell) {
      const auto found = cells.find(cell);
      if (!none || found == cells.end()) {
        return;
      }
      for (const T& other : found->second) {
        if (hits(other)) {
          none = false;
          return;
        }
      }
    });
    return none;
  }

  template <class Visit>
  static void ForEachCell(const LabelBox& box, Visit visit) {
    const auto first = [](double v) { return static_cast<std::int64_t>(std::floor(v / kCell)); };
    for (std::int64_t column = first(box.left); column <= first(box.right); ++column) {
      for (std::int64_t row = first(box.top); row <= first(box.bottom); ++row) {
        visit((static_cast<std::uint64_t>(column) << 32) ^ static_cast<std::uint64_t>(row));
      }
    }
  }

  std::unordered_map<std::uint64_t, std::vector<LabelBox>> m_boxes;
  std::unordered_map<std::uint64_t, std::vector<Leader>> m_leaders;
};

LabelBox BoxBeside(const LabelRequest& request, const Side& side) {
  const double gap = request.clearance;
  const double left = side.right > 0   ? request.x + gap
                      : side.right < 0 ? request.x - gap - request.width
                                       : request.x - request.width / 2;
  const double top = side.below > 0   ? request.y + gap
                     : side.below < 0 ? request.y - gap - request.height
                                      : request.y - request.height / 2;
  return {left, top, left + request.width, top + request.height};
}

bool Inside(const LabelBox& box, const std::optional<LabelBox>& bounds) {
  return !bounds || (box.left >= bounds->left && box.right <= bounds->right &&
                     box.top >= bounds->top && box.bottom <= bounds->bottom);
}

// The place of a label away from its point, towards `angle` (radians, y down) on the square
// `gap` around it: the box's side or corner nearest the point there, so the corners lie
// where those of the places beside it do.
LabelBox BoxToward(const LabelRequest& request, double angle, double gap) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double reach = gap / std::max(std::abs(c), std::abs(s));
  const auto from = [](double at, double direction, double size) {
    return direction > 0.38 ? at : direction < -0.38 ? at - size : at - size / 2;
  };
  const double left = from(request.x + reach * c, c, request.width);
  const double top = from(request.y + reach * s, s, request.height);
  return {left, top, left + request.width, top + request.height};
}

// Beside its point, or farther out with a leader.
enum class Reach { Beside, FartherOut };

// The first free place within reach, filed among the obstacles: beside the point; farther
// out, on rings half a label's height apart in ever more directions, tied to it by a leader.
std::optional<PlacedLabel> Place(const LabelRequest& request, const std::optional<LabelBox>& bounds,
                                 Reach reach, Obstacles& placed) {
  if (reach == Reach::Beside) {
    for (const Side& side : kSides) {
      const LabelBox box = BoxBeside(request, side);
      if (Inside(box, bounds) && placed.IsFree(box)) {
        placed.Add(box);
        return PlacedLabel{box, std::nullopt};
      }
    }
    return std::nullopt;
  }
  constexpr double kPi = 3.14159265358979323846;
  for (int ring = 2; ring < 2 * kRings; ++ring) {
    const double gap = request.clearance + ring * (request.height + request.clearance) / 2;
    for (int step = 0; step < kDirections; ++step) {
      const double angle = -kPi / 4 + 2 * kPi * step / kDirections;
      const LabelBox box = BoxToward(request, angle, gap);
      if (!Inside(box, bounds) || !placed.IsFree(box)) {
        continue;
      }
      // From the point to the nearest point of its label.
      const Leader leader{request.x, request.y, std::clamp(request.x, box.left, box.right),
                          std::clamp(request.y, box.top, box.bottom)};
      if (placed.IsFree(leader)) {
        placed.Add(box);
        placed.Add(leader);
        return PlacedLabel{box, leader};
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::optional<PlacedLabel>> PlaceLabels(const std::vector<LabelRequest>& requests,
                                                    const LabelRoom& room) {
  Obstacles placed;
  // Marks on one spot are one obstacle: a thousand points measured on one peg stay quick.
  std::set<std::tuple<long long, long long, long long, long long>> marks;
  for (const LabelBox& mark : room.marks) {
    if (marks
            .emplace(std::llround(mark.left), std::llround(mark.top), std::llround(mark.right),
                     std::llround(mark.bottom))
            .second) {
      placed.Add(mark);
    }
  }
  // Every label beside its point where it fits, then farther out those that did not, so a
  // leader never takes the place a later point's label needed beside it. A label left out
  // stays out for another of its size on the same spot: the room only shrinks.
  std::vector<std::optional<PlacedLabel>> labels(requests.size());
  for (const Reach reach : {Reach::Beside, Reach::FartherOut}) {
    std::set<std::tuple<double, double, double, double, double>> leftOut;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      const LabelRequest& r = requests[i];
      const auto key = std::make_tuple(r.x, r.y, r.width, r.height, r.clearance);
      if (labels[i] || leftOut.count(key) != 0) {
        continue;
      }
      labels[i] = Place(r, room.bounds, reach, placed);
      if (!labels[i]) {
        leftOut.insert(key);
      }
    }
  }
  return labels;
}

}  // namespace m5host
