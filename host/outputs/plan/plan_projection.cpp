#include "host/outputs/plan/plan_projection.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

// Two surveys share a panel unless the gap between them is more than this many times the
// larger one's size, and more than kAlwaysTogether: then each would shrink to a dot.
constexpr double kApartFactor = 2;
constexpr double kAlwaysTogether = 50;  // metres
// A lone point or a short line fitted to the page still shows some ground around it.
constexpr double kSmallestFittedSize = 10;  // metres
// More grid lines than this means a step that no longer grows with the window.
constexpr double kMostGridLines = 1000;

bool LieTogether(const PlanExtent& a, const PlanExtent& b) {
  return a.GapTo(b) <= std::max(kApartFactor * std::max(a.Size(), b.Size()), kAlwaysTogether);
}

std::optional<PlanExtent> ExtentOf(const StationSetup& setup, const ComputedPoints& computed) {
  std::optional<PlanExtent> extent;
  auto include = [&extent](double east, double north) {
    const PlanExtent here = PlanExtent::At(east, north);
    if (extent) {
      extent->Include(here);
    } else {
      extent = here;
    }
  };
  auto includePoint = [&](const SurveyPoint& p) {
    if (IsDrawable(p)) {
      include(*p.y, *p.x);
    }
    if (const ComputedPoint* point = computed.For(p); point && IsDrawable(point->position)) {
      include(point->position.east, point->position.north);
    }
  };
  if (setup.station) {
    includePoint(*setup.station);
  }
  std::for_each(setup.observations.begin(), setup.observations.end(), includePoint);
  return extent;
}

void Absorb(PlanPanel& into, PlanPanel& from) {
  into.extent.Include(from.extent);
  into.setups.insert(into.setups.end(), from.setups.begin(), from.setups.end());
}

std::vector<double> Multiples(double step, double from, double to) {
  std::vector<double> values;
  const double first = std::ceil(from / step), last = std::floor(to / step);
  for (double k = first; k <= last && k - first < kMostGridLines; ++k) {
    values.push_back(k * step);
  }
  return values;
}

}  // namespace

bool IsDrawable(const SurveyPoint& point) {
  return point.HasPlanCoordinates() && std::abs(*point.x) <= kFarthestDrawnCoordinate &&
         std::abs(*point.y) <= kFarthestDrawnCoordinate;
}

bool IsDrawable(const GridPosition& position) {
  return std::abs(position.north) <= kFarthestDrawnCoordinate &&
         std::abs(position.east) <= kFarthestDrawnCoordinate;
}

std::size_t CountUndrawable(const std::vector<FileSurvey>& files) {
  std::size_t count = 0;
  auto tally = [&count](const SurveyPoint& p) {
    count += p.HasPlanCoordinates() && !IsDrawable(p) ? 1 : 0;
  };
  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      if (setup.station) {
        tally(*setup.station);
      }
      std::for_each(setup.observations.begin(), setup.observations.end(), tally);
    }
  }
  return count;
}

void PlanExtent::Include(const PlanExtent& other) {
  minEast = std::min(minEast, other.minEast);
  maxEast = std::max(maxEast, other.maxEast);
  minNorth = std::min(minNorth, other.minNorth);
  maxNorth = std::max(maxNorth, other.maxNorth);
}

double PlanExtent::Size() const {
  return std::max({Width(), Height(), 1.0});
}

double PlanExtent::GapTo(const PlanExtent& other) const {
  const double east = std::max(other.minEast - maxEast, minEast - other.maxEast);
  const double north = std::max(other.minNorth - maxNorth, minNorth - other.maxNorth);
  return std::max({east, north, 0.0});
}

std::vector<std::size_t> PlanPanel::Files() const {
  std::vector<std::size_t> files;
  for (const SetupIndex& index : setups) {
    if (files.empty() || files.back() != index.file) {
      files.push_back(index.file);
    }
  }
  return files;
}

std::vector<PlanPanel> GroupIntoPanels(const std::vector<FileSurvey>& files) {
  std::vector<PlanPanel> panels;
  for (std::size_t f = 0; f < files.size(); ++f) {
    const ComputedPoints computed(files[f]);
    for (std::size_t s = 0; s < files[f].setups.size(); ++s) {
      const std::optional<PlanExtent> extent = ExtentOf(files[f].setups[s], computed);
      if (!extent) {
        continue;
      }
      PlanPanel setup{*extent, {{f, s}}};
      // One survey's set-ups follow each other on the ground too: joining neighbours first
      // leaves few panels for the pairwise pass.
      if (!panels.empty() && LieTogether(panels.back().extent, setup.extent)) {
        Absorb(panels.back(), setup);
      } else {
        panels.push_back(std::move(setup));
      }
    }
  }
  // A panel that grows may reach one it passed before: repeat until nothing joins.
  for (bool joined = true; joined;) {
    joined = false;
    for (std::size_t i = 0; i < panels.size(); ++i) {
      for (std::size_t j = i + 1; j < panels.size();) {
        if (LieTogether(panels[i].extent, panels[j].extent)) {
          Absorb(panels[i], panels[j]);
          panels.erase(panels.begin() + static_cast<std::ptrdiff_t>(j));
          joined = true;
        } else {
          ++j;
        }
      }
    }
  }
  for (PlanPanel& panel : panels) {
    std::sort(panel.setups.begin(), panel.setups.end());
  }
  return panels;
}

// 10 to a whole power, correctly rounded: a run-time's pow may miss 0.1 by a unit in the
// last place, and a grid line at the frame's edge with it.
double PowerOfTen(double exponent) {
  double magnitude = 1;  // exact up to 10^22, far beyond any survey
  for (double k = 0; k < std::fabs(exponent) && k < 308; ++k) {
    magnitude *= 10;
  }
  return exponent < 0 ? 1.0 / magnitude : magnitude;
}

double RoundLengthAtLeast(double length) {
  const double power = PowerOfTen(std::floor(std::log10(length)));
  for (const double step : {1.0, 2.0, 5.0}) {
    if (step * power >= length) {
      return step * power;
    }
  }
  return 10 * power;
}

double RoundLengthAtMost(double length) {
  const double power = PowerOfTen(std::floor(std::log10(length)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= length) {
      return step * power;
    }
  }
  return power;
}

int DecimalsFor(double roundLength) {
  // A small allowance, so 0.1 (just below a tenth in binary) counts as one decimal.
  return std::max(0, static_cast<int>(-std::floor(std::log10(roundLength) + 1e-9)));
}

double FittedScale(const PlanExtent& points, double side) {
  return side / std::max(points.Size(), kSmallestFittedSize);
}

double PrintScale(double denominator, double millimetresPerUnit) {
  return 1000.0 / denominator / millimetresPerUnit;
}

PanelFrame FramePanel(const PlanExtent& points, double scale, double minimumSide, double padding) {
  PanelFrame frame{};
  frame.scale = scale;
  frame.width = std::max(minimumSide, points.Width() * scale + 2 * padding);
  frame.height = std::max(minimumSide, points.Height() * scale + 2 * padding);
  const double east = (points.minEast + points.maxEast) / 2;
  const double north = (points.minNorth + points.maxNorth) / 2;
  const double halfWidth = frame.width / scale / 2, halfHeight = frame.height / scale / 2;
  frame.window = {east - halfWidth, east + halfWidth, north - halfHeight, north + halfHeight};
  return frame;
}

PlanGrid ChooseGrid(const PanelFrame& frame, double metresPerUnit, double minimumSpacing,
                    double charWidth) {
  const double unitsPerStep = frame.scale * metresPerUnit;  // drawing units per length unit
  const PlanExtent& w = frame.window;
  PlanGrid grid;
  grid.step = RoundLengthAtLeast(minimumSpacing / unitsPerStep);
  // Labels widen as decimals are added; a wider step needs fewer. A few rounds settle it.
  for (int round = 0; round < 8; ++round) {
    grid.decimals = DecimalsFor(grid.step);
    const std::size_t widest = std::max(Fixed(w.minEast / metresPerUnit, grid.decimals).size(),
                                        Fixed(w.maxEast / metresPerUnit, grid.decimals).size());
    const double needed = (static_cast<double>(widest) + 2) * charWidth;
    if (grid.step * unitsPerStep >= needed) {
      break;
    }
    grid.step = RoundLengthAtLeast(needed / unitsPerStep * (1 + 1e-9));
  }
  grid.east = Multiples(grid.step, w.minEast / metresPerUnit, w.maxEast / metresPerUnit);
  grid.north = Multiples(grid.step, w.minNorth / metresPerUnit, w.maxNorth / metresPerUnit);
  return grid;
}

}  // namespace m5host
