#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "host/os/text_encoding.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/sinks/trace_format.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

// Layers of their own; a point code never takes one of these names.
constexpr const char* kStations = "STATIONS";
constexpr const char* kUncoded = "POINTS";
constexpr const char* kNames = "NAMES";
constexpr const char* kCodes = "CODES";
constexpr const char* kElevations = "ELEVATIONS";
constexpr const char* kRays = "RAYS";

struct FixedLayer {
  const char* name;
  int colour;  // AutoCAD colour index
};
constexpr FixedLayer kFixedLayers[] = {{kStations, 1}, {kUncoded, 7},    {kNames, 7},
                                       {kCodes, 3},    {kElevations, 5}, {kRays, 8}};
constexpr int kCodeColour = 7;
constexpr std::size_t kLayerNameLength = 31;  // the longest name R12 allows

// Label height and offsets from the point, in metres on the ground.
constexpr double kTextHeight = 0.25;

// One layer per point code. R12 layer names hold upper-case letters, digits, "$", "-"
// and "_"; a code that does not fit gets the nearest name that does, made unique.
class CodeLayers {
 public:
  CodeLayers() {
    for (const FixedLayer& layer : kFixedLayers) {
      m_taken.insert(layer.name);
    }
    m_taken.insert("0");
  }

  void Add(const MaybeText& maybeCode, OutputNotes& notes) {
    if (!maybeCode.HasText()) {
      return;
    }
    const std::string code = maybeCode->str();
    if (m_layers.count(code) != 0) {
      return;
    }
    std::string name;
    for (const char c : code.substr(0, kLayerNameLength)) {
      const auto u = static_cast<unsigned char>(c);
      const bool fits = u < 0x80 && (std::isalnum(u) || c == '$' || c == '-' || c == '_');
      name += fits ? static_cast<char>(std::toupper(u)) : '_';
    }
    const std::string base = name;
    for (int n = 2; m_taken.count(name) != 0; ++n) {
      const std::string suffix = "_" + std::to_string(n);
      name = base.substr(0, kLayerNameLength - suffix.size()) + suffix;
    }
    m_taken.insert(name);
    m_layers.emplace(code, name);
    m_order.push_back(name);
    if (name != code) {
      notes.Changed("dxf", "code", code, "layer " + name);
    }
  }

  std::string For(const MaybeText& code) const {
    const auto found = code ? m_layers.find(code->str()) : m_layers.end();
    return found == m_layers.end() ? kUncoded : found->second;
  }
  const std::vector<std::string>& Names() const { return m_order; }

 private:
  std::set<std::string> m_taken;
  std::map<std::string, std::string> m_layers;  // code to layer
  std::vector<std::string> m_order;
};

// Writes group code and value pairs.
class DxfWriter {
 public:
  explicit DxfWriter(std::ostream& out) : m_out(out) {}

  void Group(int code, const std::string& value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%3d", code);
    m_out << buffer << '\n' << value << '\n';
  }
  void Group(int code, int value) { Group(code, std::to_string(value)); }
  void Coordinate(int code, double value) { Group(code, FormatDouble(value)); }
  void Point(int xCode, double x, double y, double z) {
    Coordinate(xCode, x);
    Coordinate(xCode + 10, y);
    Coordinate(xCode + 20, z);
  }

 private:
  std::ostream& m_out;
};

// A TEXT value on one line of ASCII: other characters as \U+XXXX, which CAD programs
// read back; control characters, which would break the line, as spaces.
std::string DxfText(const char* what, const std::string& text, OutputNotes& notes) {
  std::string out;
  bool changed = false;
  for (const wchar_t c : FromUtf8(text)) {
    const auto code = static_cast<unsigned long>(c);
    if (code < 0x20 || code == 0x7F) {
      out += ' ';
      changed = true;
    } else if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code <= 0xFFFF) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\U+%04lX", code);
      out += buffer;
    } else {
      out += '?';  // beyond what \U+ can say
      changed = true;
    }
  }
  if (changed) {
    notes.Changed("dxf", what, text, out);
  }
  return out;
}

void WriteTables(DxfWriter& dxf, const CodeLayers& layers) {
  dxf.Group(0, "SECTION");
  dxf.Group(2, "TABLES");
  dxf.Group(0, "TABLE");
  dxf.Group(2, "LTYPE");
  dxf.Group(70, 1);
  dxf.Group(0, "LTYPE");
  dxf.Group(2, "CONTINUOUS");
  dxf.Group(70, 0);
  dxf.Group(3, "Solid line");
  dxf.Group(72, 65);
  dxf.Group(73, 0);
  dxf.Group(40, "0.0");
  dxf.Group(0, "ENDTAB");
  dxf.Group(0, "TABLE");
  dxf.Group(2, "LAYER");
  dxf.Group(70, static_cast<int>(std::size(kFixedLayers) + layers.Names().size()));
  auto layer = [&dxf](const std::string& name, int colour) {
    dxf.Group(0, "LAYER");
    dxf.Group(2, name);
    dxf.Group(70, 0);
    dxf.Group(62, colour);
    dxf.Group(6, "CONTINUOUS");
  };
  for (const FixedLayer& fixed : kFixedLayers) {
    layer(fixed.name, fixed.colour);
  }
  for (const std::string& name : layers.Names()) {
    layer(name, kCodeColour);
  }
  dxf.Group(0, "ENDTAB");
  dxf.Group(0, "ENDSEC");
}

struct Ground {
  double east, north, elevation;
};

// Plan position in the drawing: x east, y north. A point without elevation lies at 0.
Ground Place(const SurveyPoint& p, LengthUnit unit) {
  return {ConvertLength(*p.y, unit), ConvertLength(*p.x, unit),
          p.z ? ConvertLength(*p.z, unit) : 0.0};
}

void WriteText(DxfWriter& dxf, const char* layer, const Ground& at, double height,
               const std::string& text) {
  dxf.Group(0, "TEXT");
  dxf.Group(8, layer);
  dxf.Point(10, at.east, at.north, at.elevation);
  dxf.Coordinate(40, height);
  dxf.Group(1, text);
}

// The record of the set-up with coordinates that a target names, if any.
const SurveyPoint* TargetPosition(const StationSetup& setup, const CompactText& name) {
  for (const SurveyPoint& p : setup.observations) {
    if (p.role != Role::Target && p.name == name && p.HasPlanCoordinates()) {
      return &p;
    }
  }
  return nullptr;
}

void WriteRays(DxfWriter& dxf, const StationSetup& setup, LengthUnit unit) {
  if (!setup.station || !setup.station->HasPlanCoordinates()) {
    return;
  }
  const Ground from = Place(*setup.station, unit);
  for (const SurveyPoint& target : setup.observations) {
    if (target.role != Role::Target) {
      continue;
    }
    if (const SurveyPoint* position = TargetPosition(setup, target.name)) {
      const Ground to = Place(*position, unit);
      dxf.Group(0, "LINE");
      dxf.Group(8, kRays);
      dxf.Point(10, from.east, from.north, from.elevation);
      dxf.Point(11, to.east, to.north, to.elevation);
    }
  }
}

}  // namespace

void WriteDxf(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes) {
  const LengthUnit unit = options.length;
  // The layers table comes before the entities: a first pass finds the codes.
  CodeLayers layers;
  ForEachPlacedPoint(files, [&](const PlacedPoint& point) {
    if (point.record.role != Role::Station) {
      layers.Add(point.code, notes);
    }
  });

  DxfWriter dxf(out);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "HEADER");
  dxf.Group(9, "$ACADVER");
  dxf.Group(1, "AC1009");
  dxf.Group(0, "ENDSEC");
  WriteTables(dxf, layers);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "ENTITIES");
  const double h = ConvertLength(kTextHeight, unit);
  ForEachPlacedPoint(files, [&](const PlacedPoint& point) {
    const SurveyPoint& p = point.record;
    const Ground at = Place(p, unit);
    const std::string layer =
        p.role == Role::Station ? std::string(kStations) : layers.For(point.code);
    dxf.Group(0, "POINT");
    dxf.Group(8, layer);
    dxf.Point(10, at.east, at.north, at.elevation);
    WriteText(dxf, kNames, {at.east + h, at.north + 0.5 * h, at.elevation}, h,
              DxfText("point ID", p.name, notes));
    if (point.code.HasText()) {
      WriteText(dxf, kCodes, {at.east + h, at.north - 1.0 * h, at.elevation}, h,
                DxfText("code", *point.code, notes));
    }
    if (p.z && std::isfinite(*p.z)) {
      WriteText(dxf, kElevations, {at.east + h, at.north - 2.5 * h, at.elevation}, h,
                FormatLength(*p.z, unit));
    }
  });
  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      WriteRays(dxf, setup, unit);
    }
  }
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "EOF");
}

}  // namespace m5host
