#include <cmath>

#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/sinks/trace_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

std::string JsonString(std::string_view text) {
  return QuoteEscaped(text, ControlEscape::Json);
}

}  // namespace

void WriteGeoJson(std::ostream& out, const std::vector<FileSurvey>& files,
                  const OutputOptions& options, OutputNotes&) {
  out << "{\n  \"type\": \"FeatureCollection\",\n";
  if (options.crs) {
    // The named grid in the form GDAL reads; plain RFC 7946 readers assume longitude and
    // latitude, which survey coordinates are not.
    out << "  \"crs\": {\"type\": \"name\", \"properties\": {\"name\": \"urn:ogc:def:crs:EPSG::"
        << options.crs->substr(options.crs->find(':') + 1) << "\"}},\n";
  }
  out << "  \"features\": [";
  const LengthUnit unit = options.length;
  bool first = true;
  ForEachPosition(files, [&](const PositionedPoint& point) {
    const SurveyPoint& p = point.record;
    const GridPosition& at = point.position;
    // Easting first: x east, y north, as GIS tools draw them.
    std::string coordinates = LengthText(at.east, unit) + ", " + LengthText(at.north, unit);
    if (at.elevation && std::isfinite(*at.elevation)) {
      coordinates += ", " + LengthText(*at.elevation, unit);
    }
    out << (first ? "\n" : ",\n") << "    {\"type\": \"Feature\", \"geometry\": {\"type\": "
        << "\"Point\", \"coordinates\": [" << coordinates
        << "]}, \"properties\": {\"name\": " << JsonString(p.name)
        << ", \"code\": " << (point.code ? JsonString(*point.code) : std::string("null"))
        << ", \"role\": " << JsonString(RoleName(p.role)) << ", \"station\": "
        << (point.setup.station ? JsonString(point.setup.station->name) : std::string("null"))
        << ", \"file\": " << JsonString(point.file.path)
        << ", \"source\": " << JsonString(SourceName(point.source)) << "}}";
    first = false;
  });
  out << (first ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace m5host
