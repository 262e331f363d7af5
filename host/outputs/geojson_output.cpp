#include <cmath>
#include <memory>

#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/outputs/wgs84_transform.h"
#include "host/sinks/trace_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

std::string JsonString(std::string_view text) {
  return QuoteEscaped(text, ControlEscape::Json);
}

}  // namespace

// With --crs, RFC 7946: longitude and latitude on WGS 84, transformed from the named grid,
// and the elevation in metres. Without it the grid's eastings and northings, which surveys
// on local grids rely on, and a warning that they are not what RFC 7946 readers assume.
void WriteGeoJson(std::ostream& out, const std::vector<FileSurvey>& files,
                  const OutputOptions& options, OutputNotes& notes) {
  std::unique_ptr<Wgs84Transform> wgs84;
  if (options.crs) {
    std::string why;
    wgs84 = Wgs84Transform::From(*options.crs, why);
    if (!wgs84) {
      notes.Add("geojson: " + why + ": no point written");
      out << "{\n  \"type\": \"FeatureCollection\",\n  \"features\": []\n}\n";
      return;
    }
  }
  out << "{\n  \"type\": \"FeatureCollection\",\n";
  out << "  \"features\": [";
  const LengthUnit unit = options.length;
  bool first = true;
  ForEachPosition(files, [&](const PositionedPoint& point) {
    const SurveyPoint& p = point.record;
    const GridPosition& at = point.position;
    // Easting first: x east, y north, as GIS tools draw them; longitude first likewise.
    std::string coordinates = LengthText(at.east, unit) + ", " + LengthText(at.north, unit);
    if (wgs84) {
      const std::optional<LongitudeLatitude> place = wgs84->Transform(at.north, at.east);
      if (!place) {
        notes.AddAt(point.file.path, -1,
                    "geojson: point " + p.name.str() + " left out: " + *options.crs +
                        " gives it no longitude and latitude");
        return;
      }
      coordinates = DegreesText(place->longitude) + ", " + DegreesText(place->latitude);
    }
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
  // Said of the output, once, and only when it holds coordinates to misread.
  if (!wgs84 && !first) {
    notes.Add(
        "geojson: the output's coordinates are grid eastings and northings, not the "
        "longitude and latitude RFC 7946 readers assume (--crs EPSG:N transforms them)");
  }
}

}  // namespace m5host
