#include "host/outputs/plan/plan_labels.h"

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
// Rings of places ever farther from the point, a label's height apart; a label beyond the
// first gets a leader line from the writer.
constexpr int kRings = 4;

class PlacedLabels {
 public:
  bool IsFree(const LabelBox& box) const {
    bool free = true;
    ForEachCell(box, [&](std::uint64_t cell) {
      const auto found = m_cells.find(cell);
      if (!free || found == m_cells.end()) {
        return;
      }
      for (const LabelBox& other : found->second) {
        if (box.Overlaps(other)) {
          free = false;
          return;
        }
      }
    });
    return free;
  }

  void Add(const LabelBox& box) {
    ForEachCell(box, [&](std::uint64_t cell) { m_cells[cell].push_back(box); });
  }

 private:
  template <class Visit>
  static void ForEachCell(const LabelBox& box, Visit visit) {
    const auto first = [](double v) { return static_cast<std::int64_t>(std::floor(v / kCell)); };
    for (std::int64_t column = first(box.left); column <= first(box.right); ++column) {
      for (std::int64_t row = first(box.top); row <= first(box.bottom); ++row) {
        visit((static_cast<std::uint64_t>(column) << 32) ^ static_cast<std::uint64_t>(row));
      }
    }
  }

  std::unordered_map<std::uint64_t, std::vector<LabelBox>> m_cells;
};

LabelBox BoxBeside(const LabelRequest& request, const Side& side, int ring) {
  const double gap = request.clearance + ring * (request.height + request.clearance);
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

}  // namespace

std::vector<std::optional<LabelBox>> PlaceLabels(const std::vector<LabelRequest>& requests,
                                                 const LabelRoom& room) {
  PlacedLabels placed;
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
  std::vector<std::optional<LabelBox>> boxes;
  boxes.reserve(requests.size());
  for (const LabelRequest& request : requests) {
    std::optional<LabelBox> chosen;
    for (int ring = 0; ring < kRings && !chosen; ++ring) {
      for (const Side& side : kSides) {
        const LabelBox box = BoxBeside(request, side, ring);
        if (Inside(box, room.bounds) && placed.IsFree(box)) {
          chosen = box;
          break;
        }
      }
    }
    if (chosen) {
      placed.Add(*chosen);
    }
    boxes.push_back(chosen);
  }
  return boxes;
}

}  // namespace m5host
