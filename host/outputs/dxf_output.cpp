#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>

#include "host/os/text_encoding.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

// Layers of their own; a point code never takes one of these names.
constexpr const char* kStations = "STATIONS";
constexpr const char* kUncoded = "POINTS";
constexpr const char* kNames = "NAMES";
constexpr const char* kCodes = "CODES";
constexpr const char* kElevations = "ELEVATIONS";
constexpr const char* kRays = "RAYS";
// Points computed from their observations, apart from those the instrument recorded.
constexpr const char* kComputed = "COMPUTED";

struct FixedLayer {
  const char* name;
  int colour;  // AutoCAD colour index
};
constexpr FixedLayer kFixedLayers[] = {{kStations, 1},   {kUncoded, 7}, {kNames, 7},   {kCodes, 3},
                                       {kElevations, 5}, {kRays, 8},    {kComputed, 4}};
constexpr int kCodeColour = 7;
constexpr std::size_t kLayerNameLength = 31;  // the longest name R12 allows

// Label height and offsets from the point, in metres on the ground.
constexpr double kTextHeight = 0.25;
// $PDMODE 34: a cross in a circle (32 + 2), the usual mark of a survey point, where the
// default dot of one pixel is lost; $PDSIZE in drawing units, 0.2 m across on the ground.
constexpr int kPointStyle = 34;
constexpr double kPointSize = 0.2;

// $INSUNITS: 6 metres, 2 feet, 21 US survey feet.
int InsertionUnits(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::Metre:
      return 6;
    case LengthUnit::Foot:
      return 2;
    case LengthUnit::UsSurveyFoot:
      return 21;
  }
  return 0;
}

// The drawing's code page is Windows-1251: it holds the Cyrillic the instruments write, and
// CAD programs, ezdxf and GDAL decode an R12 drawing by its $DWGCODEPAGE. These are its
// characters 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::uint16_t kCp1251From80[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98 (0x98 unused)
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// The byte of a printable character in Windows-1251, or 0 when the code page lacks it.
unsigned char Cp1251Byte(wchar_t c) {
  const auto code = static_cast<std::uint32_t>(c);
  if (code >= 0x20 && code < 0x7F) {
    return static_cast<unsigned char>(code);
  }
  if (code >= 0x0410 && code <= 0x044F) {
    return static_cast<unsigned char>(0xC0 + (code - 0x0410));
  }
  for (std::size_t i = 0; i < std::size(kCp1251From80); ++i) {
    if (code != 0 && kCp1251From80[i] == code) {
      return static_cast<unsigned char>(0x80 + i);
    }
  }
  return 0;
}

// Text the code page holds, as its bytes.
std::string Cp1251(const std::wstring& text) {
  std::string bytes;
  for (const wchar_t c : text) {
    bytes += static_cast<char>(Cp1251Byte(c));
  }
  return bytes;
}

// A character of a code as a layer name has it: R12 names hold letters (upper-case), digits,
// "$", "-" and "_"; Cyrillic letters are letters of the drawing's code page. Anything else
// becomes "_".
wchar_t LayerCharacter(wchar_t c) {
  const auto code = static_cast<std::uint32_t>(c);
  if (code < 0x80) {
    const bool fits = std::isalnum(static_cast<int>(code)) || c == L'$' || c == L'-' || c == L'_';
    return fits ? static_cast<wchar_t>(std::toupper(static_cast<int>(code))) : L'_';
  }
  wchar_t upper = c;
  if (code >= 0x0430 && code <= 0x044F) {
    upper = static_cast<wchar_t>(code - 0x20);
  } else if (code >= 0x0450 && code <= 0x045F) {
    upper = static_cast<wchar_t>(code - 0x50);
  } else if (code == 0x0491) {
    upper = static_cast<wchar_t>(0x0490);
  } else if (!(code >= 0x0400 && code <= 0x042F) && code != 0x0490) {
    return L'_';
  }
  return Cp1251Byte(upper) != 0 ? upper : L'_';
}

// One layer per point code, named by the code's characters as LayerCharacter has them and
// made unique: two codes never share a layer, nor does a code take a layer of our own.
class CodeLayers {
 public:
  CodeLayers() {
    for (const FixedLayer& layer : kFixedLayers) {
      m_taken.insert(FromUtf8(layer.name));
    }
    m_taken.insert(L"0");
  }

  void Add(const MaybeText& maybeCode, OutputNotes& notes) {
    if (!maybeCode.HasText()) {
      return;
    }
    const std::string code = maybeCode->str();
    if (m_layers.count(code) != 0) {
      return;
    }
    std::wstring name;
    for (const wchar_t c : FromUtf8(code).substr(0, kLayerNameLength)) {
      name += LayerCharacter(c);
    }
    const std::wstring base = name;
    for (int n = 2; m_taken.count(name) != 0; ++n) {
      const std::wstring suffix = L"_" + std::to_wstring(n);
      name = base.substr(0, kLayerNameLength - suffix.size()) + suffix;
    }
    m_taken.insert(name);
    m_layers.emplace(code, Cp1251(name));
    m_order.push_back(Cp1251(name));
    if (const std::string written = ToUtf8(name); written != code) {
      notes.Changed("dxf", "code", code, "layer " + written);
    }
  }

  // The layer's name in the drawing's code page.
  std::string For(const MaybeText& code) const {
    const auto found = code ? m_layers.find(code->str()) : m_layers.end();
    return found == m_layers.end() ? kUncoded : found->second;
  }
  const std::vector<std::string>& Names() const { return m_order; }

 private:
  std::set<std::wstring> m_taken;
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
  void Coordinate(int code, double value) { Group(code, ConvertedLengthText(value)); }
  void Point(int xCode, double x, double y, double z) {
    Coordinate(xCode, x);
    Coordinate(xCode + 10, y);
    Coordinate(xCode + 20, z);
  }

 private:
  std::ostream& m_out;
};

// A TEXT value on one line in the drawing's code page: a character the code page lacks as
// \U+XXXX, which CAD programs show as the character; control characters, which would break
// the line, as spaces. Each change is noted: ezdxf and GDAL keep \U+XXXX as it stands.
std::string DxfText(const std::string& file, const char* what, const std::string& text,
                    OutputNotes& notes) {
  std::string bytes;
  std::wstring shown;  // what the bytes say, for the note
  bool changed = false;
  for (const wchar_t c : FromUtf8(text)) {
    const auto code = static_cast<unsigned long>(c);
    if (const unsigned char byte = Cp1251Byte(c); byte != 0) {
      bytes += static_cast<char>(byte);
      shown += c;
      continue;
    }
    changed = true;
    std::string replacement = " ";
    if (code >= 0xDC00 && code <= 0xDFFF) {
      continue;  // the second half of a 16-bit pair, said by its first
    }
    if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDBFF)) {
      replacement = "?";  // beyond what \U+ can say
    } else if (code >= 0xA0) {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\U+%04lX", code);
      replacement = buffer;
    }
    bytes += replacement;
    shown.append(replacement.begin(), replacement.end());
  }
  if (changed) {
    notes.ChangedIn(file, "dxf", what, text, ToUtf8(shown));
  }
  return bytes;
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
Ground Place(const GridPosition& p, LengthUnit unit) {
  return {ConvertLength(p.east, unit), ConvertLength(p.north, unit),
          p.elevation ? ConvertLength(*p.elevation, unit) : 0.0};
}
Ground Place(const SurveyPoint& p, LengthUnit unit) {
  return Place(GridPosition{*p.x, *p.y, p.z}, unit);
}

void WriteText(DxfWriter& dxf, const char* layer, const Ground& at, double height,
               const std::string& text) {
  dxf.Group(0, "TEXT");
  dxf.Group(8, layer);
  dxf.Point(10, at.east, at.north, at.elevation);
  dxf.Coordinate(40, height);
  dxf.Group(1, text);
}

// A line from the station to each target with coordinates in its set-up: the first record
// of the set-up of that name that carries them, else the point computed from the target.
// Looked up by name, so a station with a quarter of a million targets takes no longer per
// target than one with ten.
void WriteRays(DxfWriter& dxf, const StationSetup& setup, const ComputedPoints& computed,
               LengthUnit unit) {
  if (!setup.station || !setup.station->HasPlanCoordinates()) {
    return;
  }
  std::unordered_map<std::string_view, const SurveyPoint*> positions;
  for (const SurveyPoint& p : setup.observations) {
    if (p.role != Role::Target && p.HasPlanCoordinates()) {
      positions.emplace(p.name.view(), &p);
    }
  }
  const Ground from = Place(*setup.station, unit);
  for (const SurveyPoint& target : setup.observations) {
    if (target.role != Role::Target) {
      continue;
    }
    const auto found = positions.find(target.name.view());
    const ComputedPoint* reduced = computed.For(target);
    if (found != positions.end() || reduced != nullptr) {
      const Ground to =
          found != positions.end() ? Place(*found->second, unit) : Place(reduced->position, unit);
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
  dxf.Group(9, "$DWGCODEPAGE");
  dxf.Group(3, "ANSI_1251");
  dxf.Group(9, "$INSUNITS");
  dxf.Group(70, InsertionUnits(unit));
  dxf.Group(9, "$MEASUREMENT");
  dxf.Group(70, unit == LengthUnit::Metre ? 1 : 0);
  dxf.Group(9, "$LUNITS");
  dxf.Group(70, 2);  // decimal
  dxf.Group(9, "$PDMODE");
  dxf.Group(70, kPointStyle);
  dxf.Group(9, "$PDSIZE");
  dxf.Coordinate(40, ConvertLength(kPointSize, unit));
  dxf.Group(0, "ENDSEC");
  WriteTables(dxf, layers);
  dxf.Group(0, "SECTION");
  dxf.Group(2, "ENTITIES");
  const double h = ConvertLength(kTextHeight, unit);
  ForEachPosition(files, [&](const PositionedPoint& point) {
    const SurveyPoint& p = point.record;
    const Ground at = Place(point.position, unit);
    const std::string layer = point.source == PointSource::Computed ? std::string(kComputed)
                              : p.role == Role::Station             ? std::string(kStations)
                                                                    : layers.For(point.code);
    dxf.Group(0, "POINT");
    dxf.Group(8, layer);
    dxf.Point(10, at.east, at.north, at.elevation);
    WriteText(dxf, kNames, {at.east + h, at.north + 0.5 * h, at.elevation}, h,
              DxfText(point.file.path, "point ID", p.name, notes));
    if (point.code.HasText()) {
      WriteText(dxf, kCodes, {at.east + h, at.north - 1.0 * h, at.elevation}, h,
                DxfText(point.file.path, "code", *point.code, notes));
    }
    if (const MaybeDouble& z = point.position.elevation; z && std::isfinite(*z)) {
      WriteText(dxf, kElevations, {at.east + h, at.north - 2.5 * h, at.elevation}, h,
                FormatLength(*z, unit));
    }
  });
  for (const FileSurvey& file : files) {
    const ComputedPoints computed(file);
    for (const StationSetup& setup : file.setups) {
      WriteRays(dxf, setup, computed, unit);
    }
  }
  dxf.Group(0, "ENDSEC");
  dxf.Group(0, "EOF");
}

}  // namespace m5host
