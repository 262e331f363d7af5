#include <cmath>

#include "host/outputs/delimited_text.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/sinks/trace_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

class CsvWriter {
 public:
  CsvWriter(std::ostream& out, const OutputOptions& options, OutputNotes& notes)
      : m_out(out),
        m_options(options),
        m_angles(options.angles.value_or(AngleUnit::Radians)),
        m_notes(notes) {}

  void Header() {
    const std::string a = AngleKey(m_angles);
    const std::string l = LengthSymbol(m_options.length);
    // The geodetic X is north: GIS tools read the columns by these names.
    WriteCells({"file",
                "station",
                "role",
                "name",
                "code",
                "kind",
                "flag",
                "hz_" + a,
                "v_" + a,
                "sd_" + l,
                "hd_" + l,
                "dh_" + l,
                "th_" + l,
                "northing_" + l,
                "easting_" + l,
                "elevation_" + l,
                "ih_" + l,
                "temperature_c",
                "pressure_hpa",
                "computed_northing_" + l,
                "computed_easting_" + l,
                "computed_elevation_" + l});
  }

  // The record as the instrument gave it, then the place computed from its observation.
  void Row(const std::string& file, std::string_view station, const SurveyPoint& p,
           const MaybeText& code, const ComputedPoint* computed) {
    const GridPosition at = computed ? computed->position : GridPosition{};
    WriteCells({Text(file, "file", file),
                Text(file, "station", std::string(station)),
                RoleName(p.role),
                Text(file, "name", p.name),
                Text(file, "code", code.value_or("")),
                Integer(p.kind),
                Integer(p.flag),
                Angle(p.horizontalDirection),
                Angle(p.verticalAngle),
                Length(p.slopeDistance),
                Length(p.horizontalDistance),
                Length(p.heightDifference),
                Length(p.targetHeight),
                Length(p.x),
                Length(p.y),
                Length(p.z),
                Length(p.instrumentHeight),
                Air(p.temperature),
                Air(p.pressure),
                computed ? Length(at.north) : std::string(),
                computed ? Length(at.east) : std::string(),
                Length(at.elevation)});
  }

 private:
  void WriteCells(const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) {
        m_out << m_options.delimiter;
      }
      m_out << QuotedCell(cells[i], m_options.delimiter);
    }
    m_out << "\r\n";
  }

  std::string Text(const std::string& file, const char* what, const std::string& text) {
    std::string safe = SpreadsheetText(text);
    if (safe != text) {
      m_notes.ChangedIn(file, "csv", what, text, safe);
    }
    return safe;
  }

  static std::string Air(const MaybeDouble& value) {
    return value && std::isfinite(*value) ? AirText(*value) : std::string();
  }
  std::string Length(const MaybeDouble& metres) const {
    return metres && std::isfinite(*metres) ? LengthText(*metres, m_options.length) : std::string();
  }
  std::string Angle(const MaybeDouble& radians) const {
    return radians && std::isfinite(*radians) ? AngleText(*radians, m_angles) : std::string();
  }
  static std::string Integer(const std::optional<int>& value) {
    return value ? std::to_string(*value) : std::string();
  }

  std::ostream& m_out;
  const OutputOptions& m_options;
  AngleUnit m_angles;
  OutputNotes& m_notes;
};

}  // namespace

void WriteCsv(std::ostream& out, const std::vector<FileSurvey>& files, const OutputOptions& options,
              OutputNotes& notes) {
  WriteByteOrderMark(out, options.bom);
  CsvWriter csv(out, options, notes);
  if (options.header == HeaderRow::Written) {
    csv.Header();
  }
  for (const FileSurvey& file : files) {
    const PointCodes codes(file);
    const ComputedPoints computed(file);
    ForEachRecord(file, [&](const StationSetup& setup, const SurveyPoint& record) {
      csv.Row(file.path, setup.station ? setup.station->name.view() : std::string_view(), record,
              codes.For(record), computed.For(record));
    });
  }
}

}  // namespace m5host
