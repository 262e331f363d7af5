#include "host/outputs/wgs84_transform.h"

#include <cmath>

#include "host/outputs/value_format.h"

#if M5_WITH_PROJ
#include <proj.h>
#endif

namespace m5host {

namespace {

#if M5_WITH_PROJ

// The PROJ objects of one transformation, each released with its owner.
struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct ObjectDeleter {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;
using Object = std::unique_ptr<PJ, ObjectDeleter>;

// The first message is the cause; those after it tell its consequences.
void KeepFirstMessage(void* said, int, const char* message) {
  if (said != nullptr && message != nullptr && static_cast<std::string*>(said)->empty()) {
    *static_cast<std::string*>(said) = message;
  }
}

// The grid of a CRS: itself when projected, the horizontal part of a compound one.
Object ProjectedPart(PJ_CONTEXT* context, Object crs) {
  if (proj_get_type(crs.get()) == PJ_TYPE_COMPOUND_CRS) {
    crs.reset(proj_crs_get_sub_crs(context, crs.get(), 0));
  }
  if (crs && proj_get_type(crs.get()) == PJ_TYPE_PROJECTED_CRS) {
    return crs;
  }
  return nullptr;
}

struct Grid {
  Context context;
  Object crs;
  double metresPerUnit = 1;
  std::string unitName;
};

// The projected CRS PROJ knows by that name, with its axes' unit; none with the reason.
std::optional<Grid> FindGrid(const std::string& name, std::string& why) {
  Grid grid{Context(proj_context_create()), nullptr, 1, std::string()};
  if (!grid.context) {
    why = "PROJ could not start";
    return std::nullopt;
  }
  // PROJ's own words on what failed (a missing proj.db, an unknown code), kept for the
  // reason instead of printed; messages after the lookup are dropped.
  std::string said;
  proj_log_func(grid.context.get(), &said, KeepFirstMessage);
  Object crs(proj_create(grid.context.get(), name.c_str()));
  proj_log_func(grid.context.get(), nullptr, KeepFirstMessage);
  if (!crs) {
    why = "PROJ does not know " + name + (said.empty() ? "" : " (" + said + ")");
    return std::nullopt;
  }
  grid.crs = ProjectedPart(grid.context.get(), std::move(crs));
  if (!grid.crs) {
    why = name + " is not a projected grid of eastings and northings";
    return std::nullopt;
  }
  const Object axes(proj_crs_get_coordinate_system(grid.context.get(), grid.crs.get()));
  double factor = 0;
  const char* unit = nullptr;
  if (!axes ||
      !proj_cs_get_axis_info(grid.context.get(), axes.get(), 0, nullptr, nullptr, nullptr, &factor,
                             &unit, nullptr, nullptr) ||
      !(factor > 0)) {
    why = "PROJ gives no length unit for " + name;
    return std::nullopt;
  }
  grid.metresPerUnit = factor;
  grid.unitName = unit != nullptr ? unit : "?";
  return grid;
}

class ProjTransform final : public Wgs84Transform {
 public:
  ProjTransform(Grid grid, Object transform)
      : m_grid(std::move(grid)), m_transform(std::move(transform)) {}

  std::optional<LongitudeLatitude> Transform(double north, double east) const override {
    // Normalised for visualisation: easting and northing in, longitude and latitude out.
    PJ_COORD from = proj_coord(east / m_grid.metresPerUnit, north / m_grid.metresPerUnit, 0, 0);
    const PJ_COORD to = proj_trans(m_transform.get(), PJ_FWD, from);
    const double longitude = to.xy.x, latitude = to.xy.y;
    if (!std::isfinite(longitude) || !std::isfinite(latitude) || std::fabs(longitude) > 180 ||
        std::fabs(latitude) > 90) {
      return std::nullopt;
    }
    return LongitudeLatitude{longitude, latitude};
  }

 private:
  Grid m_grid;
  Object m_transform;
};

#endif

constexpr const char* kWithoutProj =
    "this m5import was built without PROJ (as the Windows one is) and cannot transform grid "
    "coordinates to longitude and latitude";

}  // namespace

std::unique_ptr<Wgs84Transform> Wgs84Transform::From(const std::string& crs, std::string& why) {
#if M5_WITH_PROJ
  std::optional<Grid> grid = FindGrid(crs, why);
  if (!grid) {
    return nullptr;
  }
  PJ_CONTEXT* context = grid->context.get();
  Object raw(proj_create_crs_to_crs_from_pj(
      context, grid->crs.get(), Object(proj_create(context, "EPSG:4326")).get(), nullptr, nullptr));
  Object transform(raw ? proj_normalize_for_visualization(context, raw.get()) : nullptr);
  if (!transform) {
    why = "PROJ finds no transformation from " + crs + " to WGS 84";
    return nullptr;
  }
  return std::make_unique<ProjTransform>(std::move(*grid), std::move(transform));
#else
  (void)crs;
  why = kWithoutProj;
  return nullptr;
#endif
}

std::string CoordinateSystemProblem(const OutputFormat& format, const OutputOptions& options) {
  const std::string name = format.name;
  const bool longitudeLatitude = format.coordinates != Coordinates::Grid;
  if (!options.crs) {
    return format.coordinates == Coordinates::LongitudeLatitude
               ? name + " holds longitude and latitude, and the survey's coordinates are on a " +
                     "grid: give its --crs EPSG:N"
               : std::string();
  }
  if (longitudeLatitude && options.length != LengthUnit::Metre) {
    return name + " with --crs holds longitude, latitude and elevations in metres: --units " +
           LengthSymbol(options.length) + " does not apply";
  }
#if M5_WITH_PROJ
  std::string why;
  const std::optional<Grid> grid = FindGrid(*options.crs, why);
  if (!grid) {
    return "--crs " + *options.crs + ": " + why;
  }
  const double chosen = MetresPerUnit(options.length);
  if (!longitudeLatitude && std::fabs(grid->metresPerUnit - chosen) > 1e-9 * chosen) {
    return "--units " + std::string(LengthSymbol(options.length)) + " would write " + name +
           " under " + *options.crs + ", whose grid is in " + grid->unitName +
           ": give the --units of the grid";
  }
  return std::string();
#else
  return longitudeLatitude ? "--crs " + *options.crs + ": " + kWithoutProj : std::string();
#endif
}

}  // namespace m5host
