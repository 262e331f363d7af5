#include <cmath>

#include "host/output_formats.h"
#include "host/trace_format.h"

namespace m5host {

namespace {

// A field quoted when it holds a comma, a quote or a line break.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    return text;
  }
  std::string out = "\"";
  for (const char c : text) {
    out += c == '"' ? "\"\"" : std::string(1, c);
  }
  return out + "\"";
}

std::string Number(const std::optional<double>& value) {
  return value && std::isfinite(*value) ? FormatDouble(*value) : std::string();
}

std::string Integer(const std::optional<int>& value) {
  return value ? std::to_string(*value) : std::string();
}

void WriteRow(std::ostream& out, const std::string& file, const std::string& station,
              const SurveyPoint& p) {
  const std::string fields[] = {Field(file),
                                Field(station),
                                RoleName(p.role),
                                Field(p.name),
                                Field(p.code.value_or("")),
                                Integer(p.kind),
                                Integer(p.flag),
                                Number(p.horizontalDirection),
                                Number(p.verticalAngle),
                                Number(p.slopeDistance),
                                Number(p.horizontalDistance),
                                Number(p.heightDifference),
                                Number(p.targetHeight),
                                Number(p.x),
                                Number(p.y),
                                Number(p.z),
                                Number(p.instrumentHeight),
                                Number(p.temperature),
                                Number(p.pressure)};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    out << (i == 0 ? "" : ",") << fields[i];
  }
  out << "\r\n";
}

}  // namespace

void WriteCsv(std::ostream& out, const std::vector<FileSurvey>& files) {
  out << "file,station,role,name,code,kind,flag,hz_rad,v_rad,sd_m,hd_m,dh_m,th_m,x_m,y_m,"
         "z_m,ih_m,temperature_c,pressure_hpa\r\n";
  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      const std::string station = setup.station ? setup.station->name : std::string();
      if (setup.station) {
        WriteRow(out, file.path, station, *setup.station);
      }
      for (const SurveyPoint& observation : setup.observations) {
        WriteRow(out, file.path, station, observation);
      }
    }
  }
}

}  // namespace m5host
