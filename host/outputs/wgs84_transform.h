// The survey's grid coordinates as longitude and latitude on WGS 84, for the formats that
// hold nothing else (GeoJSON after RFC 7946, KML), transformed by PROJ from the grid that
// --crs names. A build without PROJ (the Windows one: Debian has no mingw build of it) has
// no transformation and says so; it never writes grid coordinates as longitude and latitude.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/outputs/output_options.h"
#include "host/outputs/output_registry.h"

namespace m5host {

struct LongitudeLatitude {
  double longitude, latitude;  // degrees
};

class Wgs84Transform {
 public:
  // The transformation from the grid the CRS ("EPSG:N") names, or none with the reason.
  static std::unique_ptr<Wgs84Transform> From(const std::string& crs, std::string& why);
  virtual ~Wgs84Transform() = default;
  // The place of a point given in metres on the grid; none where PROJ finds none.
  virtual std::optional<LongitudeLatitude> Transform(double north, double east) const = 0;
};

// Whether the format can be written with the CRS and units chosen: empty when it can, else
// why not. Longitude and latitude need PROJ, and their elevations are in metres; KML needs
// --crs; a grid written under a CRS is written in that grid's unit, never feet under metres.
std::string CoordinateSystemProblem(const OutputFormat& format, const OutputOptions& options);

}  // namespace m5host
