// What the SVG plan shows, at which scale and on which sheet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m5host {

// The length unit of the plan's grid, scale bar and elevations: the metres in one unit and
// the symbol written after a length ("m", "ft", "US ft").
struct PlanLengthUnit {
  double metres = 1;
  std::string symbol = "m";
};

enum class SightLines { Drawn, Hidden };
enum class SheetOrientation { Landscape, Portrait };

// An ISO 216 sheet the plan is printed on.
struct PlanSheet {
  std::string name;                        // "A3"
  double shortSide = 297, longSide = 420;  // millimetres
  SheetOrientation orientation = SheetOrientation::Landscape;

  double Width() const { return orientation == SheetOrientation::Landscape ? longSide : shortSide; }
  double Height() const {
    return orientation == SheetOrientation::Landscape ? shortSide : longSide;
  }
};

// "A4" to "A0", in any case, landscape unless followed by "-portrait" ("A3-landscape" says
// it); none for another text.
std::optional<PlanSheet> ParseSheet(std::string_view text);

struct PlanOptions {
  PlanLengthUnit unit;
  // 1:N, so the plan prints to scale: the page is then measured in millimetres.
  std::optional<double> scaleDenominator;
  // The sheet the plan is laid out on; without a scale, the largest round scale that fits.
  std::optional<PlanSheet> sheet;
  bool codes = false;       // each point's code after its name
  bool elevations = false;  // each point's elevation after its name
  SightLines sightLines = SightLines::Drawn;
  // The title block's grid and date ("2026-12-09"); either is left out when empty.
  std::string crs;
  std::string date;
};

}  // namespace m5host
