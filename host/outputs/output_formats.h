// The ways m5import writes a collected survey. Each lives in its own source file, with a
// row in the registry (output_registry.h); each takes the output options and notes on
// stderr what it had to change to fit its format.
#pragma once

#include <ostream>
#include <vector>

#include "host/outputs/output_notes.h"
#include "host/outputs/output_options.h"
#include "host/outputs/plan_options.h"
#include "host/survey/survey.h"

namespace m5host {

// A readable report per file: stations with their set-up values, a table of each
// station's observations, then the messages. Angles in gon unless chosen.
void WriteTextReport(std::ostream& out, const std::vector<FileSurvey>& files,
                     const OutputOptions& options, OutputNotes& notes);

// One object per file, each record as the plug-in delivered it, at its unit's precision; angles
// in radians unless chosen.
void WriteJson(std::ostream& out, const std::vector<FileSurvey>& files,
               const OutputOptions& options, OutputNotes& notes);

// One row per station or observation, with the file and the station it belongs to;
// angles in radians unless chosen.
void WriteCsv(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes);

// Point,Northing,Easting,Elevation,Description for every point with plan coordinates.
void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files,
                const OutputOptions& options, OutputNotes& notes);

// An ASCII DXF R12 drawing: points, their labels and the station-to-target rays on layers.
void WriteDxf(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes);

// LandXML 1.2: the points with coordinates and the raw observations per set-up.
void WriteLandXml(std::ostream& out, const std::vector<FileSurvey>& files,
                  const OutputOptions& options, OutputNotes& notes);

// A GeoJSON feature collection of the stations and points with plan coordinates.
void WriteGeoJson(std::ostream& out, const std::vector<FileSurvey>& files,
                  const OutputOptions& options, OutputNotes& notes);

// KML for Google Earth: a placemark per station and placed point, in longitude and latitude.
void WriteKml(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes);

// A plan of the points with coordinates: north up, a labelled grid, stations marked, names
// that do not cover each other, a scale bar; surveys far apart in panels of their own; a
// legend of the codes and a title block, on an ISO sheet when asked.
void WriteSvgPlan(std::ostream& out, const std::vector<FileSurvey>& files,
                  const PlanOptions& options, OutputNotes& notes);

}  // namespace m5host
