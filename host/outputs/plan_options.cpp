#include "host/outputs/plan_options.h"

#include <cctype>

namespace m5host {

namespace {

// ISO 216's A series: each sheet half the one before, A0 a square metre.
struct SheetSize {
  const char* name;
  double shortSide, longSide;
};
constexpr SheetSize kSheets[] = {
    {"A0", 841, 1189}, {"A1", 594, 841}, {"A2", 420, 594}, {"A3", 297, 420}, {"A4", 210, 297},
};

struct OrientationName {
  const char* suffix;
  SheetOrientation orientation;
};
constexpr OrientationName kOrientations[] = {
    {"", SheetOrientation::Landscape},
    {"-LANDSCAPE", SheetOrientation::Landscape},
    {"-PORTRAIT", SheetOrientation::Portrait},
};

}  // namespace

std::optional<PlanSheet> ParseSheet(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  for (const SheetSize& sheet : kSheets) {
    for (const OrientationName& orientation : kOrientations) {
      if (upper == std::string(sheet.name) + orientation.suffix) {
        return PlanSheet{sheet.name, sheet.shortSide, sheet.longSide, orientation.orientation};
      }
    }
  }
  return std::nullopt;
}

}  // namespace m5host
