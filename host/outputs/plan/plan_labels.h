// Labels of a plan placed so that none covers another: each goes beside its point where
// there is room, in the order given, and one with no room is left out.
#pragma once

#include <optional>
#include <vector>

namespace m5host {

// Drawing units; y grows downwards.
struct LabelBox {
  double left, top, right, bottom;
  bool Overlaps(const LabelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

struct LabelRequest {
  double x, y;           // the point labelled
  double width, height;  // the label's room
  double clearance;      // between the point and the label, past the point's marker
};

// Where labels may go: inside the bounds, when given, and clear of the marks (the points'
// dots and symbols, which a label must not hide).
struct LabelRoom {
  std::optional<LabelBox> bounds;
  std::vector<LabelBox> marks;
};

// A thin line from a point to its label, when the label stands away from it.
struct Leader {
  double x1, y1, x2, y2;
};

struct PlacedLabel {
  LabelBox box;
  std::optional<Leader> leader;
};

// For each request, where its label goes: the first free place beside its point (right
// above, right below, left above, left below, right, left, above, below), else the same
// places farther out, up to four label heights away, with a leader that crosses no other
// leader, label or mark; nothing when all are taken. Earlier requests win: put stations
// first.
std::vector<std::optional<PlacedLabel>> PlaceLabels(const std::vector<LabelRequest>& requests,
                                                    const LabelRoom& room = {});

}  // namespace m5host
