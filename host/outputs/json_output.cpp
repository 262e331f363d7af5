#include <cmath>
#include <string_view>

#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/sinks/trace_format.h"
#include "host/survey/computed_points.h"
#include "m5_version.h"

namespace m5host {

namespace {

std::string JsonString(std::string_view text) {
  return QuoteEscaped(text, ControlEscape::Json);
}

// Writes "name": value pairs of one object, with the commas between them, straight to the
// output: a large survey is never held as text.
class JsonObject {
 public:
  JsonObject(std::ostream& out, const std::string& indent) : m_out(out), m_indent(indent) {
    m_out << "{";
  }
  // Starts a pair; the caller writes the value.
  std::ostream& Key(const char* name) {
    m_out << (m_first ? "\n" : ",\n") << m_indent << "  " << JsonString(name) << ": ";
    m_first = false;
    return m_out;
  }
  void Raw(const char* name, const std::string& value) { Key(name) << value; }
  void Text(const char* name, std::string_view value) { Raw(name, JsonString(value)); }
  void Text(const char* name, const MaybeText& value) {
    if (value) {
      Text(name, value->view());
    }
  }
  void Air(const char* name, const MaybeDouble& value) {
    if (value) {
      Raw(name, std::isfinite(*value) ? AirText(*value) : "null");
    }
  }
  void Length(const char* name, const MaybeDouble& metres, LengthUnit unit) {
    if (metres) {
      Raw(name, std::isfinite(*metres) ? LengthText(*metres, unit) : "null");
    }
  }
  // Degrees-minutes-seconds are a text; the other units numbers.
  void Angle(const char* name, const MaybeDouble& radians, AngleUnit unit) {
    if (!radians) {
      return;
    }
    if (!std::isfinite(*radians)) {
      Raw(name, "null");
    } else if (unit == AngleUnit::Dms) {
      Raw(name, JsonString(AngleText(*radians, unit)));
    } else {
      Raw(name, AngleText(*radians, unit));
    }
  }
  void Integer(const char* name, const std::optional<int>& value) {
    if (value) {
      Raw(name, std::to_string(*value));
    }
  }
  void Close() {
    if (m_first) {
      m_out << "}";
    } else {
      m_out << "\n" << m_indent << "}";
    }
  }

 private:
  std::ostream& m_out;
  const std::string& m_indent;
  bool m_first = true;
};

struct Units {
  LengthUnit length;
  AngleUnit angle;
  const ComputedPoints* computed = nullptr;  // of the file being written
};

void WritePoint(std::ostream& out, const SurveyPoint& p, const std::string& indent,
                const Units& units) {
  JsonObject o(out, indent);
  o.Text("name", p.name.view());
  o.Text("role", RoleName(p.role));
  o.Text("code", p.code);
  o.Integer("kind", p.kind);
  o.Integer("flag", p.flag);
  o.Length("x", p.x, units.length);
  o.Length("y", p.y, units.length);
  o.Length("z", p.z, units.length);
  o.Length("instrumentHeight", p.instrumentHeight, units.length);
  o.Air("temperature", p.temperature);
  o.Air("pressure", p.pressure);
  o.Angle("horizontalDirection", p.horizontalDirection, units.angle);
  o.Angle("verticalAngle", p.verticalAngle, units.angle);
  o.Length("slopeDistance", p.slopeDistance, units.length);
  o.Length("horizontalDistance", p.horizontalDistance, units.length);
  o.Length("heightDifference", p.heightDifference, units.length);
  o.Length("targetHeight", p.targetHeight, units.length);
  // The place reduced from the observation, beside the record as the plug-in delivered it.
  if (const ComputedPoint* computed = units.computed ? units.computed->For(p) : nullptr) {
    const std::string inner = indent + "  ";
    JsonObject at(o.Key("computed"), inner);
    at.Length("x", computed->position.north, units.length);
    at.Length("y", computed->position.east, units.length);
    at.Length("z", computed->position.elevation, units.length);
    at.Close();
  }
  o.Close();
}

// Writes write(out, item, inner indent) for each item, one per line.
template <class T, class Write>
void WriteArray(std::ostream& out, const std::vector<T>& items, const std::string& indent,
                Write write) {
  if (items.empty()) {
    out << "[]";
    return;
  }
  const std::string inner = indent + "  ";
  out << "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out << (i == 0 ? "\n" : ",\n") << inner;
    write(out, items[i], inner);
  }
  out << "\n" << indent << "]";
}

void WriteSetup(std::ostream& out, const StationSetup& setup, const std::string& indent,
                const Units& units) {
  JsonObject o(out, indent);
  const std::string inner = indent + "  ";
  if (setup.station) {
    WritePoint(o.Key("station"), *setup.station, inner, units);
  } else {
    o.Raw("station", "null");
  }
  WriteArray(o.Key("observations"), setup.observations, inner,
             [&units](std::ostream& item, const SurveyPoint& p, const std::string& itemIndent) {
               WritePoint(item, p, itemIndent, units);
             });
  o.Close();
}

void WriteMessage(std::ostream& out, const Message& message, const std::string& indent) {
  JsonObject o(out, indent);
  o.Text("severity", SeverityName(message.severity));
  o.Raw("line", message.line < 0 ? "\"file\"" : LineNumber(message.line));
  o.Text("text", message.text);
  o.Close();
}

void WriteFileObject(std::ostream& out, const FileSurvey& file, const std::string& indent,
                     Units units) {
  const ComputedPoints computed(file);
  units.computed = &computed;
  JsonObject o(out, indent);
  const std::string inner = indent + "  ";
  // In every file's object, so that the list of files keeps its shape for scripts.
  o.Text("generator", "m5import " M5_VERSION);
  o.Text("file", file.path);
  o.Raw("units", std::string(R"({"length": ")") + LengthSymbol(units.length) + R"(", "angle": ")" +
                     AngleKey(units.angle) + R"(", "pressure": "hPa", "temperature": "°C"})");
  WriteArray(
      o.Key("stations"), file.setups, inner,
      [&units](std::ostream& item, const StationSetup& setup, const std::string& itemIndent) {
        WriteSetup(item, setup, itemIndent, units);
      });
  WriteArray(o.Key("messages"), file.messages, inner, WriteMessage);
  o.Close();
}

}  // namespace

void WriteJson(std::ostream& out, const std::vector<FileSurvey>& files,
               const OutputOptions& options, OutputNotes&) {
  const Units units{options.length, options.angles.value_or(AngleUnit::Radians)};
  WriteArray(out, files, "",
             [&units](std::ostream& item, const FileSurvey& file, const std::string& inner) {
               WriteFileObject(item, file, inner, units);
             });
  out << '\n';
}

}  // namespace m5host
