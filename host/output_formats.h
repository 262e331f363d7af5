// The ways m5import writes a collected survey. Each lives in its own source file.
#pragma once

#include <ostream>
#include <vector>

#include "host/command_line.h"
#include "host/survey.h"
#include "host/svg_plan.h"

namespace m5host {

// A readable report per file: stations with their set-up values, a table of each
// station's observations, then the messages.
void WriteTextReport(std::ostream& out, const std::vector<FileSurvey>& files, AngleUnit angles);

// One object per file, values in base units (metres, radians, hPa, °C) at full precision.
void WriteJson(std::ostream& out, const std::vector<FileSurvey>& files);

// One row per station or observation, with the file and the station it belongs to.
void WriteCsv(std::ostream& out, const std::vector<FileSurvey>& files);

// Point,Northing,Easting,Elevation,Description for every point with plan coordinates.
void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files);

// A plan of the points with coordinates: north up, a labelled grid, stations marked, names
// that do not cover each other, a scale bar; surveys far apart in panels of their own.
void WriteSvgPlan(std::ostream& out, const std::vector<FileSurvey>& files,
                  const PlanOptions& options);

}  // namespace m5host
