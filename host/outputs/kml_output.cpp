#include <cmath>
#include <memory>

#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/outputs/wgs84_transform.h"
#include "host/outputs/xml_text.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

void Data(std::ostream& out, const char* name, std::string_view value) {
  out << "      <Data name=\"" << name << "\"><value>" << Xml(std::string(value))
      << "</value></Data>\n";
}

}  // namespace

// A placemark per station and placed point, in a folder per file; the code, role, station
// and source as extended data, which Google Earth shows in the balloon and GDAL reads as
// fields. Elevations in metres, clamped to the ground for display.
void WriteKml(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  std::string why = "no --crs names the survey's grid";
  const std::unique_ptr<Wgs84Transform> wgs84 =
      options.crs ? Wgs84Transform::From(*options.crs, why) : nullptr;
  if (!wgs84) {
    notes.Add("kml: " + why + ": no point written");
    out << "</Document>\n</kml>\n";
    return;
  }
  const FileSurvey* folder = nullptr;
  ForEachPosition(files, [&](const PositionedPoint& point) {
    const SurveyPoint& p = point.record;
    const std::optional<LongitudeLatitude> place =
        wgs84->Transform(point.position.north, point.position.east);
    if (!place) {
      notes.AddAt(point.file.path, -1,
                  "kml: point " + p.name.str() + " left out: " + *options.crs +
                      " gives it no longitude and latitude");
      return;
    }
    if (folder != &point.file) {
      out << (folder != nullptr ? "</Folder>\n" : "") << "<Folder><name>" << Xml(point.file.path)
          << "</name>\n";
      folder = &point.file;
    }
    out << "  <Placemark>\n    <name>" << Xml(p.name.str()) << "</name>\n    <ExtendedData>\n";
    Data(out, "code", point.code.value_or(""));
    Data(out, "role", RoleName(p.role));
    Data(out, "station", point.setup.station ? point.setup.station->name.view() : "");
    Data(out, "source", SourceName(point.source));
    out << "    </ExtendedData>\n    <Point><coordinates>" << DegreesText(place->longitude) << ','
        << DegreesText(place->latitude);
    if (const MaybeDouble& z = point.position.elevation; z && std::isfinite(*z)) {
      out << ',' << LengthText(*z, LengthUnit::Metre);
    }
    out << "</coordinates></Point>\n  </Placemark>\n";
  });
  out << (folder != nullptr ? "</Folder>\n" : "") << "</Document>\n</kml>\n";
}

}  // namespace m5host
