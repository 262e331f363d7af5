// What the SVG plan shows and at which scale.
#pragma once

#include <optional>
#include <string>

namespace m5host {

// The length unit of the plan's grid, scale bar and elevations: the metres in one unit and
// the symbol written after a length ("m", "ft", "US ft").
struct PlanLengthUnit {
  double metres = 1;
  std::string symbol = "m";
};

struct PlanOptions {
  PlanLengthUnit unit;
  // 1:N, so the plan prints to scale: the page is then measured in millimetres.
  std::optional<double> scaleDenominator;
  bool codes = false;       // each point's code after its name
  bool elevations = false;  // each point's elevation after its name
};

}  // namespace m5host
