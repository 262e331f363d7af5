#include "host/outputs/output_registry.h"

#include "host/outputs/computed_check.h"
#include "host/outputs/document_date.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"

namespace m5host {

namespace {

// The plan is drawn in the length unit of every output; its title block names the grid and
// the day it was drawn.
void WritePlan(std::ostream& out, const std::vector<FileSurvey>& files,
               const OutputOptions& options, OutputNotes& notes) {
  PlanOptions plan = options.plan;
  plan.unit = {MetresPerUnit(options.length), LengthSymbol(options.length)};
  plan.crs = options.crs.value_or("");
  plan.date = DocumentDate();
  WriteSvgPlan(out, files, plan, notes);
}

// Every written survey gets the blunder check of its computed points, whatever the format;
// the notes say each difference once, however many outputs are written.
template <OutputWriter Write>
void Checked(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
             OutputNotes& notes) {
  NoteComputedDifferences(files, options, notes);
  Write(out, files, options, notes);
}

using O = OutputOption;

constexpr const char* kPlanName = "svg";

}  // namespace

const std::vector<OutputFormat>& OutputFormats() {
  static const std::vector<OutputFormat> formats = {
      {"text",
       "a readable report per file: stations, observations, messages",
       {O::Units, O::Angles, O::Tolerance},
       Checked<WriteTextReport>,
       MessagePlace::InOutput},
      {"json",
       "the whole survey, for scripts",
       {O::Units, O::Angles, O::Tolerance},
       Checked<WriteJson>,
       MessagePlace::InOutput},
      {"csv",
       "one row per station or observation",
       {O::Units, O::Angles, O::Delimiter, O::NoHeader, O::Bom, O::Tolerance},
       Checked<WriteCsv>},
      {"pnezd",
       "Point,Northing,Easting,Elevation,Description of the placed points",
       {O::Units, O::Delimiter, O::Bom, O::Tolerance},
       Checked<WritePnezd>},
      {"dxf",
       "a CAD drawing (DXF R12), a layer per code",
       {O::Units, O::Tolerance},
       Checked<WriteDxf>},
      {"landxml",
       "LandXML 1.2: the placed points and the raw observations",
       {O::Units, O::Angles, O::Crs, O::Tolerance},
       Checked<WriteLandXml>},
      {"geojson",
       "the stations and placed points as GeoJSON features",
       {O::Units, O::Crs, O::Tolerance},
       Checked<WriteGeoJson>,
       MessagePlace::StandardError,
       Coordinates::LongitudeLatitudeWithCrs},
      {"kml",
       "the stations and placed points for Google Earth (needs --crs)",
       {O::Crs, O::Tolerance},
       Checked<WriteKml>,
       MessagePlace::StandardError,
       Coordinates::LongitudeLatitude},
      {kPlanName,
       "a plan of the placed points (--svg FILE draws it beside another format)",
       {O::Units, O::Crs, O::Scale, O::Sheet, O::Codes, O::Elevations, O::NoSightLines,
        O::Tolerance},
       Checked<WritePlan>},
      // Every message is one of the calls it shows.
      {"trace", "every call of the plug-in, one a line", {}, nullptr, MessagePlace::InOutput},
  };
  return formats;
}

const OutputFormat& DefaultOutputFormat() {
  return OutputFormats().front();
}

const OutputFormat* FindOutputFormat(std::string_view name) {
  for (const OutputFormat& format : OutputFormats()) {
    if (name == format.name) {
      return &format;
    }
  }
  return nullptr;
}

const OutputFormat& PlanFormat() {
  return *FindOutputFormat(kPlanName);
}

}  // namespace m5host
