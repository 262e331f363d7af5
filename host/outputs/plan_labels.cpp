#include "host/outputs/plan_labels.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace m5host {

namespace {

// Placed labels are filed by the cells of this size they cover, so a new label is tested
// only against its neighbours: a plan of many thousand points stays quick.
constexpr double kCell = 32;

struct Side {
  double right, below;  // +1 or -1: which side of the point
};
constexpr Side kSides[] = {{1, -1}, {1, 1}, {-1, -1}, {-1, 1}};

class PlacedLabels {
 public:
  bool IsFree(const LabelBox& box) const {
    bool free = true;
    ForEachCell(box, [&](std::uint64_t cell) {
      const auto found = m_cells.find(cell);
      if (found == m_cells.end()) {
        return;
      }
      for (const LabelBox& other : found->second) {
        free = free && !box.Overlaps(other);
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

LabelBox BoxBeside(const LabelRequest& request, const Side& side) {
  const double left = side.right > 0 ? request.x + request.clearance
                                     : request.x - request.clearance - request.width;
  const double top = side.below > 0 ? request.y + request.clearance
                                    : request.y - request.clearance - request.height;
  return {left, top, left + request.width, top + request.height};
}

}  // namespace

std::vector<std::optional<LabelBox>> PlaceLabels(const std::vector<LabelRequest>& requests) {
  PlacedLabels placed;
  std::vector<std::optional<LabelBox>> boxes;
  boxes.reserve(requests.size());
  for (const LabelRequest& request : requests) {
    std::optional<LabelBox> chosen;
    for (const Side& side : kSides) {
      const LabelBox box = BoxBeside(request, side);
      if (placed.IsFree(box)) {
        chosen = box;
        break;
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
