#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <unordered_set>

#include "host/outputs/document_date.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/sinks/trace_format.h"
#include "host/survey/computed_points.h"
#include "m5_version.h"

namespace m5host {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kUnknownHeightNote =
    "instrument height not recorded: 0 written, heights refer to the instrument's axis";

// XML text: markup characters as entities; control characters, which XML 1.0 cannot hold
// at all, as spaces.
std::string XmlText(const std::string& file, const char* what, const std::string& text,
                    OutputNotes& notes) {
  std::string out;
  bool changed = false;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      out += ' ';
      changed = true;
    } else {
      out += c;
    }
  }
  if (changed) {
    notes.ChangedIn(file, "landxml", what, text, out);
  }
  return out;
}

// Angles as the schema's angular units name them.
const char* AngularUnit(AngleUnit unit) {
  switch (unit) {
    case AngleUnit::Gon:
      return "grads";
    case AngleUnit::Degrees:
      return "decimal degrees";
    case AngleUnit::Dms:
      return "decimal dd.mm.ss";
    case AngleUnit::Radians:
      break;
  }
  return "radians";
}

// An angle in the chosen unit; degrees-minutes-seconds packed as DDD.MMSSs.
std::string AngleValue(double radians, AngleUnit unit) {
  if (unit != AngleUnit::Dms) {
    return AngleText(radians, unit);
  }
  const double degrees = std::fabs(radians) * 180.0 / kPi;
  if (degrees > 1e9) {
    return AngleText(radians, AngleUnit::Degrees);
  }
  const auto tenths = static_cast<long long>(std::llround(degrees * 36000.0));
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld%02lld%lld",
                radians < 0 && tenths != 0 ? "-" : "", tenths / 36000, tenths / 600 % 60,
                tenths % 600 / 10, tenths % 10);
  return buffer;
}

void WriteUnits(std::ostream& out, const OutputOptions& options, AngleUnit angles) {
  const char* angular = AngularUnit(angles);
  if (options.length == LengthUnit::Metre) {
    out << "  <Units>\n    <Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" "
           "volumeUnit=\"cubicMeter\" temperatureUnit=\"celsius\" pressureUnit=\"HPA\" "
           "angularUnit=\""
        << angular << "\" directionUnit=\"" << angular << "\"/>\n  </Units>\n";
    return;
  }
  const char* linear = options.length == LengthUnit::Foot ? "foot" : "USSurveyFoot";
  out << "  <Units>\n    <Imperial areaUnit=\"squareFoot\" linearUnit=\"" << linear
      << "\" volumeUnit=\"cubicFeet\" temperatureUnit=\"fahrenheit\" pressureUnit=\"inHG\" "
         "angularUnit=\""
      << angular << "\" directionUnit=\"" << angular << "\"/>\n  </Units>\n";
}

// The date and time the document was made, as LandXML's attributes.
std::string Timestamp() {
  const DocumentMoment now = DocumentNow();
  return "date=\"" + now.date + "\" time=\"" + now.time + "\"";
}

class LandXmlWriter {
 public:
  LandXmlWriter(std::ostream& out, const OutputOptions& options, OutputNotes& notes)
      : m_out(out),
        m_options(options),
        m_angles(options.angles.value_or(AngleUnit::Radians)),
        m_notes(notes) {}

  // The instrument's points, then those computed from the observations in a group of their
  // own: a point the instrument also recorded keeps its name in both.
  void Points(const std::vector<FileSurvey>& files) {
    Points(files, PointSource::Instrument, "  <CgPoints>\n");
    Points(files, PointSource::Computed,
           "  <CgPoints name=\"computed\" desc=\"computed from the observations by the polar "
           "reduction\">\n");
  }

  void Points(const std::vector<FileSurvey>& files, PointSource source, const char* opening) {
    PointIds ids("landxml", m_notes);
    bool any = false;
    ForEachPosition(files, [&](const PositionedPoint& point) {
      if (point.source != source) {
        return;
      }
      if (!any) {
        m_out << opening;
        any = true;
      }
      const SurveyPoint& p = point.record;
      const GridPosition& at = point.position;
      ids.Written(p.name);
      m_out << "    <CgPoint name=\"" << XmlText(point.file.path, "point ID", p.name, m_notes)
            << '"';
      if (point.code.HasText()) {
        m_out << " code=\"" << XmlText(point.file.path, "code", *point.code, m_notes) << '"';
      }
      // Northing, easting, then the elevation when known.
      m_out << '>' << Length(at.north) << ' ' << Length(at.east);
      if (at.elevation && std::isfinite(*at.elevation)) {
        m_out << ' ' << Length(*at.elevation);
      }
      m_out << "</CgPoint>\n";
    });
    if (any) {
      m_out << "  </CgPoints>\n";
      ids.Finish();
    }
  }

  void Survey(const FileSurvey& file) {
    m_out << "  <Survey>\n    <SurveyHeader name=\""
          << XmlText(file.path, "file", file.path, m_notes) << "\"/>\n";
    for (const StationSetup& setup : file.setups) {
      Setup(file, setup);
    }
    m_out << "  </Survey>\n";
  }

 private:
  std::string Length(double metres) const { return LengthText(metres, m_options.length); }

  void Attribute(const char* name, const MaybeDouble& value, bool isAngle) {
    if (value && std::isfinite(*value)) {
      m_out << ' ' << name << "=\"" << (isAngle ? AngleValue(*value, m_angles) : Length(*value))
            << '"';
    }
  }

  // The first target of the set-up that was a known point before it was measured. One pass:
  // a station of a quarter of a million targets and no known point stays quick.
  static const SurveyPoint* FindBacksight(const StationSetup& setup) {
    std::unordered_set<std::string_view> known;
    for (const SurveyPoint& p : setup.observations) {
      if (p.role != Role::Target) {
        if (p.HasPlanCoordinates()) {
          known.insert(p.name.view());
        }
      } else if (known.count(p.name.view()) != 0) {
        return &p;
      }
    }
    return nullptr;
  }

  void Setup(const FileSurvey& file, const StationSetup& setup) {
    int targets = 0;
    for (const SurveyPoint& p : setup.observations) {
      targets += p.role == Role::Target ? 1 : 0;
    }
    if (!setup.station) {
      if (targets != 0) {
        m_notes.Add(file.path + ": " + std::to_string(targets) +
                    " observation(s) before the first station, not in the survey of "
                    "landxml");
      }
      return;
    }
    const SurveyPoint& station = *setup.station;
    const std::string id = "setup" + std::to_string(++m_setups);
    const std::string name = XmlText(file.path, "station", station.name, m_notes);
    m_out << "    <InstrumentSetup id=\"" << id << "\" stationName=\"" << name << '"';
    // LandXML requires the height. Where the file gives none, 0 puts the observed heights
    // on the instrument's axis, and a field note says the height was not recorded.
    const bool heightKnown = station.instrumentHeight && std::isfinite(*station.instrumentHeight);
    m_out << " instrumentHeight=\"" << (heightKnown ? Length(*station.instrumentHeight) : "0")
          << "\">\n      <InstrumentPoint";
    if (station.HasPlanCoordinates()) {
      m_out << " pntRef=\"" << name << '"';
    }
    m_out << "/>\n";
    if (!heightKnown) {
      m_out << "      <FieldNote>" << kUnknownHeightNote << "</FieldNote>\n";
    }
    if (const SurveyPoint* backsight = FindBacksight(setup)) {
      m_out << "      <Backsight";
      Attribute("circle", backsight->horizontalDirection, true);
      Attribute("targetHeight", backsight->targetHeight, false);
      m_out << ">\n        <BacksightPoint pntRef=\""
            << XmlText(file.path, "point ID", backsight->name, m_notes)
            << "\"/>\n      </Backsight>\n";
    }
    m_out << "    </InstrumentSetup>\n";
    if (targets == 0) {
      return;
    }
    m_out << "    <ObservationGroup id=\"" << id << "-observations\" setupID=\"" << id << "\">\n";
    for (const SurveyPoint& p : setup.observations) {
      if (p.role != Role::Target) {
        continue;
      }
      m_out << "      <RawObservation setupID=\"" << id << '"';
      Attribute("horizAngle", p.horizontalDirection, true);
      Attribute("zenithAngle", p.verticalAngle, true);
      Attribute("slopeDistance", p.slopeDistance, false);
      Attribute("horizDistance", p.horizontalDistance, false);
      Attribute("vertDistance", p.heightDifference, false);
      Attribute("targetHeight", p.targetHeight, false);
      m_out << ">\n        <TargetPoint pntRef=\""
            << XmlText(file.path, "point ID", p.name, m_notes) << "\"";
      if (p.code.HasText()) {
        m_out << " code=\"" << XmlText(file.path, "code", *p.code, m_notes) << '"';
      }
      m_out << "/>\n      </RawObservation>\n";
    }
    m_out << "    </ObservationGroup>\n";
  }

  std::ostream& m_out;
  const OutputOptions& m_options;
  AngleUnit m_angles;
  OutputNotes& m_notes;
  int m_setups = 0;
};

}  // namespace

void WriteLandXml(std::ostream& out, const std::vector<FileSurvey>& files,
                  const OutputOptions& options, OutputNotes& notes) {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2 "
         "http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\" version=\"1.2\" "
      << Timestamp() << ">\n";
  LandXmlWriter writer(out, options, notes);
  WriteUnits(out, options, options.angles.value_or(AngleUnit::Radians));
  if (options.crs) {
    const std::string code = options.crs->substr(options.crs->find(':') + 1);
    out << "  <CoordinateSystem name=\"" << *options.crs << "\" epsgCode=\"" << code << "\"/>\n";
  }
  out << "  <Application name=\"m5import\" version=\"" M5_VERSION "\"/>\n";
  writer.Points(files);
  for (const FileSurvey& file : files) {
    writer.Survey(file);
  }
  out << "</LandXML>\n";
}

}  // namespace m5host
