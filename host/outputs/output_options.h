// How the writers present the survey: the options of the output formats.
#pragma once

#include <optional>
#include <string>

#include "host/outputs/plan_options.h"

namespace m5host {

enum class AngleUnit { Gon, Degrees, Dms, Radians };
// The international foot is 0.3048 m; the US survey foot 1200/3937 m.
enum class LengthUnit { Metre, Foot, UsSurveyFoot };
enum class HeaderRow { Written, Omitted };
enum class ByteOrderMark { Omitted, Written };

// How the writers present the survey. The command line refuses an option the chosen
// format would not use, so none is ignored in silence.
struct OutputOptions {
  LengthUnit length = LengthUnit::Metre;       // --units, every length of every output
  std::optional<AngleUnit> angles;             // --angles; without it each format's own
  char delimiter = ',';                        // --delimiter of CSV and point files
  HeaderRow header = HeaderRow::Written;       // --no-header omits CSV's column names
  ByteOrderMark bom = ByteOrderMark::Omitted;  // --bom, for spreadsheets that need it
  std::optional<std::string> crs;              // --crs EPSG:N, the grid of the coordinates
  // --tolerance, in the unit of --units: a computed point further than this from the
  // instrument's coordinates of it is a warning. 5 mm without it.
  std::optional<double> tolerance;
  // --scale 1:N, --sheet, --svg-codes, --svg-elevations, --svg-no-sight-lines; its unit is
  // --units, its grid --crs
  PlanOptions plan;
};

}  // namespace m5host
