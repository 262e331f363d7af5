#include <algorithm>

#include "host/os/text_encoding.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

// Columns padded to their widest cell; numbers right-aligned (columns from `firstRight`
// on), texts left-aligned. Rows are made twice, once to measure and once to write, so a
// table of a hundred thousand messages is never held whole.
template <class MakeRow>
void WriteTable(std::ostream& out, const char* indent, const std::vector<std::string>& header,
                std::size_t firstRight, std::size_t rows, MakeRow makeRow) {
  std::vector<std::size_t> widths;
  auto measure = [&widths](const std::vector<std::string>& row) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  };
  auto write = [&](const std::vector<std::string>& row) {
    std::string line = indent;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - DisplayWidth(row[c]), ' ');
      line += c >= firstRight ? padding + row[c] : row[c] + padding;
      line += c + 1 < row.size() ? "  " : "";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
  };
  measure(header);
  for (std::size_t r = 0; r < rows; ++r) {
    measure(makeRow(r));
  }
  write(header);
  for (std::size_t r = 0; r < rows; ++r) {
    write(makeRow(r));
  }
}

std::string Length(const MaybeDouble& metres, LengthUnit unit) {
  return metres ? FormatLength(*metres, unit) : std::string();
}

std::string Angle(const MaybeDouble& radians, AngleUnit unit) {
  return radians ? FormatAngle(*radians, unit) : std::string();
}

// "point k1 f0": how the plug-in named the record, its point kind and flag.
std::string KindText(const SurveyPoint& point) {
  std::string text = RoleName(point.role);
  if (point.kind) {
    text += " k" + std::to_string(*point.kind);
  }
  if (point.flag) {
    text += " f" + std::to_string(*point.flag);
  }
  return text;
}

void WriteStationLine(std::ostream& out, const SurveyPoint& station, LengthUnit unit) {
  out << "Station " << station.name;
  if (station.code) {
    out << "  code " << *station.code;
  }
  if (station.kind) {
    out << "  k" << *station.kind;
  }
  if (station.instrumentHeight) {
    out << "  ih " << FormatLength(*station.instrumentHeight, unit) << " " << LengthSymbol(unit);
  }
  if (station.temperature) {
    out << "  " << Fixed(*station.temperature, 1) << " °C";
  }
  if (station.pressure) {
    out << "  " << Fixed(*station.pressure, 1) << " hPa";
  }
  out << '\n';
  if (station.x || station.y || station.z) {
    out << "  X " << Length(station.x, unit) << "  Y " << Length(station.y, unit) << "  Z "
        << Length(station.z, unit) << '\n';
  }
}

// A target's row shows the place computed from it, marked in the last column.
void WriteObservations(std::ostream& out, const std::vector<SurveyPoint>& observations,
                       const ComputedPoints& computed, AngleUnit angles, LengthUnit unit) {
  const std::string a = AngleSymbol(angles);
  const std::string l = std::string(" ") + LengthSymbol(unit);
  const std::vector<std::string> header{"name",   "code",   "kind",   "Hz " + a, "V " + a,
                                        "SD" + l, "HD" + l, "dh" + l, "th" + l,  "X" + l,
                                        "Y" + l,  "Z" + l,  "XYZ"};
  WriteTable(out, "  ", header, 3, observations.size(), [&](std::size_t r) {
    const SurveyPoint& p = observations[r];
    const ComputedPoint* reduced = p.HasPlanCoordinates() ? nullptr : computed.For(p);
    const GridPosition at = reduced ? reduced->position : GridPosition{0, 0, p.z};
    const MaybeDouble x = reduced ? MaybeDouble(at.north) : p.x;
    const MaybeDouble y = reduced ? MaybeDouble(at.east) : p.y;
    return std::vector<std::string>{p.name,
                                    p.code.value_or(""),
                                    KindText(p),
                                    Angle(p.horizontalDirection, angles),
                                    Angle(p.verticalAngle, angles),
                                    Length(p.slopeDistance, unit),
                                    Length(p.horizontalDistance, unit),
                                    Length(p.heightDifference, unit),
                                    Length(p.targetHeight, unit),
                                    Length(x, unit),
                                    Length(y, unit),
                                    Length(at.elevation, unit),
                                    reduced ? "computed" : ""};
  });
}

std::string Plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void WriteFile(std::ostream& out, const FileSurvey& file, AngleUnit angles, LengthUnit unit) {
  out << "== " << file.path << '\n';
  const ComputedPoints computed(file);
  int stations = 0;
  int observations = 0;
  for (const StationSetup& setup : file.setups) {
    out << '\n';
    if (setup.station) {
      ++stations;
      WriteStationLine(out, *setup.station, unit);
    } else {
      out << "Without a station\n";
    }
    observations += static_cast<int>(setup.observations.size());
    if (!setup.observations.empty()) {
      WriteObservations(out, setup.observations, computed, angles, unit);
    }
  }
  if (!file.messages.empty()) {
    out << "\nMessages\n";
    const std::vector<std::string> header{"line", "type", "message"};
    WriteTable(out, "  ", header, header.size(), file.messages.size(), [&](std::size_t r) {
      const Message& message = file.messages[r];
      return std::vector<std::string>{LineLabel(message.line), SeverityName(message.severity),
                                      OnOneLine(message.text)};
    });
  }
  out << '\n'
      << Plural(stations, "station") << ", " << Plural(observations, "observation") << ", "
      << Plural(file.Count(Severity::Error), "error") << ", "
      << Plural(file.Count(Severity::Warning), "warning") << "\n\n";
}

}  // namespace

void WriteTextReport(std::ostream& out, const std::vector<FileSurvey>& files,
                     const OutputOptions& options, OutputNotes&) {
  for (const FileSurvey& file : files) {
    WriteFile(out, file, options.angles.value_or(AngleUnit::Gon), options.length);
  }
}

}  // namespace m5host
